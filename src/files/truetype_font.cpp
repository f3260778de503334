// Reading a TrueType face and writing the subset a sheet embeds.
//
// The subset keeps what a renderer needs of a TrueType font: outlines (glyf,
// loca), metrics (head, hhea, hmtx, maxp), the hinting programs (cvt, fpgm,
// prep, gasp), the names and OS/2 of the original, a character map of the
// used characters and a post table without glyph names.
#include "files/truetype_font.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <utility>

#include "files/file_access.h"
#include "i18n/captions.h"
#include "i18n/data_paths.h"
#include "i18n/unicode_path.h"

namespace quelro {
namespace {

// Big-endian reads; outside the bytes they read 0, so a damaged file gives
// wrong numbers, never a read beyond its end.
std::uint32_t U8(const std::string& d, std::size_t at) {
    return at < d.size() ? static_cast<unsigned char>(d[at]) : 0;
}
std::uint32_t U16(const std::string& d, std::size_t at) {
    return (U8(d, at) << 8) | U8(d, at + 1);
}
std::uint32_t U32(const std::string& d, std::size_t at) {
    return (U16(d, at) << 16) | U16(d, at + 2);
}
std::int16_t S16(const std::string& d, std::size_t at) {
    return static_cast<std::int16_t>(U16(d, at));
}

void Put16(std::string& d, std::uint32_t v) {
    d += static_cast<char>((v >> 8) & 0xFF);
    d += static_cast<char>(v & 0xFF);
}
void Put32(std::string& d, std::uint32_t v) {
    Put16(d, v >> 16);
    Put16(d, v & 0xFFFF);
}
void Set16(std::string& d, std::size_t at, std::uint32_t v) {
    if (at + 2 > d.size()) return;
    d[at] = static_cast<char>((v >> 8) & 0xFF);
    d[at + 1] = static_cast<char>(v & 0xFF);
}
void Set32(std::string& d, std::size_t at, std::uint32_t v) {
    Set16(d, at, v >> 16);
    Set16(d, at + 2, v & 0xFFFF);
}

std::uint32_t Checksum(const std::string& table) {
    std::uint32_t sum = 0;
    for (std::size_t at = 0; at < table.size(); at += 4) sum += U32(table, at);
    return sum;
}

// Composite glyph flags.
constexpr std::uint32_t kArgsAreWords = 0x0001;
constexpr std::uint32_t kHaveScale = 0x0008;
constexpr std::uint32_t kMoreComponents = 0x0020;
constexpr std::uint32_t kHaveXYScale = 0x0040;
constexpr std::uint32_t kHaveTwoByTwo = 0x0080;

// Offsets of the glyph numbers of a composite glyph's components.
std::vector<std::size_t> ComponentOffsets(const std::string& glyph) {
    std::vector<std::size_t> offsets;
    if (glyph.size() < 10 || S16(glyph, 0) >= 0) return offsets;
    std::size_t at = 10;
    while (at + 4 <= glyph.size()) {
        const std::uint32_t flags = U16(glyph, at);
        offsets.push_back(at + 2);
        at += 4 + ((flags & kArgsAreWords) ? 4 : 2);
        if (flags & kHaveScale)
            at += 2;
        else if (flags & kHaveXYScale)
            at += 4;
        else if (flags & kHaveTwoByTwo)
            at += 8;
        if (!(flags & kMoreComponents)) break;
    }
    return offsets;
}

// A format 4 character map of BMP characters, one segment per run of
// consecutive characters with consecutive glyphs.
std::string CharacterMap(const std::map<char32_t, std::uint16_t>& glyphs) {
    struct Segment {
        std::uint32_t start, end, glyph;
    };
    std::vector<Segment> segments;
    for (const auto& [c, g] : glyphs) {
        if (c >= 0xFFFF) continue;
        if (!segments.empty() && segments.back().end + 1 == c &&
            segments.back().glyph + (c - segments.back().start) == g)
            segments.back().end = c;
        else
            segments.push_back({static_cast<std::uint32_t>(c), static_cast<std::uint32_t>(c), g});
    }
    segments.push_back({0xFFFF, 0xFFFF, 0}); // the closing segment, to the missing glyph
    const auto count = static_cast<std::uint32_t>(segments.size());
    std::uint32_t searchRange = 2;
    std::uint32_t selector = 0;
    while (searchRange * 2 <= count * 2) {
        searchRange *= 2;
        ++selector;
    }
    std::string sub;
    Put16(sub, 4);
    Put16(sub, 16 + 8 * count);
    Put16(sub, 0);
    Put16(sub, 2 * count);
    Put16(sub, searchRange);
    Put16(sub, selector);
    Put16(sub, 2 * count - searchRange);
    for (const Segment& s : segments) Put16(sub, s.end);
    Put16(sub, 0);
    for (const Segment& s : segments) Put16(sub, s.start);
    for (const Segment& s : segments) Put16(sub, (s.glyph - s.start) & 0xFFFF);
    for (std::size_t i = 0; i < segments.size(); ++i) Put16(sub, 0);
    std::string cmap;
    Put16(cmap, 0);
    Put16(cmap, 1);
    Put16(cmap, 3); // Windows
    Put16(cmap, 1); // Unicode BMP
    Put32(cmap, 12);
    return cmap + sub;
}

// The font file of the tables given (tag, bytes), with its directory and the
// head table's checksum adjustment.
std::string FontFile(std::vector<std::pair<std::string, std::string>> tables) {
    std::sort(tables.begin(), tables.end());
    const auto count = static_cast<std::uint32_t>(tables.size());
    std::uint32_t searchRange = 16;
    std::uint32_t selector = 0;
    while (searchRange * 2 <= count * 16) {
        searchRange *= 2;
        ++selector;
    }
    std::string file;
    Put32(file, 0x00010000);
    Put16(file, count);
    Put16(file, searchRange);
    Put16(file, selector);
    Put16(file, count * 16 - searchRange);
    std::uint32_t offset = 12 + 16 * count;
    std::size_t headAt = 0;
    for (auto& [tag, bytes] : tables) {
        file += tag;
        Put32(file, Checksum(bytes));
        Put32(file, offset);
        Put32(file, static_cast<std::uint32_t>(bytes.size()));
        if (tag == "head") headAt = offset;
        bytes.resize((bytes.size() + 3) & ~std::size_t{3}, '\0');
        offset += static_cast<std::uint32_t>(bytes.size());
    }
    for (const auto& [tag, bytes] : tables) file += bytes;
    Set32(file, headAt + 8, 0xB1B0AFBA - Checksum(file));
    return file;
}

} // namespace

std::optional<TrueTypeFont> TrueTypeFont::FromBytes(std::string bytes, int face) {
    TrueTypeFont font;
    font.data_ = std::move(bytes);
    if (!font.Read(face)) return std::nullopt;
    return font;
}

std::string ShippedSheetFont() {
    const std::filesystem::path shipped =
        FindData({"quelro/fonts/wqy-microhei.ttc", "data/fonts/wqy-microhei.ttc"});
    return shipped.empty() ? std::string() : Utf8Of(shipped);
}

std::string SheetFontFile() {
    const std::string shipped = ShippedSheetFont();
    return shipped.empty() ? kSheetFontPath : shipped;
}

TrueTypeFont::Loaded TrueTypeFont::FromFile(const std::string& path) {
    // The CJK fonts run to some tens of megabytes.
    constexpr std::size_t kMaxFontBytes = 64 << 20;
    // The reader makes room for as much as it may read: ask for what the file
    // holds, not for the largest font.
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(PathFromUtf8(path), ec);
    const std::size_t wanted = ec ? kMaxFontBytes : std::min<std::uintmax_t>(size, kMaxFontBytes);
    FileBytes file = ReadRegularFile(PathFromUtf8(path), wanted + 1);
    if (!file.ok) return {std::nullopt, path + ": " + FileErrorReason(file.code, kEnglish)};
    if (file.bytes.size() > kMaxFontBytes) return {std::nullopt, path + ": too large for a font"};
    auto font = FromBytes(std::move(file.bytes));
    if (!font) return {std::nullopt, path + ": not a TrueType font with outlines"};
    return {std::move(font), {}};
}

bool TrueTypeFont::Read(int face) {
    const std::string& d = data_;
    std::size_t start = 0;
    if (d.compare(0, 4, "ttcf") == 0) {
        if (face < 0 || static_cast<std::uint32_t>(face) >= U32(d, 8)) return false;
        start = U32(d, 12 + 4 * static_cast<std::size_t>(face));
    }
    const std::uint32_t version = U32(d, start);
    if (version != 0x00010000 && version != 0x74727565) return false; // 1.0 or "true"
    const std::uint32_t count = U16(d, start + 4);
    if (start + 12 + 16 * std::size_t{count} > d.size()) return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = start + 12 + 16 * std::size_t{i};
        const Table table{U32(d, at + 8), U32(d, at + 12)};
        if (std::size_t{table.offset} + table.length > d.size()) return false;
        tables_.emplace_back(d.substr(at, 4), table);
    }
    const auto head = Find("head");
    const auto hhea = Find("hhea");
    const auto maxp = Find("maxp");
    const auto hmtx = Find("hmtx");
    const auto loca = Find("loca");
    const auto cmap = Find("cmap");
    if (!head || !hhea || !maxp || !hmtx || !loca || !Find("glyf") || !cmap) return false;
    if (head->length < 54 || hhea->length < 36 || maxp->length < 6) return false;
    unitsPerEm_ = static_cast<int>(U16(d, head->offset + 18));
    longOffsets_ = U16(d, head->offset + 50) == 1;
    for (std::size_t i = 0; i < 4; ++i) box_[i] = S16(d, head->offset + 36 + 2 * i);
    ascent_ = S16(d, hhea->offset + 4);
    descent_ = -S16(d, hhea->offset + 6);
    metricsCount_ = static_cast<int>(U16(d, hhea->offset + 34));
    glyphCount_ = static_cast<int>(U16(d, maxp->offset + 4));
    if (unitsPerEm_ < 16 || glyphCount_ == 0 || metricsCount_ == 0 || metricsCount_ > glyphCount_)
        return false;
    const std::size_t hmtxNeeded =
        4 * std::size_t(metricsCount_) + 2 * std::size_t(glyphCount_ - metricsCount_);
    const std::size_t locaNeeded = (longOffsets_ ? 4 : 2) * (std::size_t(glyphCount_) + 1);
    if (hmtx->length < hmtxNeeded || loca->length < locaNeeded) return false;

    // The Unicode subtable: the full repertoire (format 12) when there is one.
    const std::uint32_t records = U16(d, cmap->offset + 2);
    for (std::uint32_t i = 0; i < records && i < 64; ++i) {
        const std::size_t at = cmap->offset + 4 + 8 * std::size_t{i};
        const std::uint32_t platform = U16(d, at);
        const std::uint32_t encoding = U16(d, at + 2);
        const std::uint32_t sub = cmap->offset + U32(d, at + 4);
        const bool unicode = platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10));
        const std::uint32_t format = U16(d, sub);
        if (!unicode || (format != 4 && format != 12)) continue;
        const std::size_t length = format == 4 ? U16(d, sub + 2) : U32(d, sub + 4);
        if (std::size_t{sub} + length > std::size_t{cmap->offset} + cmap->length) continue;
        if (cmapFormat_ == 12) continue;
        cmapSubtable_ = sub;
        cmapFormat_ = static_cast<int>(format);
    }
    return cmapFormat_ != 0;
}

std::optional<TrueTypeFont::Table> TrueTypeFont::Find(const char* tag) const {
    for (const auto& [name, table] : tables_)
        if (name == tag) return table;
    return std::nullopt;
}

std::string TrueTypeFont::PostScriptName() const {
    const std::optional<Table> table = Find("name");
    if (!table) return {};
    const std::string names = Bytes(*table);
    const std::uint32_t count = U16(names, 2);
    const std::uint32_t strings = U16(names, 4);
    constexpr std::uint32_t kPostScriptName = 6;
    for (std::uint32_t i = 0; i < count && 6 + 12 * i < names.size(); ++i) {
        const std::size_t record = 6 + 12 * static_cast<std::size_t>(i);
        const std::uint32_t platform = U16(names, record);
        if (U16(names, record + 6) != kPostScriptName || (platform != 1 && platform != 3)) continue;
        const std::size_t at = strings + U16(names, record + 10);
        const std::size_t length = U16(names, record + 8);
        // Windows names are UTF-16BE, Macintosh ones single bytes; the name
        // itself is printable ASCII.
        const std::size_t step = platform == 3 ? 2 : 1;
        std::string name;
        for (std::size_t k = step - 1; k < length; k += step) {
            const char c = static_cast<char>(U8(names, at + k));
            if (std::isalnum(static_cast<unsigned char>(c)) || c == '-') name += c;
        }
        if (!name.empty()) return name;
    }
    return {};
}

std::string TrueTypeFont::Bytes(const Table& table) const {
    return data_.substr(table.offset, table.length);
}

std::uint16_t TrueTypeFont::GlyphFormat4(char32_t c) const {
    const std::string& d = data_;
    const std::size_t sub = cmapSubtable_;
    const std::uint32_t segments = U16(d, sub + 6) / 2;
    const std::size_t ends = sub + 14;
    const std::size_t starts = ends + 2 * std::size_t{segments} + 2;
    const std::size_t deltas = starts + 2 * std::size_t{segments};
    const std::size_t ranges = deltas + 2 * std::size_t{segments};
    // The segments are sorted by their end: the first end at or above c.
    std::uint32_t low = 0;
    std::uint32_t high = segments;
    while (low < high) {
        const std::uint32_t mid = (low + high) / 2;
        if (U16(d, ends + 2 * std::size_t{mid}) < c)
            low = mid + 1;
        else
            high = mid;
    }
    if (low == segments) return 0;
    const std::uint32_t start = U16(d, starts + 2 * std::size_t{low});
    if (c < start) return 0;
    const std::uint32_t delta = U16(d, deltas + 2 * std::size_t{low});
    const std::size_t rangeAt = ranges + 2 * std::size_t{low};
    const std::uint32_t range = U16(d, rangeAt);
    if (range == 0) return static_cast<std::uint16_t>((c + delta) & 0xFFFF);
    const std::uint32_t glyph = U16(d, rangeAt + range + 2 * (c - start));
    return glyph == 0 ? 0 : static_cast<std::uint16_t>((glyph + delta) & 0xFFFF);
}

std::uint16_t TrueTypeFont::GlyphFormat12(char32_t c) const {
    const std::string& d = data_;
    const std::uint32_t groups = U32(d, cmapSubtable_ + 12);
    std::uint32_t low = 0;
    std::uint32_t high = groups;
    while (low < high) {
        const std::uint32_t mid = low + (high - low) / 2;
        const std::size_t at = cmapSubtable_ + 16 + 12 * std::size_t{mid};
        if (U32(d, at + 4) < c)
            low = mid + 1;
        else
            high = mid;
    }
    if (low == groups) return 0;
    const std::size_t at = cmapSubtable_ + 16 + 12 * std::size_t{low};
    const std::uint32_t start = U32(d, at);
    if (c < start) return 0;
    const std::uint32_t glyph = U32(d, at + 8) + (c - start);
    return glyph <= 0xFFFF ? static_cast<std::uint16_t>(glyph) : 0;
}

std::uint16_t TrueTypeFont::Glyph(char32_t codePoint) const {
    const std::uint16_t glyph = cmapFormat_ == 12     ? GlyphFormat12(codePoint)
                                : codePoint <= 0xFFFF ? GlyphFormat4(codePoint)
                                                      : 0;
    return glyph < glyphCount_ ? glyph : 0;
}

int TrueTypeFont::Advance(std::uint16_t glyph) const {
    const std::size_t hmtx = Find("hmtx")->offset;
    const int entry = std::min<int>(glyph, metricsCount_ - 1);
    return static_cast<int>(U16(data_, hmtx + 4 * static_cast<std::size_t>(entry)));
}

std::string TrueTypeFont::GlyphData(std::uint16_t glyph) const {
    if (glyph >= glyphCount_) return {};
    const Table loca = *Find("loca");
    const Table glyf = *Find("glyf");
    const auto offset = [&](std::size_t index) -> std::size_t {
        return longOffsets_ ? U32(data_, loca.offset + 4 * index)
                            : 2 * std::size_t{U16(data_, loca.offset + 2 * index)};
    };
    const std::size_t begin = offset(glyph);
    const std::size_t end = offset(std::size_t{glyph} + 1);
    if (end <= begin || end > glyf.length) return {};
    return data_.substr(glyf.offset + begin, end - begin);
}

std::uint16_t TrueTypeFont::Subset::NewGlyph(std::uint16_t old) const {
    const auto at = std::find(glyphs.begin(), glyphs.end(), old);
    return at == glyphs.end() ? 0 : static_cast<std::uint16_t>(at - glyphs.begin());
}

TrueTypeFont::Subset TrueTypeFont::MakeSubset(const std::vector<char32_t>& used) const {
    Subset subset;
    std::map<std::uint16_t, std::uint16_t> renumber{{0, 0}};
    subset.glyphs.push_back(0);
    subset.characters.push_back(0);
    std::map<char32_t, std::uint16_t> characterMap;
    const auto add = [&](std::uint16_t old, char32_t c) {
        const auto [at, added] =
            renumber.emplace(old, static_cast<std::uint16_t>(subset.glyphs.size()));
        if (added) {
            subset.glyphs.push_back(old);
            subset.characters.push_back(c);
        } else if (subset.characters[at->second] == 0) {
            subset.characters[at->second] = c;
        }
        return at->second;
    };
    for (char32_t c : used)
        if (const std::uint16_t glyph = Glyph(c); glyph != 0) characterMap[c] = add(glyph, c);
    // Components join as they are met; each glyph is looked at once, so this
    // ends after at most as many rounds as the font has glyphs.
    std::vector<std::string> outlines;
    for (std::size_t i = 0; i < subset.glyphs.size(); ++i) {
        std::string outline = GlyphData(subset.glyphs[i]);
        for (std::size_t at : ComponentOffsets(outline)) {
            const auto old = static_cast<std::uint16_t>(U16(outline, at));
            Set16(outline, at, old < glyphCount_ ? add(old, 0) : 0);
        }
        outlines.push_back(std::move(outline));
    }

    const auto count = static_cast<std::uint32_t>(subset.glyphs.size());
    std::string glyf;
    std::string loca;
    std::string hmtx;
    const std::size_t metrics = Find("hmtx")->offset;
    for (std::size_t i = 0; i < count; ++i) {
        Put32(loca, static_cast<std::uint32_t>(glyf.size()));
        glyf += outlines[i];
        glyf.resize((glyf.size() + 3) & ~std::size_t{3}, '\0');
        const int old = subset.glyphs[i];
        const std::size_t lsbAt = old < metricsCount_ ? metrics + 4 * std::size_t(old) + 2
                                                      : metrics + 4 * std::size_t(metricsCount_) +
                                                            2 * std::size_t(old - metricsCount_);
        Put16(hmtx, static_cast<std::uint32_t>(Advance(subset.glyphs[i])));
        Put16(hmtx, U16(data_, lsbAt));
    }
    Put32(loca, static_cast<std::uint32_t>(glyf.size()));

    std::string head = Bytes(*Find("head"));
    Set32(head, 8, 0);  // the checksum adjustment, set over the whole file
    Set16(head, 50, 1); // long loca offsets
    std::string hhea = Bytes(*Find("hhea"));
    Set16(hhea, 34, count);
    std::string maxp = Bytes(*Find("maxp"));
    Set16(maxp, 4, count);
    std::string post;
    Put32(post, 0x00030000); // no glyph names
    if (const auto original = Find("post"); original && original->length >= 32)
        post += data_.substr(original->offset + 4, 28);
    else
        post.resize(32, '\0');

    std::vector<std::pair<std::string, std::string>> tables{{"cmap", CharacterMap(characterMap)},
                                                            {"glyf", glyf},
                                                            {"head", head},
                                                            {"hhea", hhea},
                                                            {"hmtx", hmtx},
                                                            {"loca", loca},
                                                            {"maxp", maxp},
                                                            {"post", post}};
    for (const char* tag : {"OS/2", "cvt ", "fpgm", "gasp", "name", "prep"})
        if (const auto table = Find(tag)) tables.emplace_back(tag, Bytes(*table));
    subset.bytes = FontFile(std::move(tables));
    return subset;
}

} // namespace quelro
