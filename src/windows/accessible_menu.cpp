// The accessible interfaces of a menu and its items. Qt's own menu builds
// its items itself, one interface per action, so the menu is replaced as a
// whole. An item's interface is kept per action (Qt's cache); an action in
// two menus (the Edit menu and the grid's context menu) belongs to the one on
// screen.
#include "windows/accessible_menu.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStyle>
#include <QWindow>

#include "windows/accessible_names.h"

namespace quelro {
namespace {

// A menu's or the menu bar's entry: its action's caption, check mark,
// shortcut and enabled state, its submenu as its only child, and the action
// or the submenu to open as what a reader can do with it.
class AccessibleMenuItem : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    AccessibleMenuItem(QWidget* owner, QAction* action) : action_(action), owner_(owner) {}

    bool isValid() const override { return action_ != nullptr && owner_ != nullptr; }
    QObject* object() const override { return action_; }
    QWindow* window() const override {
        QWidget* owner = Owner();
        return owner != nullptr ? owner->window()->windowHandle() : nullptr;
    }

    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(Owner());
    }
    int childCount() const override { return action_->menu() != nullptr ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 && action_->menu() != nullptr
                   ? QAccessible::queryAccessibleInterface(action_->menu())
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && action_->menu() != nullptr && child->object() == action_->menu()
                   ? 0
                   : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAccessibleInterface* submenu = child(0);
        return submenu != nullptr && submenu->rect().contains(x, y) ? submenu : nullptr;
    }

    QRect rect() const override {
        if (auto* bar = qobject_cast<QMenuBar*>(Owner()))
            return bar->actionGeometry(action_).translated(bar->mapToGlobal(QPoint(0, 0)));
        if (auto* menu = qobject_cast<QMenu*>(Owner()))
            return menu->actionGeometry(action_).translated(menu->mapToGlobal(QPoint(0, 0)));
        return {};
    }

    QAccessible::Role role() const override {
        if (action_->isSeparator()) return QAccessible::Separator;
        // The bridge turns a check box into AT-SPI's check box, whose
        // state a reader always says; a menu item's only when it is set.
        return action_->isCheckable() ? QAccessible::CheckBox : QAccessible::MenuItem;
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        QWidget* owner = Owner();
        if (owner == nullptr) {
            s.invalid = true;
            return s;
        }
        if (!owner->testAttribute(Qt::WA_WState_Visible) || !action_->isVisible())
            s.invisible = true;
        if (auto* menu = qobject_cast<QMenu*>(owner))
            s.focused = menu->activeAction() == action_;
        else if (auto* bar = qobject_cast<QMenuBar*>(owner))
            s.focused = bar->activeAction() == action_;
        s.hotTracked = owner->style()->styleHint(QStyle::SH_Menu_MouseTracking) != 0;
        s.disabled = action_->isSeparator() || !action_->isEnabled();
        s.checkable = action_->isCheckable();
        s.checked = action_->isChecked();
        return s;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return WithoutAccessKeys(action_->text());
        if (t == QAccessible::Accelerator && !action_->shortcut().isEmpty())
            return action_->shortcut().toString();
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override {
        if (action_ == nullptr || action_->isSeparator()) return {};
        return {action_->menu() != nullptr ? showMenuAction() : pressAction()};
    }
    void doAction(const QString& name) override {
        if (!action_->isEnabled()) return;
        if (name == pressAction()) {
            action_->trigger();
        } else if (name == showMenuAction() && action_->menu() != nullptr) {
            if (action_->menu()->isVisible())
                action_->menu()->hide();
            else if (auto* bar = qobject_cast<QMenuBar*>(Owner()))
                bar->setActiveAction(action_);
            else if (auto* menu = qobject_cast<QMenu*>(Owner()))
                menu->setActiveAction(action_);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    // The menu on screen that shows the action, else the menu or menu bar
    // the interface was made for.
    QWidget* Owner() const {
        if (action_ == nullptr) return owner_;
        for (QObject* shown : action_->associatedObjects())
            if (auto* menu = qobject_cast<QMenu*>(shown); menu != nullptr && menu->isVisible())
                return menu;
        return owner_;
    }

    QPointer<QAction> action_;
    QPointer<QWidget> owner_;
};

// The interface of `action` as an entry of `owner`, made on first use.
QAccessibleInterface* EntryOf(QWidget* owner, QAction* action) {
    if (QAccessibleInterface* known = QAccessible::queryAccessibleInterface(action)) return known;
    QAccessibleInterface* entry = new AccessibleMenuItem(owner, action);
    QAccessible::registerAccessibleInterface(entry);
    // A check mark moves while its menu is closed (another port chosen, the
    // language switched); a reader that keeps the item's state learns of it.
    QObject::connect(action, &QAction::toggled, action, [action] {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(action, changed);
        QAccessible::updateAccessibility(&event);
    });
    return entry;
}

class AccessibleMenu : public QAccessibleWidget {
  public:
    explicit AccessibleMenu(QMenu* menu) : QAccessibleWidget(menu, QAccessible::PopupMenu) {}

    int childCount() const override { return static_cast<int>(menu()->actions().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QAction*> actions = menu()->actions();
        return index >= 0 && index < actions.size() ? EntryOf(menu(), actions.at(index)) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr) return -1;
        return static_cast<int>(menu()->actions().indexOf(qobject_cast<QAction*>(child->object())));
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAction* action = menu()->actionAt(menu()->mapFromGlobal(QPoint(x, y)));
        return action != nullptr && !action->isSeparator() ? EntryOf(menu(), action) : nullptr;
    }

    QString text(QAccessible::Text t) const override {
        const QString own = QAccessibleWidget::text(t);
        return own.isEmpty() && t == QAccessible::Name ? menu()->windowTitle() : own;
    }

    // A submenu hangs below its entry in the menu or menu bar that opens it.
    QAccessibleInterface* parent() const override {
        if (QAction* opener = menu()->menuAction()) {
            QList<QObject*> candidates{menu()->parentWidget()};
            candidates += opener->associatedObjects();
            for (QObject* candidate : candidates) {
                if (qobject_cast<QMenu*>(candidate) == nullptr &&
                    qobject_cast<QMenuBar*>(candidate) == nullptr)
                    continue;
                auto* owner = static_cast<QWidget*>(candidate);
                if (owner->actions().contains(opener)) return EntryOf(owner, opener);
            }
        }
        return QAccessibleWidget::parent();
    }

  private:
    QMenu* menu() const { return static_cast<QMenu*>(widget()); }
};

} // namespace

QAccessibleInterface* MenuAccessible(const QString&, QObject* object) {
    if (auto* menu = qobject_cast<QMenu*>(object)) return new AccessibleMenu(menu);
    return nullptr;
}

} // namespace quelro
