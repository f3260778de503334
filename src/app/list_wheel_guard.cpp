// The application-wide wheel filter for drop-down lists.
#include "app/list_wheel_guard.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QPointer>

namespace quelro {
namespace {

// A wheel over a list with Qt's default policy would first give it the focus.
void TakeFocusOnlyByClickOrTab(QComboBox* list) {
    if (list->focusPolicy() == Qt::WheelFocus) list->setFocusPolicy(Qt::StrongFocus);
}

class ListWheelGuard : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Every widget is polished before it is first shown.
        if (event->type() == QEvent::Polish) {
            if (auto* list = qobject_cast<QComboBox*>(watched)) TakeFocusOnlyByClickOrTab(list);
        } else if (event->type() == QEvent::Wheel) {
            auto* list = qobject_cast<QComboBox*>(watched);
            if (list != nullptr && !list->hasFocus()) {
                // Ignored, the wheel travels on to the list's parents.
                event->ignore();
                return true;
            }
        }
        return false;
    }
};

} // namespace

void GuardListsFromStrayWheel() {
    static QPointer<ListWheelGuard> guard;
    if (guard != nullptr || qApp == nullptr) return;
    guard = new ListWheelGuard(qApp);
    qApp->installEventFilter(guard);
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* list = qobject_cast<QComboBox*>(widget)) TakeFocusOnlyByClickOrTab(list);
}

} // namespace quelro
