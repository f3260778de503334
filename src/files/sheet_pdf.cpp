// Writing the PDF of a printed page. The file is written byte for byte here
// (objects, cross-reference table, trailer), with every number formatted
// with "." whatever the locale.
#include "files/sheet_pdf.h"

#include <cstdio>
#include <vector>

#include "codes/conversions.h"

namespace quelro {
namespace {

// The subset's name: six capitals, a plus and the family, as a subset is named.
// A subset's name: a tag of six capitals, '+', the face's own name.
std::string SubsetFontName(const PrintedPage& page) {
    return "QLROSH+" + (page.fontName.empty() ? std::string("Embedded") : page.fontName);
}

std::string Number(double value) {
    std::string text = FormatFixed(value, 2);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

std::string Hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    return text;
}

// A character as UTF-16 hex digits.
std::string Utf16Hex(char32_t c) {
    if (c < 0x10000) return Hex4(static_cast<unsigned>(c));
    const char32_t v = c - 0x10000;
    return Hex4(static_cast<unsigned>(0xD800 + (v >> 10))) +
           Hex4(static_cast<unsigned>(0xDC00 + (v & 0x3FF)));
}

// A text string of the document information: UTF-16 with its byte order mark.
std::string TextString(const std::string& utf8) {
    std::string hex = "<FEFF";
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (std::size_t k = 1; k <= extra && i + k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += extra + 1;
        hex += Utf16Hex(c);
    }
    return hex + ">";
}

std::string Content(const PrintedPage& page) {
    const auto y = [&](double top) { return Number(page.height - top); };
    std::string out;
    for (const Shade& s : page.shades)
        out += Number(s.gray) + " g " + Number(s.x) + " " + y(s.y + s.height) + " " +
               Number(s.width) + " " + Number(s.height) + " re f\n";
    for (const Rule& r : page.rules)
        out += Number(r.width) + " w " + Number(r.gray) + " G " + Number(r.x1) + " " + y(r.y1) +
               " m " + Number(r.x2) + " " + y(r.y2) + " l S\n";
    out += "0 g\n";
    for (const PlacedText& t : page.texts) {
        out += "BT /F1 " + Number(t.size) + " Tf " + Number(t.x) + " " + y(t.baseline) + " Td <";
        for (std::uint16_t glyph : t.glyphs) out += Hex4(glyph);
        out += "> Tj ET\n";
    }
    return out;
}

std::string ToUnicode(const PrintedPage& page) {
    std::string out = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                      "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                      "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    std::vector<std::string> entries;
    for (std::size_t g = 0; g < page.font.characters.size(); ++g)
        if (page.font.characters[g] != 0)
            entries.push_back("<" + Hex4(static_cast<unsigned>(g)) + "> <" +
                              Utf16Hex(page.font.characters[g]) + ">\n");
    // At most 100 entries to a block.
    for (std::size_t first = 0; first < entries.size(); first += 100) {
        const std::size_t count = std::min<std::size_t>(100, entries.size() - first);
        out += std::to_string(count) + " beginbfchar\n";
        for (std::size_t i = first; i < first + count; ++i) out += entries[i];
        out += "endbfchar\n";
    }
    return out + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

class PdfFile {
  public:
    PdfFile() { out_ = "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n"; }
    void Object(const std::string& body) {
        offsets_.push_back(out_.size());
        out_ += std::to_string(offsets_.size()) + " 0 obj\n" + body + "\nendobj\n";
    }
    void Stream(const std::string& dictionary, const std::string& data) {
        Object("<< " + dictionary + " /Length " + std::to_string(data.size()) + " >>\nstream\n" +
               data + "\nendstream");
    }
    std::string Finish(int root, int info) {
        const std::size_t xref = out_.size();
        out_ += "xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f \n";
        for (std::size_t offset : offsets_) {
            char line[24];
            std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
            out_ += line;
        }
        out_ += "trailer\n<< /Size " + std::to_string(offsets_.size() + 1) + " /Root " +
                std::to_string(root) + " 0 R /Info " + std::to_string(info) +
                " 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
        return out_;
    }

  private:
    std::string out_;
    std::vector<std::size_t> offsets_;
};

} // namespace

std::string SheetPdf(const PrintedPage& page, const std::string& title) {
    // Glyph space is a thousandth of the text size.
    const auto thousandths = [&](int units) {
        return std::to_string(units * 1000 / page.unitsPerEm);
    };
    std::string widths = "[0 [";
    for (std::size_t g = 0; g < page.advances.size(); ++g)
        widths += (g == 0 ? "" : " ") + thousandths(page.advances[g]);
    widths += "]]";

    const std::string fontName = SubsetFontName(page);
    PdfFile pdf;
    pdf.Object("<< /Type /Catalog /Pages 2 0 R >>");         // 1
    pdf.Object("<< /Type /Pages /Kids [3 0 R] /Count 1 >>"); // 2
    pdf.Object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Number(page.width) + " " +
               Number(page.height) +
               "] /Resources << /Font << /F1 5 0 R >> >> /Contents 4 0 R >>"); // 3
    pdf.Stream("", Content(page));                                             // 4
    pdf.Object(std::string("<< /Type /Font /Subtype /Type0 /BaseFont /") + fontName +
               " /Encoding /Identity-H /DescendantFonts [6 0 R] /ToUnicode 9 0 R >>"); // 5
    pdf.Object(std::string("<< /Type /Font /Subtype /CIDFontType2 /BaseFont /") + fontName +
               " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
               " /FontDescriptor 7 0 R /DW 1000 /W " +
               widths + " /CIDToGIDMap /Identity >>"); // 6
    pdf.Object(std::string("<< /Type /FontDescriptor /FontName /") + fontName +
               " /Flags 4 /FontBBox [" + thousandths(page.box[0]) + " " + thousandths(page.box[1]) +
               " " + thousandths(page.box[2]) + " " + thousandths(page.box[3]) +
               "] /ItalicAngle 0 /Ascent " + thousandths(page.ascent) + " /Descent -" +
               thousandths(page.descent) + " /CapHeight " + thousandths(page.ascent) +
               " /StemV 80 /FontFile2 8 0 R >>");                                      // 7
    pdf.Stream("/Length1 " + std::to_string(page.font.bytes.size()), page.font.bytes); // 8
    pdf.Stream("", ToUnicode(page));                                                   // 9
    pdf.Object("<< /Title " + TextString(title) +
               " /Producer (Quelro Programmer) /Creator (Quelro Programmer) >>"); // 10
    return pdf.Finish(1, 10);
}

} // namespace quelro
