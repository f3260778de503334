// What differs between two programmings, as the user sees them: channel
// cells as the grid shows them, settings as their windows show them, and
// the bytes of a data file that neither the grid nor the windows (nor the
// JSON form) carry, by their offset in the image. quelro-cli diff and the
// main window's compare window both list these.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "channels/program_state.h"
#include "files/setting_texts.h"

namespace quelro {

// One side of a comparison: the state as opening the file leaves it, and the
// image the file holds (the hex text of
// a data file), or "" for a programming that no image stands behind (a form,
// the table on screen): saving it writes the image encoding gives.
struct Programming {
    ProgramState state;
    std::string imageHex;
};

struct Difference {
    enum Kind {
        ChannelCell,     // both have the channel; one cell differs
        ChannelAppears,  // empty in the first, filled in the second
        ChannelVanishes, // filled in the first, empty in the second
        Setting,
        ImageByte, // a byte the image keeps beyond what the state holds
    };
    Kind kind = ChannelCell;
    int channel = 0;        // grid row 1..16 of the channel kinds
    int column = 0;         // ChannelCell: grid column 1..8
    std::size_t offset = 0; // ImageByte: offset in the image
    // "CH03  RX frequency", "CH05  appears", "Optional Function / VOX GBIN",
    // "Image offset 0x1AD": the channel and column, the setting by its window
    // and caption, or the byte, in the comparison's language.
    std::string where;
    std::string before; // the first's text; a vanishing channel's whole row
    std::string after;  // the second's text; an appearing channel's whole row
};

// The programming that saving `state` writes, as opening that file gives it
// back: what a form is once imported, and what the
// table on screen is compared as (a scan delay box left empty is saved as 0).
Programming SavedProgramming(const ProgramState& state);

// Every difference, channels first, then the settings in the order of
// SettingTexts, then the image bytes by offset; texts in `languageMode`.
std::vector<Difference> CompareProgrammings(const Programming& first, const Programming& second,
                                            int languageMode);

// One line for people: "CH03  RX frequency  446.00625 -> 446.01250",
// "CH05  appears  446.00625 ...", "Optional Function / VOX GBIN  Off -> 3".
std::string DifferenceLine(const Difference& difference);

// "CH03" (English) or "信道03": how a line names a channel.
std::string ChannelName(int channel, int languageMode);

// The image of a programming as saving it writes, except where the file's
// image holds bytes the state does not carry: those stay the file's.
std::string EffectiveImage(const Programming& programming);

} // namespace quelro
