// A TrueType face (a .ttf file, or one face of a .ttc collection) as the
// channel sheet needs it: glyphs of characters, their advance widths, and a
// font of only the glyphs a sheet uses, to embed in its PDF and to draw the
// printed page with. Every read is checked against the file's size, so a
// damaged font is refused, never read beyond its end.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quelro {

// The CJK font the sheet is set in (Debian's fonts-wqy-microhei).
inline constexpr const char* kSheetFontPath = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

// The copy of that font shipped beside the program (the Windows build carries
// it in share/quelro/fonts), or empty when there is none.
std::string ShippedSheetFont();
// The font the sheet is set in: the shipped copy, else kSheetFontPath.
std::string SheetFontFile();

class TrueTypeFont {
  public:
    // Reads face `face` of a font file's bytes; nullopt when they are not a
    // TrueType font with glyph outlines, a character map and metrics.
    static std::optional<TrueTypeFont> FromBytes(std::string bytes, int face = 0);

    struct Loaded;
    // Face 0 of a font file.
    static Loaded FromFile(const std::string& path);

    int UnitsPerEm() const { return unitsPerEm_; }
    int Ascent() const { return ascent_; }   // font units above the baseline
    int Descent() const { return descent_; } // font units below it, as a positive number
    // xMin, yMin, xMax, yMax of every glyph, font units.
    std::array<int, 4> BoundingBox() const { return box_; }
    // The glyph of a character; 0 (the missing glyph) when the font has none.
    std::uint16_t Glyph(char32_t codePoint) const;
    // Advance width in font units.
    int Advance(std::uint16_t glyph) const;
    // The face's PostScript name (name 6 of its naming table), letters,
    // digits and '-' only; empty when it has none.
    std::string PostScriptName() const;

    // A font of the glyphs used, numbered anew: glyph 0 stays the missing
    // glyph, then `used` in its order (each glyph once, the components of
    // composite glyphs appended). Its character map takes each used
    // character to its new number.
    struct Subset {
        std::string bytes;                 // a .ttf file
        std::vector<std::uint16_t> glyphs; // old glyph of each new one
        std::vector<char32_t> characters;  // the character each new glyph shows (0: none)
        std::uint16_t NewGlyph(std::uint16_t old) const;
    };
    Subset MakeSubset(const std::vector<char32_t>& used) const;

  private:
    struct Table {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    TrueTypeFont() = default;
    bool Read(int face);
    std::optional<Table> Find(const char* tag) const;
    std::string Bytes(const Table& table) const;
    // The outline of a glyph as stored; empty for a glyph without one.
    std::string GlyphData(std::uint16_t glyph) const;
    std::uint16_t GlyphFormat4(char32_t codePoint) const;
    std::uint16_t GlyphFormat12(char32_t codePoint) const;

    std::string data_;
    std::vector<std::pair<std::string, Table>> tables_;
    int unitsPerEm_ = 1000;
    int ascent_ = 0;
    int descent_ = 0;
    std::array<int, 4> box_{};
    int glyphCount_ = 0;
    int metricsCount_ = 0;
    bool longOffsets_ = false;
    std::uint32_t cmapSubtable_ = 0; // offset of the Unicode subtable in data_
    int cmapFormat_ = 0;             // 4 or 12
};

struct TrueTypeFont::Loaded {
    std::optional<TrueTypeFont> font;
    std::string error; // when there is no font: why, in English
};

} // namespace quelro
