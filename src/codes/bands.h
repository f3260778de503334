// The radio's frequency-band versions: list texts, limits and image codes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quelro {

struct Band {
    std::string_view text; // "400-500MHz": three digits, "-", three digits, "MHz"
    std::uint8_t code;     // BandCode stored in the memory image
};

inline constexpr std::array<Band, 7> kBands{{
    {"400-500MHz", 0x33},
    {"450-490MHz", 0x21},
    {"400-430MHz", 0x43},
    {"370-390MHz", 0x63},
    {"350-370MHz", 0x53},
    {"136-174MHz", 0x01},
    {"600-720MHz", 0x73},
}};

struct BandLimits {
    int low;  // MHz, inclusive
    int high; // MHz, exclusive
};

// Limits read from an entry text: characters 1..3 and 5..7.
BandLimits LimitsFromText(std::string_view entryText);

// Position of a band in the list by its BandCode, if any.
std::optional<int> BandPositionFromCode(std::uint8_t code);

// Position of a band by its entry text, if any.
std::optional<int> BandPositionFromText(std::string_view text);

// Band index of the radio's identity reply: byte 6 compared with the decimal
// constants 33, 21, 43, 63, 53 and 1 (so 0x21 is band 0). No match: nullopt.
std::optional<int> RadioBandFromIdentityByte(std::uint8_t value);

} // namespace quelro
