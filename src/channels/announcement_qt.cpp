// The notification object behind Announce: a child of the window without
// size or focus, whose accessible interface is a notification named by the
// last text.
#include "channels/announcement_qt.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace quelro {
namespace {

constexpr const char* kObjectName = "quelroAnnouncement";

// The longest an announcement waits for its window to become active.
constexpr int kSettleMs = 1000;

class AnnouncementBox : public QWidget {
  public:
    explicit AnnouncementBox(QWidget* window) : QWidget(window) {
        setObjectName(QLatin1String(kObjectName));
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFixedSize(0, 0);
        window->installEventFilter(this);
    }

    // Tells a reader of the text now, or - while the window is not active
    // (a box has just closed and the window manager has yet to hand the
    // window back) - once it is active and its focus is set again: a reader
    // speaks the window and its focus then, over anything said before. A
    // second at the latest; a newer text waiting goes out in its place.
    void Tell() {
        if (window()->isActiveWindow()) {
            Show();
            return;
        }
        if (waiting_) return;
        waiting_ = true;
        QTimer::singleShot(kSettleMs, this, [this] { ShowWaiting(); });
    }

    // A text waits to be told; till then the notification does not show.
    bool Waiting() const { return waiting_; }

    QString text;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The window's focus is set after its activation is handled.
        if (waiting_ && watched == window() && event->type() == QEvent::WindowActivate)
            QTimer::singleShot(0, this, [this] { ShowWaiting(); });
        return QWidget::eventFilter(watched, event);
    }

  private:
    void ShowWaiting() {
        if (waiting_) Show();
    }
    void Show() {
        waiting_ = false;
        QAccessibleEvent named(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&named);
        QAccessibleEvent shown(this, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    }

    bool waiting_ = false;
};

class AnnouncementAccessible : public QAccessibleWidget {
  public:
    explicit AnnouncementAccessible(AnnouncementBox* box)
        : QAccessibleWidget(box, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? box()->text : QString();
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (box()->Waiting()) s.invisible = true;
        return s;
    }

  private:
    const AnnouncementBox* box() const { return static_cast<const AnnouncementBox*>(widget()); }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (auto* box = dynamic_cast<AnnouncementBox*>(object)) return new AnnouncementAccessible(box);
    return nullptr;
}

AnnouncementBox* BoxOf(const QWidget* anywhere) {
    if (anywhere == nullptr) return nullptr;
    return dynamic_cast<AnnouncementBox*>(anywhere->window()->findChild<QWidget*>(
        QLatin1String(kObjectName), Qt::FindDirectChildrenOnly));
}

} // namespace

void Announce(QWidget* anywhere, const QString& text) {
    if (anywhere == nullptr || text.isEmpty()) return;
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
    AnnouncementBox* box = BoxOf(anywhere);
    if (box == nullptr) {
        box = new AnnouncementBox(anywhere->window());
        box->show();
    }
    box->text = text;
    box->Tell();
}

QString LastAnnouncement(const QWidget* anywhere) {
    const AnnouncementBox* box = BoxOf(anywhere);
    return box != nullptr ? box->text : QString();
}

} // namespace quelro
