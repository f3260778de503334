// The channel sheet placed on one page: every text at its position with the
// glyphs of the embedded font, and the table rules and shadings. The PDF
// writer and the window's printing both draw this one layout, so the paper
// from the printer and the PDF file look the same.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "files/print_sheet.h"
#include "files/truetype_font.h"

namespace quelro {

// Positions in points from the page's top left corner.
struct PlacedText {
    double x = 0;
    double baseline = 0;
    double size = 0;                   // points per em
    std::vector<std::uint16_t> glyphs; // in the subset font
    std::vector<double> offsets;       // of each glyph from x
    std::string text;                  // the text, for searching and reading back
};

struct Shade {
    double x, y, width, height;
    double gray; // 0 black .. 1 white
};

struct Rule {
    double x1, y1, x2, y2;
    double width;
    double gray;
};

struct PrintedPage {
    double width = 0;
    double height = 0;
    std::vector<Shade> shades; // drawn first
    std::vector<Rule> rules;
    std::vector<PlacedText> texts;
    TrueTypeFont::Subset font;
    std::string fontName;          // the face's PostScript name
    std::vector<char32_t> missing; // characters of the sheet the font has no glyph for
    std::vector<int> advances;     // of each subset glyph, in font units
    int unitsPerEm = 1000;
    int ascent = 0;           // font units
    int descent = 0;          // font units, positive
    std::array<int, 4> box{}; // the font's glyph bounds, font units
};

// Lays the sheet out on one page of the paper: when the tables would not fit
// at the normal sizes, every size shrinks alike until they do.
PrintedPage LayOutSheet(const Sheet& sheet, const TrueTypeFont& font, Paper paper);

} // namespace quelro
