// Drawings of the radio for the key-setting window and the about box.
#include "windows/radio_picture.h"

#include <QPainter>
#include <QPainterPath>

namespace quelro {
namespace {

const QColor kBody(0x3a, 0x3f, 0x47);
const QColor kBodyEdge(0x1f, 0x23, 0x28);
const QColor kKey(0xe0, 0x8a, 0x1e);
const QColor kKeyEdge(0x8a, 0x52, 0x0c);
const QColor kPtt(0x55, 0x5c, 0x66);
const QColor kScreen(0x9f, 0xc8, 0x9a);

} // namespace

RadioPicture::RadioPicture(Kind kind, const char* objectName, QWidget* parent)
    : QWidget(parent), kind_(kind) {
    setObjectName(QString::fromLatin1(objectName));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFixedSize(sizeHint());
}

QSize RadioPicture::sizeHint() const {
    switch (kind_) {
    case Kind::SideKeys:
        return {150, 230};
    case Kind::Front:
        return {64, 112};
    case Kind::Waves:
        return {64, 64};
    }
    return {64, 64};
}

void RadioPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (kind_) {
    case Kind::SideKeys:
        DrawSideKeys(painter);
        break;
    case Kind::Front:
        DrawFront(painter);
        break;
    case Kind::Waves:
        DrawWaves(painter);
        break;
    }
}

// The radio seen from its left side: antenna, body, the push-to-talk bar and
// below it the two programmable keys, each with its name beside it.
void RadioPicture::DrawSideKeys(QPainter& painter) const {
    const QRectF body(70, 40, 46, 180);
    painter.setPen(QPen(kBodyEdge, 1.5));
    painter.setBrush(kBodyEdge);
    painter.drawRoundedRect(QRectF(84, 6, 10, 40), 4, 4); // antenna
    painter.setBrush(kBody);
    painter.drawRoundedRect(body, 10, 10);

    painter.setBrush(kPtt);
    const QRectF ptt(62, 78, 10, 46);
    painter.drawRoundedRect(ptt, 4, 4);

    const QRectF pf1(62, 134, 10, 20);
    const QRectF pf2(62, 160, 10, 20);
    painter.setPen(QPen(kKeyEdge, 1.5));
    painter.setBrush(kKey);
    painter.drawRoundedRect(pf1, 3, 3);
    painter.drawRoundedRect(pf2, 3, 3);

    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRectF pttName(0, ptt.top(), 56, ptt.height());
    painter.drawText(pttName, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("PTT"));
    painter.setPen(kKeyEdge);
    painter.drawText(QRectF(0, pf1.top(), 56, pf1.height()), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("PF1"));
    painter.drawText(QRectF(0, pf2.top(), 56, pf2.height()), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("PF2"));
}

// The radio seen from the front: antenna, knob, a small screen and the speaker.
void RadioPicture::DrawFront(QPainter& painter) const {
    painter.setPen(QPen(kBodyEdge, 1.5));
    painter.setBrush(kBodyEdge);
    painter.drawRoundedRect(QRectF(14, 2, 8, 34), 3, 3);   // antenna
    painter.drawRoundedRect(QRectF(40, 14, 12, 14), 3, 3); // knob
    painter.setBrush(kBody);
    painter.drawRoundedRect(QRectF(8, 26, 48, 84), 8, 8);
    painter.setBrush(kScreen);
    painter.drawRoundedRect(QRectF(16, 36, 32, 18), 2, 2);
    painter.setPen(QPen(kBodyEdge.lighter(250), 2));
    for (int y = 64; y <= 98; y += 6) painter.drawLine(QPointF(18, y), QPointF(46, y));
}

// Three arcs spreading from a point: the mark of a radio signal.
void RadioPicture::DrawWaves(QPainter& painter) const {
    const QPointF centre(10, height() / 2.0);
    painter.setBrush(kKey);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(centre, 5, 5);
    painter.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 3; ++i) {
        painter.setPen(QPen(i == 3 ? kKeyEdge : kKey, 3, Qt::SolidLine, Qt::RoundCap));
        const double r = 12.0 * i;
        painter.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
    }
}

} // namespace quelro
