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

#include "channels/cell_edit.h"
#include "channels/channel_record.h"
#include "codes/bands.h"
#include "codes/conversions.h"

namespace quelro::cli {
namespace {

struct FieldError {
    std::string field;
    std::string reason;
};

[[noreturn]] void Refuse(const std::string& field, const std::string& reason) {
    throw FieldError{field, reason};
}

// Integer settings, addressed where ProgramState keeps them.
enum class Store { Main, Text, Value, Power };

struct IntegerSetting {
    const char* name;
    Store store;
    int index;
    int low;
    int high;
};

// In the order of the form.
constexpr std::array<IntegerSetting, 29> kIntegerSettings{{
    {"voice_prompt", Store::Main, kVoicePrompt, 0, 2},
    {"tx_timeout", Store::Main, kTxTimeout, 0, 39}, // null: no selection
    {"timeout_warning", Store::Main, kTimeoutWarn, 0, 10},
    {"squelch", Store::Main, kSquelch, 0, 9},
    {"battery_save", Store::Main, kBatterySave, 0, 1},
    {"beep", Store::Main, kBeep, 0, 1},
    {"ptt_id_mode", Store::Text, kPttIdMode, 0, 2},
    {"vox_enable", Store::Text, kVoxEnable, 0, 1},
    {"vox_gain", Store::Text, kVoxGain, 0, 10},
    {"vox_delay", Store::Text, kVoxDelay, 0, 5},
    {"vox_tone", Store::Text, kVoxTone, 0, 1},
    {"duplicate", Store::Text, kDuplicate, 0, 1},
    {"priority_mode", Store::Text, kPriorityMode, 0, 2},
    {"priority_channel", Store::Text, kPriorityChannel, 0, 15},
    {"retrace_time_a", Store::Text, kRetraceTimeA, 0, 91},
    {"retrace_time_b", Store::Text, kRetraceTimeB, 0, 91},
    {"return_channel", Store::Text, kReturnChannel, 0, 3},
    {"cancel_operation", Store::Text, kCancelOperation, 0, 1},
    {"vox_rx_inhibit", Store::Text, kVoxRxInhibit, 0, 1},
    {"dtmf_rate", Store::Value, kDtmfRate, 0, 3},
    {"first_digit_time", Store::Value, kFirstDigitTime, 0, 3},
    {"first_digit_delay", Store::Value, kFirstDigitDelay, 0, 1000}, // see FirstDigitDelay
    {"star_hash_tone", Store::Value, kStarHashTone, 0, 3},
    {"d_key_setting", Store::Value, kDKeySetting, 0, 16},
    {"dtmf_side_tone", Store::Value, kDtmfSideTone, 0, 1},
    {"group_call_code", Store::Value, kGroupCallCode, 0, 9},
    {"auto_reset_timer", Store::Value, kAutoResetTimer, 0, 15},
    {"tx_power_high", Store::Power, 0, 0, 255},
    {"tx_power_low", Store::Power, 1, 0, 255},
}};

// The byte-string settings.
struct TextSetting {
    const char* name;
    int index; // FunctionSettings text position
    std::size_t length;
};

constexpr std::array<TextSetting, 3> kTextSettings{{
    {"id_code", kIdCode, kIdCodeLength},
    {"ptt_start_code", kPttStartCode, kPttCodeLength},
    {"ptt_end_code", kPttEndCode, kPttCodeLength},
}};

constexpr std::array<std::pair<const char*, int>, 2> kDelaySettings{{
    {"scan_rx_resume_delay", kScanRxResumeDelay},
    {"scan_tx_resume_delay", kScanTxResumeDelay},
}};

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

bool IsTxTimeout(const IntegerSetting& setting) {
    return setting.store == Store::Main && setting.index == kTxTimeout;
}
bool IsFirstDigitDelay(const IntegerSetting& setting) {
    return setting.store == Store::Value && setting.index == kFirstDigitDelay;
}

// ---- export -------------------------------------------------------------------

int IntegerOf(const ProgramState& s, const IntegerSetting& setting) {
    switch (setting.store) {
    case Store::Main:
        return s.MainSelectors[setting.index];
    case Store::Text:
        // The encoder reads these texts by their numeric value.
        return static_cast<int>(Val(s.Functions.Text[setting.index]));
    case Store::Value:
        return s.Functions.Value[setting.index];
    case Store::Power:
        return setting.index == 0 ? s.TxPowerHigh : s.TxPowerLow;
    }
    return 0;
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
    for (const IntegerSetting& setting : kIntegerSettings) {
        const int value = IntegerOf(s, setting);
        const bool noSelection = IsTxTimeout(setting) && value < 0;
        settings[setting.name] = noSelection ? Json(nullptr) : Json(value);
    }
    for (const auto& [name, index] : kDelaySettings) settings[name] = s.Functions.Text[index];
    for (const TextSetting& setting : kTextSettings)
        settings[setting.name] = Utf8FromBytes(s.Functions.Text[setting.index]);
    Json memories = Json::array();
    for (const std::string& memory : s.Functions.AutoDialMemory)
        memories.push_back(Utf8FromBytes(memory));
    settings["auto_dial_memories"] = memories;
    settings["side_keys"] = {s.SideKeyFunction[0], s.SideKeyFunction[1]};
    settings["embedded_info"] = {Utf8FromBytes(s.EmbeddedInfo[0]),
                                 Utf8FromBytes(s.EmbeddedInfo[1])};
    Json tests = Json::array();
    for (int r = 1; r <= kChannels; ++r)
        tests.push_back(
            {{"rx", s.TestFrequencyTable[r - 1]}, {"tx", s.TestFrequencyTable[r + 15]}});
    settings["test_frequencies"] = tests;
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

int Integer(const Json& value, const std::string& field, int low, int high) {
    const std::optional<int> n = IntegerIn(value, low, high);
    if (!n) Refuse(field, RangeReason(low, high));
    return *n;
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

void SetInteger(ProgramState& s, const IntegerSetting& setting, int n) {
    switch (setting.store) {
    case Store::Main:
        s.MainSelectors[setting.index] = n;
        break;
    case Store::Text:
        s.Functions.Text[setting.index] = std::to_string(n);
        break;
    case Store::Value:
        s.Functions.Value[setting.index] = n;
        break;
    case Store::Power:
        (setting.index == 0 ? s.TxPowerHigh : s.TxPowerLow) = n;
        break;
    }
}

void ApplyInteger(const Json& value, const IntegerSetting& setting, ProgramState& s) {
    if (IsTxTimeout(setting) && value.is_null()) {
        s.MainSelectors[kTxTimeout] = -1; // no selection: stored as 00
        return;
    }
    const std::optional<int> n = IntegerIn(value, setting.low, setting.high);
    // The image keeps a tenth of the first-digit delay in one byte and reading
    // takes back only 100..1000 ms, so other values would not survive a save
    // and reopen.
    const bool delayKept =
        !IsFirstDigitDelay(setting) || !n || *n == 0 || (*n >= 100 && *n % 10 == 0);
    if (n && delayKept) {
        SetInteger(s, setting, *n);
        return;
    }
    std::string reason = RangeReason(setting.low, setting.high);
    if (IsTxTimeout(setting)) reason += ", or null for no selection";
    if (IsFirstDigitDelay(setting)) reason = "must be 0 or a multiple of 10 from 100 to 1000";
    Refuse(std::string("settings.") + setting.name, reason);
}

// A scan resume delay is the text of its box; the image stores its numeric
// value, and reading takes back 0..300.
void ApplyDelay(const Json& value, const std::string& field, int index, ProgramState& s) {
    const std::string& text = String(value, field);
    const double n = Val(text);
    if (n < 0 || n > 300 || n != std::floor(n))
        Refuse(field, "must be a text whose number is a whole number from 0 to 300");
    s.Functions.Text[index] = text;
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
        const Json& value = member.value();
        const std::string field = "settings." + key;
        const auto integer = std::find_if(kIntegerSettings.begin(), kIntegerSettings.end(),
                                          [&](const IntegerSetting& i) { return key == i.name; });
        if (integer != kIntegerSettings.end()) {
            ApplyInteger(value, *integer, s);
            continue;
        }
        const auto text = std::find_if(kTextSettings.begin(), kTextSettings.end(),
                                       [&](const TextSetting& t) { return key == t.name; });
        if (text != kTextSettings.end()) {
            // Reading the ID code back keeps FF; the PTT codes skip it.
            const bool idCode = text->index == kIdCode;
            s.Functions.Text[text->index] =
                RadioText(value, field, text->length, idCode ? "" : kFF, kFFReason);
            continue;
        }
        const auto delay = std::find_if(kDelaySettings.begin(), kDelaySettings.end(),
                                        [&](const auto& d) { return key == d.first; });
        if (delay != kDelaySettings.end()) {
            ApplyDelay(value, field, delay->second, s);
        } else if (key == "auto_dial_memories") {
            RequireArray(value, field, 8);
            for (std::size_t m = 0; m < 8; ++m)
                s.SetAutoDialMemory(
                    static_cast<int>(m),
                    RadioText(value[m], Indexed(field, m), kAutoDialLength, "\xFF:",
                              "holds \\u00ff or \":\", which the radio cannot keep in an "
                              "auto-dial memory (\":\" reads back as \"0\")"));
        } else if (key == "side_keys") {
            RequireArray(value, field, 2);
            for (std::size_t k = 0; k < 2; ++k)
                s.SideKeyFunction[k] = Integer(value[k], Indexed(field, k), 0, 11);
        } else if (key == "embedded_info") {
            RequireArray(value, field, 2);
            for (std::size_t line = 0; line < 2; ++line)
                s.SetEmbeddedInfo(static_cast<int>(line),
                                  RadioText(value[line], Indexed(field, line), kEmbeddedInfoLength,
                                            kFF, kFFReason));
        } else if (key == "test_frequencies") {
            RequireArray(value, field, kChannels);
            for (std::size_t r = 0; r < kChannels; ++r) {
                const Json& pair = value[r];
                const std::string name = Indexed(field, r);
                if (!pair.is_object()) Refuse(name, "must be an object with \"rx\" and \"tx\"");
                RequireKnownKeys(pair, name, {"rx", "tx"});
                if (pair.contains("rx"))
                    s.TestFrequencyTable[r] = FrequencyOrEmpty(pair["rx"], name + ".rx");
                if (pair.contains("tx"))
                    s.TestFrequencyTable[r + 16] = FrequencyOrEmpty(pair["tx"], name + ".tx");
            }
        } else {
            Refuse(field, "is not a field of the form");
        }
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
