// Placing the channel sheet on its page: the title lines, the channel table
// across the page, and below it three columns of setting tables.
#include "files/sheet_layout.h"

#include <algorithm>
#include <numeric>
#include <set>

namespace quelro {
namespace {

constexpr double kMargin = 36; // half an inch
constexpr double kGap = 12;    // between the columns of setting tables

// Code points of a UTF-8 text; a malformed byte stands for itself.
std::u32string CodePoints(const std::string& utf8) {
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
        bool whole = i + extra < utf8.size();
        for (std::size_t k = 1; whole && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            whole = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!whole) {
            out += lead;
            ++i;
            continue;
        }
        out += cp;
        i += extra + 1;
    }
    return out;
}

struct Pending {
    double x, baseline, size;
    std::u32string characters;
    std::string text;
};

// One attempt at a scale of every size; Fits tells whether the page held it.
class Layout {
  public:
    Layout(const TrueTypeFont& font, PaperSize paper, double scale)
        : font_(font), paper_(paper), scale_(scale) {}

    bool Run(const Sheet& sheet);
    PrintedPage Finish() const;

  private:
    double Width(const std::string& text, double size) const {
        int units = 0;
        for (char32_t c : CodePoints(text)) units += font_.Advance(font_.Glyph(c));
        return units * size / font_.UnitsPerEm();
    }
    void Text(double x, double baseline, double size, const std::string& text) {
        if (!text.empty()) texts_.push_back({x, baseline, size, CodePoints(text), text});
    }
    // Column widths that hold every cell with its padding.
    std::vector<double> Natural(const SheetTable& table, double size) const;
    // Draws a table with its title from `top`; returns its bottom.
    double Table(const SheetTable& table, double x, double top, const std::vector<double>& widths,
                 double size);

    const TrueTypeFont& font_;
    PaperSize paper_;
    double scale_;
    std::vector<Pending> texts_;
    std::vector<Shade> shades_;
    std::vector<Rule> rules_;
};

std::vector<double> Layout::Natural(const SheetTable& table, double size) const {
    const double pad = 4 * scale_;
    std::vector<double> widths;
    const auto measure = [&](const std::vector<std::string>& row) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], Width(row[c], size) + 2 * pad);
    };
    measure(table.header);
    for (const auto& row : table.rows) measure(row);
    return widths;
}

double Layout::Table(const SheetTable& table, double x, double top,
                     const std::vector<double>& widths, double size) {
    const double pad = 4 * scale_;
    const double rowHeight = size * 1.55;
    const double units = font_.UnitsPerEm();
    // The baseline that centres the font's ascent and descent in a row.
    const double lift = (rowHeight - (font_.Ascent() + font_.Descent()) * size / units) / 2 +
                        font_.Ascent() * size / units;
    double y = top;
    if (!table.title.empty()) {
        const double titleSize = size * 1.15;
        Text(x, y + titleSize, titleSize, table.title);
        y += titleSize * 1.5;
    }
    const double width = std::accumulate(widths.begin(), widths.end(), 0.0);
    const double tableTop = y;
    const auto row = [&](const std::vector<std::string>& cells, double gray) {
        if (gray < 1) shades_.push_back({x, y, width, rowHeight, gray});
        double cx = x;
        for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c) {
            Text(cx + pad, y + lift, size, cells[c]);
            cx += widths[c];
        }
        y += rowHeight;
        rules_.push_back({x, y, x + width, y, 0.4, 0.6});
    };
    if (!table.header.empty()) row(table.header, 0.85);
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const bool labelled = table.header.empty();
        row(table.rows[r], r % 2 == 1 ? 0.95 : labelled ? 0.985 : 1.0);
    }
    // The frame and the lines between columns.
    rules_.push_back({x, tableTop, x + width, tableTop, 0.6, 0.4});
    rules_.push_back({x, y, x + width, y, 0.6, 0.4});
    double cx = x;
    for (std::size_t c = 0; c <= widths.size(); ++c) {
        const bool edge = c == 0 || c == widths.size();
        rules_.push_back({cx, tableTop, cx, y, edge ? 0.6 : 0.4, edge ? 0.4 : 0.6});
        if (c < widths.size()) cx += widths[c];
    }
    return y;
}

bool Layout::Run(const Sheet& sheet) {
    const double s = scale_;
    const double left = kMargin;
    const double right = paper_.width - kMargin;
    const double usable = right - left;

    double y = kMargin + 15 * s;
    Text(left, y, 15 * s, sheet.title);
    Text(right - Width(sheet.date, 10 * s), y, 10 * s, sheet.date);
    y += 17 * s;
    Text(left, y, 10 * s, sheet.band);
    y += 10 * s;

    // The channels across the page: what is left over widens the columns
    // after the channel number alike.
    const double channelSize = 9 * s;
    std::vector<double> widths = Natural(sheet.channels, channelSize);
    const double natural = std::accumulate(widths.begin(), widths.end(), 0.0);
    if (natural > usable) return false;
    for (std::size_t c = 1; c < widths.size(); ++c)
        widths[c] += (usable - natural) / static_cast<double>(widths.size() - 1);
    y = Table(sheet.channels, left, y, widths, channelSize) + 14 * s;

    // Three columns of setting tables; each column's tables are as wide as
    // the column, and the columns share what is left over.
    const double settingSize = 8 * s;
    std::vector<std::vector<const SheetTable*>> columns{
        {}, {&sheet.optionalFunctions}, {&sheet.testFrequencies}};
    for (const SheetTable& table : sheet.firstColumn) columns[0].push_back(&table);
    std::vector<std::vector<std::vector<double>>> columnWidths(columns.size());
    std::vector<double> columnWidth(columns.size(), 0);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        for (const SheetTable* table : columns[c]) {
            columnWidths[c].push_back(Natural(*table, settingSize));
            const auto& w = columnWidths[c].back();
            columnWidth[c] = std::max(columnWidth[c], std::accumulate(w.begin(), w.end(), 0.0));
        }
    }
    const double gaps = kGap * s * static_cast<double>(columns.size() - 1);
    const double used = std::accumulate(columnWidth.begin(), columnWidth.end(), 0.0) + gaps;
    if (used > usable) return false;
    double x = left;
    double bottom = y;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        columnWidth[c] += (usable - used) / static_cast<double>(columns.size());
        double top = y;
        for (std::size_t t = 0; t < columns[c].size(); ++t) {
            std::vector<double>& w = columnWidths[c][t];
            // The last column of a table takes what the column has over.
            w.back() += columnWidth[c] - std::accumulate(w.begin(), w.end(), 0.0);
            top = Table(*columns[c][t], x, top, w, settingSize) + 8 * s;
        }
        bottom = std::max(bottom, top);
        x += columnWidth[c] + kGap * s;
    }
    return bottom <= paper_.height - kMargin;
}

PrintedPage Layout::Finish() const {
    PrintedPage page;
    page.width = paper_.width;
    page.height = paper_.height;
    page.shades = shades_;
    page.rules = rules_;
    std::vector<char32_t> used;
    std::set<char32_t> seen;
    for (const Pending& text : texts_)
        for (char32_t c : text.characters)
            if (seen.insert(c).second) used.push_back(c);
    page.font = font_.MakeSubset(used);
    page.fontName = font_.PostScriptName();
    for (char32_t c : used)
        if (c > U' ' && font_.Glyph(c) == 0) page.missing.push_back(c);
    for (std::uint16_t old : page.font.glyphs) page.advances.push_back(font_.Advance(old));
    page.unitsPerEm = font_.UnitsPerEm();
    page.ascent = font_.Ascent();
    page.descent = font_.Descent();
    page.box = font_.BoundingBox();
    for (const Pending& pending : texts_) {
        PlacedText text{pending.x, pending.baseline, pending.size, {}, {}, pending.text};
        double offset = 0;
        for (char32_t c : pending.characters) {
            const std::uint16_t glyph = page.font.NewGlyph(font_.Glyph(c));
            text.glyphs.push_back(glyph);
            text.offsets.push_back(offset);
            offset += page.advances[glyph] * pending.size / page.unitsPerEm;
        }
        page.texts.push_back(std::move(text));
    }
    return page;
}

} // namespace

PrintedPage LayOutSheet(const Sheet& sheet, const TrueTypeFont& font, Paper paper) {
    // Each try shrinks every size by 8%; twenty tries reach a fifth of the
    // normal size, where the last try is taken as it is.
    double scale = 1;
    for (int attempt = 0; attempt < 20; ++attempt, scale *= 0.92) {
        Layout layout(font, SizeOf(paper), scale);
        if (layout.Run(sheet)) return layout.Finish();
    }
    Layout layout(font, SizeOf(paper), scale);
    layout.Run(sheet);
    return layout.Finish();
}

} // namespace quelro
