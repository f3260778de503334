// The settings as the windows show them, field by field of the image's field
// table: each field's caption and the text its control shows.
#include "files/setting_texts.h"

#include <algorithm>
#include <cstdio>

#include "codes/bands.h"
#include "codes/conversions.h"
#include "i18n/captions.h"
#include "i18n/optional_captions.h"

namespace quelro {
namespace {

constexpr Caption kTxFrequency{"发射频率", "TX Frequency"};

// A list's item at `position`, or the number when the list names none there.
std::string Pick(const ImageField& field, int position, int lang) {
    const std::optional<ItemName> name = ItemNameOf(field, position);
    return name ? Localize(Caption{name->zh, name->en}, lang) : std::to_string(position);
}

// The text of a setting of the optional-function window, kept as text.
std::string ShownText(const std::string& text, const ImageField& field, int lang) {
    switch (field.naming) {
    case Naming::Check:
        return text == "0" ? "[ ]" : text == "1" ? "[x]" : text;
    case Naming::AsStored:
        return text;
    default:
        return ParseNumber(text) ? Pick(field, static_cast<int>(Val(text)), lang) : text;
    }
}

std::string ShownValue(const ProgramState& s, const ImageField& field, int i, int lang) {
    switch (field.naming) {
    case Naming::Band:
        return BandText(s);
    case Naming::RadioText:
        return QuotedRadioText(FieldText(s, field, i));
    case Naming::Number:
        return std::to_string(SettingNumber(s, field, i));
    case Naming::Milliseconds:
        return std::to_string(SettingNumber(s, field, i)) + "MS";
    case Naming::MainList: {
        const std::optional<ItemName> name =
            ItemNameOf(field, static_cast<int>(SettingNumber(s, field, i)));
        return name ? Localize(Caption{name->zh, name->en}, lang) : "-";
    }
    default:
        if (field.store == Store::FunctionText)
            return ShownText(FieldText(s, field, i), field, lang);
        return Pick(field, static_cast<int>(SettingNumber(s, field, i)), lang);
    }
}

} // namespace

std::vector<SettingText> SettingTexts(const ProgramState& s, int lang) {
    // Window by window; the optional-function window lists its lists, then its
    // boxes, then its check boxes.
    std::vector<const ImageField*> shown;
    for (const ImageField& field : ImageFields())
        if (field.group != SettingGroup::None) shown.push_back(&field);
    std::stable_sort(shown.begin(), shown.end(), [](const ImageField* a, const ImageField* b) {
        return std::pair(a->group, a->control) < std::pair(b->group, b->control);
    });
    std::vector<SettingText> out;
    for (const ImageField* field : shown) {
        const std::string label = Localize(field->caption, lang);
        for (int i = 0; i < field->count; ++i) {
            if (field->naming == Naming::Frequencies) {
                const std::string row = ChannelNumberText(i + 1) + " ";
                out.push_back({field->group, row + label, s.TestFrequencyTable[i]});
                out.push_back({field->group, row + Localize(kTxFrequency, lang),
                               s.TestFrequencyTable[i + kChannels]});
            } else {
                out.push_back({field->group,
                               field->count > 1 ? label + " " + std::to_string(i + 1) : label,
                               ShownValue(s, *field, i, lang)});
            }
        }
    }
    return out;
}

std::string GroupTitle(SettingGroup group, int languageMode) {
    switch (group) {
    case SettingGroup::None:
        break;
    case SettingGroup::Band:
        return Localize(FieldOf(Store::Band, 0).caption, languageMode);
    case SettingGroup::General:
        return Localize({"功能设置", "Function Set"}, languageMode);
    case SettingGroup::Optional:
        return Localize(kOptionalTitle, languageMode);
    case SettingGroup::Dtmf:
        return "DTMF";
    case SettingGroup::Keys:
        return Localize({"键设定", "Keys Set"}, languageMode);
    case SettingGroup::Embedded:
        return Localize({"嵌入信息", "Embedded Information"}, languageMode);
    case SettingGroup::Service:
        return Localize({"调试", "Debug"}, languageMode);
    case SettingGroup::TestFrequencies:
        return Localize({"测试频率", "Debug frequency"}, languageMode);
    }
    return {};
}

std::string QuotedRadioText(std::string_view bytes) {
    std::string out = "\"";
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || (b >= 0x7F && b < 0xA0) || b == 0xFF || c == '"' || c == '\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
            out += escaped;
        } else {
            out += Utf8FromBytes(std::string_view(&c, 1));
        }
    }
    return out + "\"";
}

std::string BandText(const ProgramState& state) {
    const bool listed =
        state.BandSelection >= 0 && state.BandSelection < static_cast<int>(kBands.size());
    return listed ? std::string(kBands[state.BandSelection].text) : "-";
}

} // namespace quelro
