// The accessible interfaces of the auxiliary windows and the drop-down lists.
#include "windows/accessible_names.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "windows/aux_window.h"

namespace quelro {
namespace {

// An auxiliary window is a plain top-level widget, which a reader would call
// a "filler"; it is a dialog over the main window.
class AccessibleDialog : public QAccessibleWidget {
  public:
    explicit AccessibleDialog(QWidget* window) : QAccessibleWidget(window, QAccessible::Dialog) {}
};

// A drop-down list named by the label whose buddy it is; the list's own
// interface on Linux would name it by its entry. The entry stays its value,
// and the popup list stays its child, so a reader can go through the entries.
class AccessibleList : public QAccessibleWidget {
  public:
    explicit AccessibleList(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

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

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (auto* window = qobject_cast<AuxWindow*>(object)) return new AccessibleDialog(window);
    if (auto* list = qobject_cast<QComboBox*>(object)) return new AccessibleList(list);
    return nullptr;
}

} // namespace

void InstallAccessibleInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

QString NameOfLabel(const QString& labelText) {
    QString name;
    // "&&" is a literal ampersand, a single "&" marks the access key.
    for (qsizetype i = 0; i < labelText.size(); ++i) {
        if (labelText[i] == QLatin1Char('&') && i + 1 < labelText.size()) ++i;
        name += labelText[i];
    }
    name = name.trimmed();
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
