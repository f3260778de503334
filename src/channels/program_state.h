// ProgramState: the one program-wide store of everything that outlives a
// window - the channel table, the main window's selector positions and band,
// and every setting the auxiliary windows edit.
//
// Text conventions:
// - channel-table cells are UTF-8 (list cells hold item texts in the current
//   language);
// - radio text fields (IdCode, PttStartCode, PttEndCode, the auto-dial memories
//   and the embedded information) are byte strings: one char per character,
//   its value the character's single-byte code (0..255), exactly as stored in
//   the image. Use the Set* functions below so that they keep their length.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "i18n/captions.h"

namespace quelro {

inline constexpr int kChannels = 16;
inline constexpr int kGridRows = 17; // row 0 is the header row
inline constexpr int kGridCols = 9;

// Column numbers of the channel table.
enum Column : int {
    kColNumber = 0,
    kColRxFreq = 1,
    kColRxTone = 2,
    kColTxFreq = 3,
    kColTxTone = 4,
    kColPower = 5,
    kColBusyLock = 6,
    kColBandwidth = 7,
    kColScan = 8,
};

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
inline constexpr int kVoicePrompt = static_cast<int>(MainSelector::Combo2);
inline constexpr int kTxTimeout = static_cast<int>(MainSelector::Combo3);
inline constexpr int kTimeoutWarn = static_cast<int>(MainSelector::Combo4);
inline constexpr int kSquelch = static_cast<int>(MainSelector::Combo9);
inline constexpr int kBatterySave = static_cast<int>(MainSelector::Combo6);
inline constexpr int kBeep = static_cast<int>(MainSelector::Combo7);

struct ProgramState {
    // Cell texts of the channel grid, [row][column]; row 0 is unused here (the
    // header texts belong to the view).
    std::array<std::array<std::string, kGridCols>, kGridRows> Cells;
    // 16 x 10 list positions behind the list cells; (row-1, col-2) at
    // linear position (col-2)*16 + (row-1). A tone cell whose text is no
    // entry of the tone list holds kToneNotListed (-1).
    std::array<int, 160> ChoiceIndex{};

    // Selected positions of the selectors, in MainSelector order; -1 is no
    // selection.
    std::array<int, kMainSelectorCount> MainSelectors{1, 1, 1, 1, 1, 1};
    int BandSelection = 0; // position selected in Combo1, -1 none
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
    int LanguageMode = 0;

    // The state the program starts with: start-up values of every setting,
    // 16 empty channels numbered "01".."16", band 0, selectors at position 1.
    static ProgramState StartUp(int languageMode = 0);

    bool operator==(const ProgramState&) const = default;

    std::string& Cell(int row, int col) { return Cells.at(row).at(col); }
    const std::string& Cell(int row, int col) const { return Cells.at(row).at(col); }
    int& Choice(int row, int col) { return ChoiceIndex.at((col - 2) * 16 + (row - 1)); }
    int Choice(int row, int col) const { return ChoiceIndex.at((col - 2) * 16 + (row - 1)); }

    bool ChannelEmpty(int row) const { return Cell(row, kColRxFreq).empty(); }

    // Empties one channel and resets its ChoiceIndex slots of columns 2..10.
    void ClearNO(int row);
    // Empties all 16 channels through ClearNO (a band change).
    void ClearGrid();
    // Blanks every non-empty channel; ChoiceIndex is left alone (New).
    void ClearGrid1();
    // Re-renders the list cells of every non-empty channel in LanguageMode.
    void SetGrid1Text();

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

// Item texts in the state's current language.
std::string ToneOffText(int languageMode);

// UTF-8 to a byte string of single-byte codes: characters above code 255 are
// dropped. And back.
std::string BytesFromUtf8(std::string_view utf8);
std::string Utf8FromBytes(std::string_view bytes);
// True when every character of a UTF-8 text has a single-byte code.
bool FitsSingleByte(std::string_view utf8);

} // namespace quelro
