// quelro-cli print: the PDF of a rich file read back with pdftotext holds
// every channel's frequencies and tones in each language, pdffonts finds
// every font embedded, the paper sizes, the HTML form, and the refusals.
// The subset font the PDF embeds is read back as a font of its own.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli_fixture.h"
#include "files/truetype_font.h"
#include "i18n/captions.h"
#include "i18n/traditional.h"
#include "support/test_images.h"

namespace {

using namespace quelro::test;

class PrintTest : public CliTest {
  protected:
    void SetUp() override {
        CliTest::SetUp();
        if (RunProcess("pdfinfo", {"-v"}).exit != 0)
            GTEST_SKIP() << "poppler-utils is not installed";
        WriteDat("rich.DAT", Patch(RichImage(), 0x2F0, "436C756220E4"));
    }
    std::string Path(const std::string& name) const { return Arg(name); }
    // The stdout of a poppler tool.
    static std::string Tool(const std::string& tool, const std::vector<std::string>& args) {
        const Result r = RunProcess(tool, args);
        EXPECT_EQ(r.exit, 0) << tool << ": " << r.err;
        return r.out;
    }
};

TEST_F(PrintTest, PdfHoldsEveryChannelInEachLanguageWithItsFontEmbedded) {
    struct Case {
        const char* lang;
        std::vector<std::string> texts;
    };
    const std::vector<Case> cases{
        {"en",
         {"Channel sheet: rich.DAT", "Model: 400-500MHz", "RX frequency", "Hight", "Carrow",
          "Narrow", "Squelch Grade", "Instant cancel static noise", "\"Club ä\""}},
        {"zh",
         {"信道表：rich.DAT", "机型选择：400-500MHz", "接收频率", "高", "载波", "窄带", "静噪等级",
          "瞬时取消静噪"}},
        {"zh-Hant",
         {"信道表：rich.DAT", "機型選擇：400-500MHz", "接收頻率", "載波", "窄帶", "靜噪等級",
          "瞬時取消靜噪"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lang);
        if (std::string(c.lang) == "zh-Hant" && !quelro::TraditionalAvailable()) continue;
        const std::string pdf = Path(std::string("sheet-") + c.lang + ".pdf");
        const Result r = Run({"print", Path("rich.DAT"), "-o", pdf, "--lang", c.lang, "-q"});
        ASSERT_EQ(r.exit, 0) << r.err;
        EXPECT_EQ(r.out + r.err, "");
        const std::string text = Tool("pdftotext", {"-layout", pdf, "-"});
        // Channels 1, 2 and 16: frequencies and tones.
        for (const char* value :
             {"462.56250", "D023N", "88.5", "446.00625", "451.00625", "400.00000", "D023I"})
            EXPECT_NE(text.find(value), std::string::npos) << value << "\n" << text;
        for (const std::string& caption : c.texts)
            EXPECT_NE(text.find(caption), std::string::npos) << caption << "\n" << text;
        // The font list: a header of two lines, then one embedded font.
        const std::string fonts = Tool("pdffonts", {pdf});
        const std::size_t rows =
            static_cast<std::size_t>(std::count(fonts.begin(), fonts.end(), '\n'));
        EXPECT_EQ(rows, 3u) << fonts;
        EXPECT_NE(fonts.find("CID TrueType      Identity-H       yes yes yes"), std::string::npos)
            << fonts;
        // Named as the font it is.
        EXPECT_NE(fonts.find("\nQLROSH+WenQuanYiMicroHei "), std::string::npos) << fonts;
        EXPECT_NE(Tool("pdfinfo", {pdf}).find("Pages:           1\n"), std::string::npos);
    }
}

TEST_F(PrintTest, PaperSizesAndTheWebPage) {
    ASSERT_EQ(Run({"print", Path("rich.DAT"), "-o", Path("a4.pdf"), "-q"}).exit, 0);
    ASSERT_EQ(
        Run({"print", Path("rich.DAT"), "-o", Path("letter.PDF"), "--paper", "letter", "-q"}).exit,
        0);
    EXPECT_NE(Tool("pdfinfo", {Path("a4.pdf")}).find("595.28 x 841.89 pts (A4)"),
              std::string::npos);
    EXPECT_NE(Tool("pdfinfo", {Path("letter.PDF")}).find("612 x 792 pts (letter)"),
              std::string::npos);
    const Result html = Run({"print", Path("rich.DAT"), "-o", Path("sheet.html"), "--lang", "zh"});
    EXPECT_EQ(html.exit, 0) << html.err;
    const std::string page = Read(At("sheet.html"));
    for (const char* part : {"<html lang=\"zh-Hans\">", "@page { size: A4 portrait;",
                             "<td>462.56250</td><td>D023N</td>", "<td>&quot;Club ä&quot;</td>",
                             "<caption>测试频率</caption>"})
        EXPECT_NE(page.find(part), std::string::npos) << part;
}

TEST_F(PrintTest, RefusalsWriteNothing) {
    Write(At("not-a-font.ttf"), "not a font");
    const Result font =
        Run({"print", Path("rich.DAT"), "-o", Path("x.pdf"), "--font", Path("not-a-font.ttf")});
    ExpectRefusal(font, "not-a-font.ttf", "fonts-wqy-microhei");
    ExpectRefusal(Run({"print", Path("missing.DAT"), "-o", Path("x.pdf")}), "missing.DAT",
                  "cannot open");
    // A font without the Chinese the sheet needs: the sheet font cut down to
    // digits.
    const quelro::TrueTypeFont::Loaded sheetFont =
        quelro::TrueTypeFont::FromFile(quelro::kSheetFontPath);
    if (sheetFont.font) {
        Write(At("digits.ttf"), sheetFont.font->MakeSubset({U'0', U'1', U'2'}).bytes);
        ExpectRefusal(Run({"print", Path("rich.DAT"), "-o", Path("x.pdf"), "--lang", "zh", "--font",
                           Path("digits.ttf")}),
                      "digits.ttf", "the font has no glyph for ");
    }
    EXPECT_EQ(Run({"print", Path("rich.DAT"), "-o", Path("x.txt")}).exit, 1);
    EXPECT_FALSE(fs::exists(At("x.pdf")));
    EXPECT_FALSE(fs::exists(At("x.txt")));
}

TEST(SheetFontTest, TheSubsetIsAFontOfTheUsedCharactersAlone) {
    const quelro::TrueTypeFont::Loaded loaded =
        quelro::TrueTypeFont::FromFile(quelro::kSheetFontPath);
    if (!loaded.font) GTEST_SKIP() << loaded.error;
    const quelro::TrueTypeFont& font = *loaded.font;
    const std::u32string used = U"信道A1é频";
    const auto subset = font.MakeSubset({used.begin(), used.end()});
    // The used glyphs first; the components of composite ones (é) follow.
    ASSERT_GT(subset.glyphs.size(), used.size() + 1);
    for (std::size_t i = used.size() + 1; i < subset.glyphs.size(); ++i)
        EXPECT_EQ(subset.characters[i], 0u);
    const auto again = quelro::TrueTypeFont::FromBytes(subset.bytes);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->UnitsPerEm(), font.UnitsPerEm());
    for (std::size_t i = 0; i < used.size(); ++i) {
        SCOPED_TRACE(static_cast<int>(used[i]));
        EXPECT_EQ(again->Glyph(used[i]), i + 1);
        EXPECT_EQ(subset.characters[i + 1], used[i]);
        EXPECT_EQ(again->Advance(static_cast<std::uint16_t>(i + 1)),
                  font.Advance(font.Glyph(used[i])));
    }
    EXPECT_EQ(again->Glyph(U'B'), 0);
    EXPECT_LT(subset.bytes.size(), 20000u);
    // Damaged fonts are refused, never read beyond their end.
    for (std::size_t size :
         {std::size_t{0}, std::size_t{12}, std::size_t{200}, subset.bytes.size() / 2})
        EXPECT_FALSE(quelro::TrueTypeFont::FromBytes(subset.bytes.substr(0, size))) << size;
}

} // namespace
