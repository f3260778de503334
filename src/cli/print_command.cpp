// quelro-cli print IN -o OUT.pdf|OUT.html: the channel sheet of a
// programming, one page of A4 or Letter, in --lang.
#include <cctype>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>

#include "cli/cli_common.h"
#include "cli/programming_input.h"
#include "files/file_access.h"
#include "files/print_sheet.h"
#include "files/sheet_layout.h"
#include "files/sheet_pdf.h"
#include "files/truetype_font.h"
#include "i18n/platform.h"
#include "i18n/unicode_path.h"
#include "i18n/utf8.h"

namespace quelro::cli {
namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Today as YYYY-MM-DD, local time.
std::string Today() {
    const std::tm local = LocalTime(std::time(nullptr));
    char date[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", &local);
    return date;
}

} // namespace

std::string SheetOutputProblem(const std::string& out) {
    const std::string extension = Lower(Utf8Of(PathFromUtf8(out).extension()));
    return extension == ".pdf" || extension == ".html" || extension == ".htm"
               ? std::string()
               : std::string("the output must end in .pdf or .html");
}

int RunPrint(const PrintArgs& args, const Options& options) {
    const int lang = LanguageModeOf(args.lang);
    const std::optional<Programming> programming = LoadProgramming(args.in, args.form, lang);
    if (!programming) return kExitBadInput;
    const Paper paper = args.paper == "letter" ? Paper::Letter : Paper::A4;
    const Sheet sheet =
        BuildSheet(programming->state, Utf8Of(PathFromUtf8(args.in).filename()), Today(), lang);
    std::string bytes;
    if (Lower(Utf8Of(PathFromUtf8(args.out).extension())) == ".pdf") {
        const TrueTypeFont::Loaded loaded = TrueTypeFont::FromFile(args.font);
        if (!loaded.font) {
            std::cerr << "quelro-cli: " << loaded.error
                      << " (the sheet needs a CJK TrueType font: install fonts-wqy-microhei, "
                         "or name one with --font)\n";
            return kExitBadInput;
        }
        const PrintedPage page = LayOutSheet(sheet, *loaded.font, paper);
        // A character without its glyph would print as an empty box.
        if (!page.missing.empty()) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(page.missing.front()));
            std::cerr << "quelro-cli: " << args.font << ": the font has no glyph for "
                      << EncodeUtf8(page.missing.front()) << " (" << code << ") and "
                      << page.missing.size() - 1
                      << " more characters of the sheet (name a CJK TrueType font with "
                         "--font, such as "
                      << kSheetFontPath << ")\n";
            return kExitBadInput;
        }
        bytes = SheetPdf(page, sheet.title);
    } else {
        bytes = SheetHtml(sheet, paper, lang);
    }
    const FileWrite written = WriteFileAtomically(PathFromUtf8(args.out), bytes);
    if (!written.ok) {
        std::cerr << "quelro-cli: " << args.out << ": cannot write: " << written.error << "\n";
        return kExitBadInput;
    }
    if (!options.quiet) std::cout << "Wrote " << args.out << "\n";
    return kExitOk;
}

} // namespace quelro::cli
