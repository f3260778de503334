// The accessible interfaces of the auxiliary windows and the drop-down lists;
// the menus' are in accessible_menu.
#include "windows/accessible_names.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "channels/announcement_qt.h"
#include "windows/accessible_menu.h"
#include "windows/aux_window.h"

namespace quelro {
namespace {

// An auxiliary window is a plain top-level widget, which a reader would call
// a "filler"; it is a dialog over the main window.
class AccessibleDialog : public QAccessibleWidget {
  public:
    explicit AccessibleDialog(QWidget* window) : QAccessibleWidget(window, QAccessible::Dialog) {}
};

class StatusLine : public QWidget {
  public:
    using QWidget::QWidget;
};

// A drop-down list named by the label whose buddy it is; the list's own
// interface on Linux would name it by its entry. The entry stays its value,
// and the popup list stays its child, so a reader can go through the entries.
// A list without an edit field shows its entry as its text too: that is
// where a reader looks for the value of a closed list (Qt 6.4 offers no
// selection of the popup's entries over AT-SPI).
class AccessibleList : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit AccessibleList(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {
        // Arrowing through a closed list changes its entry without a word
        // from the reader, which hears no change of name or selection; the
        // new entry is spoken. (An open popup speaks its own entries.)
        QObject::connect(list, &QComboBox::currentIndexChanged, list, [list] {
            if (!list->hasFocus() || list->view()->isVisible()) return;
            // A question the change raises (the band's) is heard first; the
            // entry that then stands is for the command that asked to tell.
            QTimer::singleShot(0, list, [list] {
                if (QApplication::activeModalWidget() == nullptr && list->hasFocus())
                    Announce(list, list->currentText());
            });
        });
    }

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name:
            if (!list()->accessibleName().isEmpty()) return list()->accessibleName();
            if (const QLabel* label = Label()) return NameOfLabel(label->text());
            return list()->currentText();
        case QAccessible::Value:
            return list()->currentText();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = list()->view()->isVisible();
        s.editable = list()->isEditable();
        return s;
    }

    int childCount() const override { return list()->isEditable() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override {
        if (index == 0) return QAccessible::queryAccessibleInterface(list()->view());
        if (index == 1 && list()->isEditable())
            return QAccessible::queryAccessibleInterface(list()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr) return -1;
        if (child->object() == list()->view()) return 0;
        if (list()->isEditable() && child->object() == list()->lineEdit()) return 1;
        return -1;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface && !list()->isEditable())
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The text interface: the current entry, read only, without a caret.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override {
        const QString entry = list()->currentText();
        if (end < 0 || end > entry.size()) end = static_cast<int>(entry.size());
        return start >= 0 && start <= end ? entry.mid(start, end - start) : QString();
    }
    int characterCount() const override { return static_cast<int>(list()->currentText().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction()) {
            if (list()->view()->isVisible())
                list()->hidePopup();
            else
                list()->showPopup();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

  private:
    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }

    const QLabel* Label() const {
        const QWidget* parent = list()->parentWidget();
        if (parent == nullptr) return nullptr;
        for (const QObject* child : parent->children())
            if (const auto* label = qobject_cast<const QLabel*>(child))
                if (label->buddy() == list()) return label;
        return nullptr;
    }
};

// The viewport of a list or table, where an editor opens: Qt's table
// interface counts only cells, headers and a pane among its children, and
// warns of any other child a reader asks about (the viewport as a plain
// widget, each time an editor shows). As a pane it is counted.
bool IsItemViewport(const QObject* object) {
    return object->objectName() == QLatin1String("qt_scrollarea_viewport") &&
           qobject_cast<const QAbstractItemView*>(object->parent()) != nullptr;
}

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (auto* window = qobject_cast<AuxWindow*>(object)) return new AccessibleDialog(window);
    if (auto* list = qobject_cast<QComboBox*>(object)) return new AccessibleList(list);
    if (auto* line = dynamic_cast<StatusLine*>(object))
        return new QAccessibleWidget(line, QAccessible::StatusBar);
    if (className == QLatin1String("QWidget") && IsItemViewport(object))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Pane);
    return nullptr;
}

} // namespace

void InstallAccessibleInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        QAccessible::installFactory(MenuAccessible);
        return true;
    }();
    (void)installed;
}

QWidget* NewStatusLine(QWidget* parent) {
    return new StatusLine(parent);
}

QString WithoutAccessKeys(const QString& caption) {
    QString text;
    // "&&" is a literal ampersand, a single "&" marks the access key.
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) ++i;
        text += caption[i];
    }
    return text;
}

QString NameOfLabel(const QString& labelText) {
    QString name = WithoutAccessKeys(labelText).trimmed();
    while (name.endsWith(QLatin1Char(':')) || name.endsWith(QChar(0xFF1A))) name.chop(1);
    return name.trimmed();
}

void SetAccessibleName(QWidget* control, const Caption& name, int languageMode) {
    if (auto text = CaptionFor(name, languageMode)) control->setAccessibleName(FromUtf8(*text));
}

void SetAccessibleDescription(QWidget* control, const Caption& description, int languageMode) {
    if (auto text = CaptionFor(description, languageMode))
        control->setAccessibleDescription(FromUtf8(*text));
}

} // namespace quelro
