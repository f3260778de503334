// Drawing the channel sheet's layout: shadings, rules, then the texts as
// glyph runs of the embedded font, so nothing is measured or shaped again.
#include "windows/sheet_painter.h"

#include <QByteArray>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

#include <map>

namespace quelro {

void PaintSheetPage(QPainter& painter, const PrintedPage& page, double scale) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Shade& s : page.shades) {
        const int level = static_cast<int>(s.gray * 255 + 0.5);
        painter.fillRect(QRectF(s.x * scale, s.y * scale, s.width * scale, s.height * scale),
                         QColor(level, level, level));
    }
    for (const Rule& r : page.rules) {
        const int level = static_cast<int>(r.gray * 255 + 0.5);
        painter.setPen(QPen(QColor(level, level, level), r.width * scale));
        painter.drawLine(QPointF(r.x1 * scale, r.y1 * scale), QPointF(r.x2 * scale, r.y2 * scale));
    }
    const QByteArray data(page.font.bytes.data(), static_cast<qsizetype>(page.font.bytes.size()));
    std::map<double, QRawFont> fonts; // one per text size
    painter.setPen(Qt::black);
    for (const PlacedText& text : page.texts) {
        auto at = fonts.find(text.size);
        if (at == fonts.end())
            at = fonts.emplace(text.size, QRawFont(data, text.size * scale)).first;
        QVector<quint32> glyphs;
        QVector<QPointF> positions;
        for (std::size_t i = 0; i < text.glyphs.size(); ++i) {
            glyphs << text.glyphs[i];
            positions << QPointF(text.offsets[i] * scale, 0);
        }
        QGlyphRun run;
        run.setRawFont(at->second);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        painter.drawGlyphRun(QPointF(text.x * scale, text.baseline * scale), run);
    }
    painter.restore();
}

} // namespace quelro
