// ProgramState: the one program-wide store of everything that outlives a
// window - the channel table, the main window's selector positions and band,
// and every setting the auxiliary windows edit.
//
// The channels are typed records (channels/channel_record.h): what the table
// shows is drawn from them in whatever language is asked for. Radio text
// fields (IdCode, PttStartCode, PttEndCode, the auto-dial memories
//   and the embedded information) are byte strings: one char per character,
//   its value the character's single-byte code (0..255), exactly as stored in
//   the image. Use the Set* functions below so that they keep their length.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "channels/channel_record.h"
#include "i18n/captions.h"

namespace quelro {

// Positions of FunctionSettings' text list.
enum FunctionText : int {
    kPttIdMode = 3,
    kVoxEnable = 5,
    kVoxGain = 6,
    kVoxDelay = 7,
    kVoxTone = 8,
    kDuplicate = 9,
    kPriorityMode = 10,
    kPriorityChannel = 11,
    kRetraceTimeA = 12,
    kRetraceTimeB = 13,
    kReturnChannel = 14,
    kIdCode = 15,       // byte string, up to 10
    kPttStartCode = 16, // byte string, up to 16
    kPttEndCode = 17,   // byte string, up to 16
    kScanRxResumeDelay = 18,
    kScanTxResumeDelay = 19,
    kCancelOperation = 22,
    kVoxRxInhibit = 23,
};

// Positions of FunctionSettings' 16-bit list.
enum FunctionValue : int {
    kDtmfRate = 0,
    kFirstDigitTime = 1,
    kFirstDigitDelay = 2, // milliseconds
    kStarHashTone = 3,
    kDKeySetting = 4,
    kDtmfSideTone = 5,
    kGroupCallCode = 6,
    kAutoResetTimer = 7,
};

// Field lengths in the image.
inline constexpr std::size_t kIdCodeLength = 10;
inline constexpr std::size_t kPttCodeLength = 16;
inline constexpr std::size_t kAutoDialLength = 16;
inline constexpr std::size_t kEmbeddedInfoLength = 32;

struct FunctionSettings {
    std::array<std::string, 24> Text;
    std::array<int, 8> Value{};
    std::array<std::string, 8> AutoDialMemory; // byte strings, up to 16

    bool operator==(const FunctionSettings&) const = default;
};

// The index in MainSelectors of the selector that sets each general setting.
inline constexpr int kVoicePrompt = static_cast<int>(MainSetting::kVoicePrompt);
inline constexpr int kTxTimeout = static_cast<int>(MainSetting::kTxTimeout);
inline constexpr int kTimeoutWarn = static_cast<int>(MainSetting::kTimeoutWarn);
inline constexpr int kSquelch = static_cast<int>(MainSetting::kSquelch);
inline constexpr int kBatterySave = static_cast<int>(MainSetting::kBatterySave);
inline constexpr int kBeep = static_cast<int>(MainSetting::kBeep);

struct ProgramState {
    // Channels 1..16 at 0..15; none for an empty channel.
    std::array<std::optional<ChannelRecord>, kChannels> Channels;

    // Selected positions of the selectors, in MainSetting order; -1 is no
    // selection.
    std::array<int, kMainSelectorCount> MainSelectors{1, 1, 1, 1, 1, 1};
    int BandSelection = 0; // position selected in the band list, -1 none
    int BandIndex = 0;     // band last confirmed
    int BandLow = 400;
    int BandHigh = 500;

    FunctionSettings Functions;
    std::array<int, 2> SideKeyFunction{10, 0};
    std::array<std::string, 2> EmbeddedInfo;        // byte strings, up to 32
    std::array<std::string, 32> TestFrequencyTable; // rx of row r at r-1, tx at r+15
    int TxPowerHigh = 208;
    int TxPowerLow = 92;
    int ServiceMode = 0;

    // The state the program starts with: start-up values of every setting,
    // 16 empty channels, band 0, selectors at position 1.
    static ProgramState StartUp();

    bool operator==(const ProgramState&) const = default;

    // The channel of grid row 1..16.
    std::optional<ChannelRecord>& Channel(int row) { return Channels.at(row - 1); }
    const std::optional<ChannelRecord>& Channel(int row) const { return Channels.at(row - 1); }
    bool ChannelEmpty(int row) const { return !Channel(row); }
    // The text of cell (row 1..16, column 0..8) in a language; "" in every
    // column but the number of an empty channel.
    std::string CellText(int row, int column, int languageMode) const;

    // Selects a band position and takes its limits (no question, no clearing).
    void SelectBandPosition(int position);

    // Setters that keep the image's invariants: byte strings cut to their
    // field length, values limited to 0..255.
    void SetIdCode(std::string_view bytes);
    void SetPttStartCode(std::string_view bytes);
    void SetPttEndCode(std::string_view bytes);
    void SetAutoDialMemory(int index, std::string_view bytes);
    void SetEmbeddedInfo(int line, std::string_view bytes);
    void SetTxPowerHigh(int level);
    void SetTxPowerLow(int level);
};

// UTF-8 to a byte string of single-byte codes: characters above code 255 are
// dropped. And back.
std::string BytesFromUtf8(std::string_view utf8);
std::string Utf8FromBytes(std::string_view bytes);
// True when every character of a UTF-8 text has a single-byte code.
bool FitsSingleByte(std::string_view utf8);

} // namespace quelro
