// The notification object behind Announce: a child of the window without
// size or focus, whose accessible interface is a notification named by the
// last text.
#include "channels/announcement_qt.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace quelro {
namespace {

constexpr const char* kObjectName = "quelroAnnouncement";

class AnnouncementBox : public QWidget {
  public:
    explicit AnnouncementBox(QWidget* window) : QWidget(window) {
        setObjectName(QLatin1String(kObjectName));
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFixedSize(0, 0);
    }
    QString text;
};

class AnnouncementAccessible : public QAccessibleWidget {
  public:
    explicit AnnouncementAccessible(AnnouncementBox* box)
        : QAccessibleWidget(box, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? static_cast<AnnouncementBox*>(widget())->text : QString();
    }
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
    QAccessibleEvent named(box, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleEvent shown(box, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

QString LastAnnouncement(const QWidget* anywhere) {
    const AnnouncementBox* box = BoxOf(anywhere);
    return box != nullptr ? box->text : QString();
}

} // namespace quelro
