// TranslateForm: converts one window's visible texts to Traditional Chinese,
// one property per widget type, after the Simplified captions are in place.
#include "i18n/translate_form_qt.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolBar>
#include <QWidget>

#include "i18n/traditional.h"

namespace quelro {
namespace {

QString Converted(const QString& text) {
    return QString::fromStdString(ToTraditional(text.toStdString()));
}

// Menu entries (menus and their items) are the actions shown in a menu or the
// menu bar; the actions behind tool bar buttons keep their texts.
bool IsMenuEntry(const QAction* action) {
    for (const QObject* owner : action->associatedObjects())
        if (qobject_cast<const QMenu*>(owner) || qobject_cast<const QMenuBar*>(owner)) return true;
    return false;
}

// What a reader says of a table's cell ("接收频率, 01") goes with the
// header row; the cell's own text stays as it is.
void ConvertCellDescriptions(QTableWidget* table) {
    for (int r = 0; r < table->rowCount(); ++r) {
        for (int c = 0; c < table->columnCount(); ++c) {
            QTableWidgetItem* item = table->item(r, c);
            if (item == nullptr) continue;
            const QString description = item->data(Qt::AccessibleDescriptionRole).toString();
            if (!description.isEmpty())
                item->setData(Qt::AccessibleDescriptionRole, Converted(description));
        }
    }
}

void ConvertHeaderRow(QTableView* grid) {
    if (auto* table = qobject_cast<QTableWidget*>(grid)) {
        for (int c = 0; c < table->columnCount(); ++c)
            if (QTableWidgetItem* item = table->horizontalHeaderItem(c))
                item->setText(Converted(item->text()));
        ConvertCellDescriptions(table);
        return;
    }
    QAbstractItemModel* model = grid->model();
    if (model == nullptr) return;
    for (int c = 0; c < model->columnCount(); ++c)
        model->setHeaderData(c, Qt::Horizontal,
                             Converted(model->headerData(c, Qt::Horizontal).toString()));
}

// One object of the window; the types are tried in a fixed order and the
// first that matches decides what is converted.
void ConvertObject(QObject* object) {
    if (auto* label = qobject_cast<QLabel*>(object)) {
        label->setText(Converted(label->text()));
    } else if (auto* radio = qobject_cast<QRadioButton*>(object)) {
        radio->setText(Converted(radio->text()));
    } else if (auto* action = qobject_cast<QAction*>(object)) {
        if (IsMenuEntry(action)) action->setText(Converted(action->text()));
    } else if (auto* frame = qobject_cast<QGroupBox*>(object)) {
        frame->setTitle(Converted(frame->title()));
    } else if (auto* toolbar = qobject_cast<QToolBar*>(object)) {
        toolbar->setToolTip(Converted(toolbar->toolTip()));
    } else if (auto* combo = qobject_cast<QComboBox*>(object)) {
        for (int i = 0; i < combo->count(); ++i)
            combo->setItemText(i, Converted(combo->itemText(i)));
    } else if (auto* grid = qobject_cast<QTableView*>(object)) {
        ConvertHeaderRow(grid);
    } else if (auto* button = qobject_cast<QPushButton*>(object)) {
        button->setText(Converted(button->text()));
    } else if (auto* check = qobject_cast<QCheckBox*>(object)) {
        check->setText(Converted(check->text()));
    }
}

// What a screen reader says of a widget goes along with what it shows.
void ConvertAccessibleTexts(QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) return;
    if (!widget->accessibleName().isEmpty())
        widget->setAccessibleName(Converted(widget->accessibleName()));
    if (!widget->accessibleDescription().isEmpty())
        widget->setAccessibleDescription(Converted(widget->accessibleDescription()));
}

// Children in creation order, each followed by its own children. A child
// that is a window of its own (another form owned by this one) is not part
// of this window; menus and drop-down lists, which are popups, are.
void ConvertChildren(QObject* parent) {
    for (QObject* child : parent->children()) {
        ConvertObject(child);
        ConvertAccessibleTexts(child);
        const auto* widget = qobject_cast<const QWidget*>(child);
        if (widget != nullptr && widget->isWindow() && widget->windowType() != Qt::Popup) continue;
        ConvertChildren(child);
    }
}

} // namespace

void TranslateForm(QWidget* window) {
    if (window != nullptr) ConvertChildren(window);
}

} // namespace quelro
