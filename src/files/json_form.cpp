// Conversion between ProgramState and the JSON form of a data file.
//
// Export writes what the channel table and the settings hold. Import starts
// from a state (the start-up state or a decoded base file), checks every
// field against what the program's editors and decoder can leave in that
// field, and only then applies the fields, so a refused form changes nothing.
#include "files/json_form.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <tuple>
#include <vector>

#include "channels/cell_edit.h"
#include "channels/channel_record.h"
#include "codes/bands.h"
#include "codes/conversions.h"
#include "image/image_fields.h"

namespace quelro::cli {
namespace {

struct FieldError {
    std::string field;
    std::string reason;
};

[[noreturn]] void Refuse(const std::string& field, const std::string& reason) {
    throw FieldError{field, reason};
}

// The members of the settings in the form's order: the integer settings
// window by window, then the delays, the texts and the lists.
bool IsArray(const ImageField& field) {
    return field.count > 1 || std::ranges::count(ImageFields(), field.json, &ImageField::json) > 1;
}

bool IsInteger(const ImageField& field) {
    return field.coding >= Coding::Position && field.coding <= Coding::LowBit && !IsArray(field);
}

const std::vector<const ImageField*>& FormFields() {
    static const std::vector<const ImageField*> fields = [] {
        std::vector<const ImageField*> list;
        for (const ImageField& field : ImageFields())
            if (!field.json.empty()) list.push_back(&field);
        std::ranges::stable_sort(list, {}, [](const ImageField* f) {
            return std::tuple(!IsInteger(*f), f->group, f->control);
        });
        return list;
    }();
    return fields;
}

// The words of the channel lists, by item (0, 1); scan is a boolean.
struct ListWords {
    const char* name;
    int column;
    std::array<const char*, 2> words;
};

constexpr std::array<ListWords, 3> kChannelLists{{
    {"power", kColPower, {"low", "high"}},
    {"busy_lock", kColBusyLock, {"off", "carrier"}},
    {"bandwidth", kColBandwidth, {"narrow", "wide"}},
}};

constexpr std::array<std::string_view, 8> kChannelKeys{"rx",    "tx",        "rx_tone",   "tx_tone",
                                                       "power", "busy_lock", "bandwidth", "scan"};

std::string Indexed(const std::string& field, std::size_t index) {
    return field + "[" + std::to_string(index) + "]";
}

// ---- export -------------------------------------------------------------------

// One field's member (or array entry) in the form.
Json FieldJson(const ProgramState& s, const ImageField& field, int i) {
    switch (field.coding) {
    case Coding::Word: // the text of its box
        return FieldText(s, field, i);
    case Coding::Text:
    case Coding::TextKeepFF:
    case Coding::DialText:
        return Utf8FromBytes(FieldText(s, field, i));
    case Coding::Frequencies:
        return {{"rx", s.TestFrequencyTable[i]}, {"tx", s.TestFrequencyTable[i + kChannels]}};
    default: {
        const int value = static_cast<int>(SettingNumber(s, field, i));
        const bool noSelection = field.coding == Coding::PositionPlusOne && value < 0;
        return noSelection ? Json(nullptr) : Json(value);
    }
    }
}

std::string ToneJson(std::uint16_t word) {
    return word == kToneOffWord ? "off" : ToneWordText(word);
}

} // namespace

Json ExportJsonChannel(const ProgramState& s, int row) {
    if (s.ChannelEmpty(row)) return nullptr;
    const ChannelRecord& c = *s.Channel(row);
    Json channel = Json::object();
    channel["rx"] = FrequencyText(c.rx);
    channel["tx"] = c.tx ? FrequencyText(*c.tx) : std::string();
    channel["rx_tone"] = ToneJson(c.rxTone);
    channel["tx_tone"] = ToneJson(c.txTone);
    for (const ListWords& list : kChannelLists)
        channel[list.name] = list.words[ListItem(c, list.column)];
    channel["scan"] = c.scan == ScanList::kScanned;
    return channel;
}

Json ExportJsonForm(const ProgramState& s) {
    Json form = Json::object();
    form["format"] = kJsonFormat;
    form["version"] = kJsonVersion;
    const bool bandValid =
        s.BandSelection >= 0 && s.BandSelection < static_cast<int>(kBands.size());
    form["band"] = bandValid ? Json(std::string(kBands[s.BandSelection].text)) : Json(nullptr);

    Json channels = Json::array();
    for (int row = 1; row <= kChannels; ++row) channels.push_back(ExportJsonChannel(s, row));
    form["channels"] = channels;

    Json settings = Json::object();
    for (const ImageField* field : FormFields()) {
        Json& member = settings[std::string(field->json)];
        for (int i = 0; i < field->count; ++i) {
            if (IsArray(*field))
                member.push_back(FieldJson(s, *field, i));
            else
                member = FieldJson(s, *field, i);
        }
    }
    form["settings"] = settings;
    return form;
}

namespace {

// ---- import: value checks -------------------------------------------------------

bool AllOf(std::string_view text, std::string_view characters) {
    return text.find_first_not_of(characters) == std::string_view::npos;
}

constexpr std::string_view kDigits = "0123456789";

// "ddd.ddddd", as the frequency editors write it, or with the upper-case hex
// digits a read radio may hold where BCD digits belong: every text decoding
// shows is carried back to the same bytes.
bool IsFrequencyText(std::string_view text) {
    constexpr std::string_view kHexDigits = "0123456789ABCDEF";
    return text.size() == 9 && text[3] == '.' && AllOf(text.substr(0, 3), kHexDigits) &&
           AllOf(text.substr(4), kHexDigits);
}

// A tone as the editors and the decoder write it: "D" with one to three octal
// digits and the polarity "N" or "I", or a tone word's tenths with one
// decimal and no leading zero (".5", "62.5", "88.5", up to "6553.5").
bool IsToneText(std::string_view text) {
    const std::size_t n = text.size();
    if (n >= 3 && n <= 5 && text[0] == 'D' && (text[n - 1] == 'N' || text[n - 1] == 'I'))
        return AllOf(text.substr(1, n - 2), "01234567");
    if (n < 2 || n > 6 || text[n - 2] != '.' || text[0] == '0') return false;
    if (!AllOf(text.substr(0, n - 2), kDigits) || !AllOf(text.substr(n - 1), kDigits)) return false;
    return Val(text) <= 6553.5;
}

void RequireKnownKeys(const Json& object, const std::string& field,
                      std::initializer_list<std::string_view> known) {
    for (const auto& [key, value] : object.items())
        if (std::find(known.begin(), known.end(), key) == known.end())
            Refuse(field.empty() ? key : field + "." + key, "is not a field of the form");
}

const Json& RequireArray(const Json& value, const std::string& field, std::size_t size) {
    if (!value.is_array() || value.size() != size)
        Refuse(field, "must be an array of " + std::to_string(size) + " entries");
    return value;
}

std::optional<int> IntegerIn(const Json& value, int low, int high) {
    if (value.is_number_unsigned()) {
        const auto n = value.get<std::uint64_t>();
        if (n > static_cast<std::uint64_t>(high) || static_cast<long long>(n) < low)
            return std::nullopt;
        return static_cast<int>(n);
    }
    if (!value.is_number_integer()) return std::nullopt;
    const auto n = value.get<std::int64_t>();
    if (n < low || n > high) return std::nullopt;
    return static_cast<int>(n);
}

std::string RangeReason(int low, int high) {
    return "must be an integer from " + std::to_string(low) + " to " + std::to_string(high);
}

const std::string& String(const Json& value, const std::string& field) {
    if (!value.is_string()) Refuse(field, "must be a string");
    return value.get_ref<const std::string&>();
}

// A radio text field: characters of codes 0..255, at most `length` of them.
// `filler` lists the bytes that reading the field back skips or changes, so
// that storing them would lose data.
std::string RadioText(const Json& value, const std::string& field, std::size_t length,
                      std::string_view filler, const char* fillerReason) {
    const std::string& utf8 = String(value, field);
    if (!FitsSingleByte(utf8)) Refuse(field, "holds a character above code 255");
    std::string bytes = BytesFromUtf8(utf8);
    if (bytes.size() > length)
        Refuse(field, "is longer than " + std::to_string(length) + " characters");
    if (bytes.find_first_of(filler) != std::string::npos) Refuse(field, fillerReason);
    return bytes;
}

constexpr std::string_view kFF = "\xFF";
constexpr const char* kFFReason =
    "holds the character \\u00ff, which the radio keeps as an unused position";

// FF FF FF FF, which the encoder writes for an empty receive frequency.
constexpr std::string_view kEmptyChannelMark = "FFF.FFFFF";

std::string FrequencyOrEmpty(const Json& value, const std::string& field) {
    const std::string& text = String(value, field);
    if (!text.empty() && !IsFrequencyText(text))
        Refuse(field, "must be \"\" or a frequency of the form ddd.ddddd");
    return text;
}

// ---- import: applying -------------------------------------------------------------

void ApplyInteger(const Json& value, const std::string& name, const ImageField& field, int i,
                  ProgramState& s) {
    const bool plusOne = field.coding == Coding::PositionPlusOne;
    if (plusOne && value.is_null()) {
        SetSettingNumber(s, field, -1, i); // no selection: stored as 00
        return;
    }
    // The image keeps a tenth of the first-digit delay in one byte and reading
    // takes back only low..high, so other values would not survive a save and
    // reopen; 0 is the start-up value.
    const bool tenth = field.coding == Coding::Tenth;
    const std::optional<int> n = IntegerIn(value, tenth ? 0 : field.low, field.high);
    if (n && (!tenth || *n == 0 || (*n >= field.low && *n % 10 == 0))) {
        SetSettingNumber(s, field, *n, i);
        return;
    }
    std::string reason = RangeReason(field.low, field.high);
    if (plusOne) reason += ", or null for no selection";
    if (tenth)
        reason = "must be 0 or a multiple of 10 from " + std::to_string(field.low) + " to " +
                 std::to_string(field.high);
    Refuse(name, reason);
}

// A scan resume delay is the text of its box; the image stores its numeric
// value, and reading takes back low..high.
void ApplyDelay(const Json& value, const std::string& name, const ImageField& field,
                ProgramState& s) {
    const std::string& text = String(value, name);
    const double n = Val(text);
    if (n < field.low || n > field.high || n != std::floor(n))
        Refuse(name, "must be a text whose number is a whole number from " +
                         std::to_string(field.low) + " to " + std::to_string(field.high));
    FieldText(s, field) = text;
}

void ApplyTestRow(const Json& pair, const std::string& name, int r, ProgramState& s) {
    if (!pair.is_object()) Refuse(name, "must be an object with \"rx\" and \"tx\"");
    RequireKnownKeys(pair, name, {"rx", "tx"});
    if (pair.contains("rx")) s.TestFrequencyTable[r] = FrequencyOrEmpty(pair["rx"], name + ".rx");
    if (pair.contains("tx"))
        s.TestFrequencyTable[r + kChannels] = FrequencyOrEmpty(pair["tx"], name + ".tx");
}

// Field i of `field` from its member (or array entry) `name` of the form.
void ApplyField(const Json& value, const std::string& name, const ImageField& field, int i,
                ProgramState& s) {
    switch (field.coding) {
    case Coding::Word:
        return ApplyDelay(value, name, field, s);
    case Coding::TextKeepFF: // reading the ID code back keeps FF
        FieldText(s, field, i) = RadioText(value, name, field.width, "", kFFReason);
        return;
    case Coding::Text:
        FieldText(s, field, i) = RadioText(value, name, field.width, kFF, kFFReason);
        return;
    case Coding::DialText:
        FieldText(s, field, i) =
            RadioText(value, name, field.width, "\xFF:",
                      "holds \\u00ff or \":\", which the radio cannot keep in an auto-dial "
                      "memory (\":\" reads back as \"0\")");
        return;
    case Coding::Frequencies:
        return ApplyTestRow(value, name, i, s);
    default:
        return ApplyInteger(value, name, field, i, s);
    }
}

void ApplyChannel(const Json& value, int row, const std::string& field, ProgramState& s) {
    if (value.is_null()) {
        s.Channel(row).reset();
        return;
    }
    if (!value.is_object()) Refuse(field, "must be an object, or null for an empty channel");
    for (const auto& [key, member] : value.items())
        if (std::find(kChannelKeys.begin(), kChannelKeys.end(), key) == kChannelKeys.end())
            Refuse(field + "." + key, "is not a field of a channel");

    if (value.contains("rx")) {
        const std::string& rx = String(value["rx"], field + ".rx");
        if (!IsFrequencyText(rx) || rx == kEmptyChannelMark)
            Refuse(field + ".rx", "must be a frequency of the form ddd.ddddd");
        // A new channel gets the defaults the receive-frequency editor gives it.
        if (s.ChannelEmpty(row))
            GiveNewChannelDefaults(s, row, FrequencyOfText(rx));
        else
            s.Channel(row)->rx = FrequencyOfText(rx);
    } else if (s.ChannelEmpty(row)) {
        Refuse(field + ".rx", "is missing (the channel is empty)");
    }
    // The fields the form leaves out keep what the channel holds.
    ChannelRecord channel = *s.Channel(row);
    if (value.contains("tx")) {
        const std::string tx = FrequencyOrEmpty(value["tx"], field + ".tx");
        channel.tx = tx.empty() ? std::nullopt : std::optional(FrequencyOfText(tx));
    }
    for (auto [key, tone] :
         {std::pair{"rx_tone", &channel.rxTone}, std::pair{"tx_tone", &channel.txTone}}) {
        if (!value.contains(key)) continue;
        const std::string name = field + "." + key;
        const std::string& word = String(value[key], name);
        if (word != "off" && !IsToneText(word))
            Refuse(name, "must be \"off\", a tone up to 6553.5 with one decimal, or a DCS code "
                         "D0N..D777I");
        *tone = word == "off" ? kToneOffWord : ToneWordOf(word);
    }
    for (const ListWords& list : kChannelLists) {
        if (!value.contains(list.name)) continue;
        const std::string name = field + "." + list.name;
        const std::string& word = String(value[list.name], name);
        const auto at = std::find(list.words.begin(), list.words.end(), word);
        if (at == list.words.end())
            Refuse(name,
                   std::string("must be \"") + list.words[0] + "\" or \"" + list.words[1] + "\"");
        SetListItem(channel, list.column, static_cast<int>(at - list.words.begin()));
    }
    if (value.contains("scan")) {
        if (!value["scan"].is_boolean()) Refuse(field + ".scan", "must be true or false");
        channel.scan = value["scan"].get<bool>() ? ScanList::kScanned : ScanList::kSkipped;
    }
    s.Channel(row) = channel;
}

void ApplySettings(const Json& settings, ProgramState& s) {
    if (!settings.is_object()) Refuse("settings", "must be an object");
    for (auto member = settings.begin(); member != settings.end(); ++member) {
        const std::string& key = member.key();
        const std::string name = "settings." + key;
        std::vector<std::pair<const ImageField*, int>> entries;
        for (const ImageField* field : FormFields())
            if (field->json == key)
                for (int i = 0; i < field->count; ++i) entries.emplace_back(field, i);
        if (entries.empty()) Refuse(name, "is not a field of the form");
        if (!IsArray(*entries.front().first)) {
            ApplyField(member.value(), name, *entries.front().first, 0, s);
            continue;
        }
        RequireArray(member.value(), name, entries.size());
        for (std::size_t j = 0; j < entries.size(); ++j)
            ApplyField(member.value()[j], Indexed(name, j), *entries[j].first, entries[j].second,
                       s);
    }
}

void ApplyForm(const Json& form, ProgramState& s) {
    if (!form.is_object()) Refuse("(top level)", "must be a JSON object");
    RequireKnownKeys(form, "", {"format", "version", "band", "channels", "settings"});
    if (!form.contains("format") || form["format"] != kJsonFormat)
        Refuse("format", std::string("must be \"") + kJsonFormat + "\"");
    if (!form.contains("version") || form["version"] != kJsonVersion)
        Refuse("version", "must be " + std::to_string(kJsonVersion));
    if (form.contains("band")) {
        const Json& band = form["band"];
        const auto position =
            band.is_string() ? BandPositionFromText(band.get<std::string>()) : std::nullopt;
        if (!position) {
            std::string names;
            for (const Band& b : kBands) names += (names.empty() ? "" : ", ") + std::string(b.text);
            Refuse("band", "must be one of " + names);
        }
        // As decoding does: the band and its limits follow, the channels stay.
        s.BandIndex = *position;
        s.SelectBandPosition(*position);
    }
    if (form.contains("channels")) {
        const Json& channels = RequireArray(form["channels"], "channels", kChannels);
        for (std::size_t i = 0; i < kChannels; ++i)
            ApplyChannel(channels[i], static_cast<int>(i) + 1, Indexed("channels", i), s);
    }
    if (form.contains("settings")) ApplySettings(form["settings"], s);
}

} // namespace

std::optional<JsonFormError> ImportJsonForm(const Json& form, ProgramState& state) {
    ProgramState result = state;
    try {
        ApplyForm(form, result);
    } catch (const FieldError& error) {
        return JsonFormError{error.field, error.reason};
    }
    state = std::move(result);
    return std::nullopt;
}

std::optional<JsonFormError> ImportJsonChannel(const Json& channel, int row,
                                               const std::string& field, ProgramState& state) {
    ProgramState result = state;
    try {
        ApplyChannel(channel, row, field, result);
    } catch (const FieldError& error) {
        return JsonFormError{error.field, error.reason};
    }
    state = std::move(result);
    return std::nullopt;
}

} // namespace quelro::cli
