// The fields of the 848-byte memory image, each described once: where it
// lies, how its bytes code its value, which values it holds, where the
// program state keeps it, and how the JSON form and the windows name it.
// The codec, the JSON form, the settings texts of compare and print and the
// optional-function window's lists are all built from this table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "channels/program_state.h"
#include "i18n/captions.h"

namespace quelro {

inline constexpr std::size_t kImageBytes = 848;

// One setting written by the decoder, in the decoder's order, so that a
// window layer can push each value into its control as decoding does.
struct DecodeStep {
    enum Kind {
        SideKeyPF1,
        SideKeyPF2,
        PttIdMode,
        CancelOperation,
        VoxRxInhibit,
        VoxEnable,
        VoxGain,
        VoxDelay,
        VoxTone,
        Duplicate,
        PriorityMode,
        PriorityChannel,
        RetraceTimeA,
        RetraceTimeB,
        ReturnChannel,
        ScanRxResumeDelay,
        ScanTxResumeDelay,
        TxPowerHigh,
        TxPowerLow,
        Band,             // only when the image's band code matched
        TestFrequencyRow, // index = row 1..16
        EmbeddedInfoLine1,
        EmbeddedInfoLine2,
    };
    Kind kind;
    int index = 0;
    bool operator==(const DecodeStep&) const = default;
};

// How a field's bytes code its value.
enum class Coding : std::uint8_t {
    Fill,            // the constant bytes `fill`; never read
    Channels,        // a 16-byte channel record
    ScanBitmaps,     // channel k in bit k-1 of the first byte, k-9 of the second
    BandCode,        // the band's code; the band follows when the code is known
    BandCopy,        // the band's code again; never read
    Position,        // one byte, the value itself
    PositionPlusOne, // one byte, the value + 1; 00 is no selection (-1)
    Tenth,           // one byte, the value / 10
    DigitCharacter,  // 00 for 0, else the character of the digit; FF reads as 0
    EmptyAsFF,       // one byte; the value 0 is stored, and read back, as FF
    LowBit,          // bit 0 of a byte whose other bits are set: FE or FF
    Word,            // two bytes, low byte first
    Text,            // a character per byte, FF beyond the text; FF read is skipped
    TextKeepFF,      // as Text, but reading keeps every byte, FF included
    DialText,        // as Text, with the character "0" stored as 3A
    Frequencies,     // a test-frequency row: receive, then transmit, BCD or FF FF FF FF
};

// Where the program state keeps a field's value.
enum class Store : std::uint8_t {
    None,
    Channels,
    Band,
    Main,          // MainSelectors[index]
    FunctionText,  // Functions.Text[index], a number as its decimal text
    FunctionValue, // Functions.Value[index]
    SideKey,       // SideKeyFunction[index]
    Power,         // TxPowerHigh (0) or TxPowerLow (1)
    AutoDial,      // Functions.AutoDialMemory[index]
    Embedded,      // EmbeddedInfo[index]
    TestRow,       // TestFrequencyTable row index + 1
};

// The windows (or parts of one) that show settings, in the order the
// settings texts list them.
enum class SettingGroup : std::uint8_t {
    None,            // shown by no settings window (the channels, fill)
    Band,            // the main window's model frame
    General,         // the main window's function frame
    Optional,        // the optional-function window
    Dtmf,            // the hidden part of the optional-function window
    Keys,            // the key settings window
    Embedded,        // the embedded information window
    Service,         // the service adjust window
    TestFrequencies, // the test frequency window
};

// The kind of control that shows a setting of the optional-function window,
// in the order the window loads them.
enum class Control : std::uint8_t { None, List, Box, Check };

// How a field's values are named where they are shown.
enum class Naming : std::uint8_t {
    None,
    Number,   // the decimal number
    MainList, // the main window's selector list
    PttId,
    OffOn,
    VoxGain, // "Off", then the numbers
    VoxDelay,
    Priority,
    ChannelNumber, // "01".."16"
    Retrace,       // "Empty", then the seconds
    ReturnChannel,
    DtmfRate,
    DigitTime,
    Milliseconds, // the number and "MS"
    DKey,
    GroupCall,
    AutoReset,
    SideKeyFunction,
    AsStored,  // the setting's own text
    Check,     // "[ ]" or "[x]"
    RadioText, // between quotes
    Band,
    Frequencies,
};

struct ImageField {
    int offset;
    int width; // bytes of one field
    int count; // fields of this width that follow one another
    Coding coding;
    Store store;
    int index; // in the store, of the first field
    // The values the setting takes from the image; a byte coding any other
    // value leaves the setting as it was.
    int low = 0;
    int high = 0;
    std::string_view fill = ""; // Coding::Fill: the bytes in hex, repeated over the width
    std::string_view json = ""; // the member of the JSON form's settings; "" none
    Caption caption{};          // the caption beside the control that shows it
    SettingGroup group = SettingGroup::None;
    Control control = Control::None;
    Naming naming = Naming::None;
    std::optional<DecodeStep::Kind> step{}; // the decoder's step for its control

    constexpr std::size_t End() const { return static_cast<std::size_t>(offset + width * count); }
};

// Every field of the image, in offset order, from 0x000 to 0x34F without a
// gap.
std::span<const ImageField> ImageFields();

// The field that holds the byte at image offset `offset`.
const ImageField& FieldAt(std::size_t offset);
// The field the state keeps at `index` of `store`.
const ImageField& FieldOf(Store store, int index);

// A numeric setting's value (the value of its text for one kept as text).
long SettingNumber(const ProgramState& state, const ImageField& field, int i = 0);
void SetSettingNumber(ProgramState& state, const ImageField& field, int value, int i = 0);

// The byte string of a text field.
std::string& FieldText(ProgramState& state, const ImageField& field, int i = 0);
const std::string& FieldText(const ProgramState& state, const ImageField& field, int i = 0);

// The name of item `position` of a field's list in both languages, or none
// for a position outside the list or a list without names there.
struct ItemName {
    std::string zh;
    std::string en;
};
std::optional<ItemName> ItemNameOf(const ImageField& field, int position);

} // namespace quelro
