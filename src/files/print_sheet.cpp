// Building the channel sheet from a state, and its web page.
#include "files/print_sheet.h"

#include "files/setting_texts.h"
#include "i18n/captions.h"

namespace quelro {
namespace {

constexpr Caption kSheetTitle{"信道表", "Channel sheet"};
constexpr Caption kColon{"：", ": "};
constexpr std::array<Caption, 3> kTestHeaders{
    {{"频道", "Channel"}, {"接收频率", "RX Frequency"}, {"发射频率", "TX Frequency"}}};

SheetTable Settings(const std::vector<SettingText>& texts, SettingGroup group, int lang) {
    SheetTable table{GroupTitle(group, lang), {}, {}};
    for (const SettingText& text : texts)
        if (text.group == group) table.rows.push_back({text.label, text.value});
    return table;
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

void HtmlTable(std::string& out, const SheetTable& table, const char* cssClass) {
    out += "<table class=\"" + std::string(cssClass) + "\">\n";
    if (!table.title.empty()) out += "<caption>" + Escaped(table.title) + "</caption>\n";
    if (!table.header.empty()) {
        out += "<thead><tr>";
        for (const std::string& caption : table.header) out += "<th>" + Escaped(caption) + "</th>";
        out += "</tr></thead>\n";
    }
    out += "<tbody>\n";
    for (const auto& row : table.rows) {
        out += "<tr>";
        for (std::size_t c = 0; c < row.size(); ++c)
            out += (table.header.empty() && c == 0 ? "<th>" : "<td>") + Escaped(row[c]) +
                   (table.header.empty() && c == 0 ? "</th>" : "</td>");
        out += "</tr>\n";
    }
    out += "</tbody></table>\n";
}

} // namespace

PaperSize SizeOf(Paper paper) {
    // A4 is 210 x 297 mm, Letter 8.5 x 11 inches.
    return paper == Paper::A4 ? PaperSize{595.28, 841.89} : PaperSize{612, 792};
}

Sheet BuildSheet(const ProgramState& state, const std::string& fileName, const std::string& date,
                 int lang) {
    const std::vector<SettingText> texts = SettingTexts(state, lang);
    Sheet sheet;
    const std::string colon = Localize(kColon, lang);
    sheet.title = Localize(kSheetTitle, lang) + colon + fileName;
    sheet.date = date;
    sheet.band = GroupTitle(SettingGroup::Band, lang) + colon + BandText(state);
    for (const Caption& caption : kGridHeaders)
        sheet.channels.header.push_back(Localize(caption, lang));
    for (int row = 1; row <= kChannels; ++row) {
        std::vector<std::string> cells;
        for (int col = 0; col < kGridCols; ++col) cells.push_back(state.CellText(row, col, lang));
        sheet.channels.rows.push_back(std::move(cells));
    }
    for (SettingGroup group : {SettingGroup::General, SettingGroup::Keys, SettingGroup::Embedded})
        sheet.firstColumn.push_back(Settings(texts, group, lang));
    sheet.optionalFunctions = Settings(texts, SettingGroup::Optional, lang);
    sheet.testFrequencies.title = GroupTitle(SettingGroup::TestFrequencies, lang);
    for (const Caption& caption : kTestHeaders)
        sheet.testFrequencies.header.push_back(Localize(caption, lang));
    for (int r = 1; r <= kChannels; ++r)
        sheet.testFrequencies.rows.push_back({ChannelNumberText(r), state.TestFrequencyTable[r - 1],
                                              state.TestFrequencyTable[r + 15]});
    return sheet;
}

std::string SheetHtml(const Sheet& sheet, Paper paper, int languageMode) {
    const char* lang = languageMode == kEnglish       ? "en"
                       : languageMode == kTraditional ? "zh-Hant"
                                                      : "zh-Hans";
    std::string out = "<!DOCTYPE html>\n<html lang=\"" + std::string(lang) +
                      "\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + Escaped(sheet.title) +
                      "</title>\n<style>\n";
    out += std::string("@page { size: ") + (paper == Paper::A4 ? "A4" : "letter") +
           " portrait; margin: 12mm; }\n";
    out += "body { font-family: \"WenQuanYi Micro Hei\", sans-serif; font-size: 9pt; }\n"
           "h1 { font-size: 15pt; margin: 0; }\n"
           ".date { float: right; font-size: 10pt; }\n"
           "table { border-collapse: collapse; margin-bottom: 8pt; }\n"
           "caption { text-align: left; font-weight: bold; padding: 2pt 0; }\n"
           "th, td { border: 0.5pt solid #999; padding: 1pt 4pt; text-align: left; "
           "white-space: nowrap; }\n"
           "thead th { background: #ddd; }\n"
           "table.channels { width: 100%; }\n"
           "tr:nth-child(even) td { background: #f2f2f2; }\n"
           ".columns { display: flex; gap: 12pt; align-items: flex-start; }\n"
           "</style>\n</head>\n<body>\n";
    out += "<p class=\"date\">" + Escaped(sheet.date) + "</p>\n";
    out += "<h1>" + Escaped(sheet.title) + "</h1>\n";
    out += "<p>" + Escaped(sheet.band) + "</p>\n";
    HtmlTable(out, sheet.channels, "channels");
    out += "<div class=\"columns\">\n<div>\n";
    for (const SheetTable& table : sheet.firstColumn) HtmlTable(out, table, "settings");
    out += "</div>\n<div>\n";
    HtmlTable(out, sheet.optionalFunctions, "settings");
    out += "</div>\n<div>\n";
    HtmlTable(out, sheet.testFrequencies, "settings");
    out += "</div>\n</div>\n</body>\n</html>\n";
    return out;
}

} // namespace quelro
