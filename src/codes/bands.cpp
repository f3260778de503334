// Band list lookups.
#include "codes/bands.h"

#include "codes/conversions.h"

namespace quelro {

BandLimits LimitsFromText(std::string_view entryText) {
    return {
        static_cast<int>(Val(entryText.substr(0, 3))),
        static_cast<int>(Val(entryText.size() > 4 ? entryText.substr(4, 3) : std::string_view{}))};
}

std::optional<int> BandPositionFromCode(std::uint8_t code) {
    for (std::size_t i = 0; i < kBands.size(); ++i)
        if (kBands[i].code == code) return static_cast<int>(i);
    return std::nullopt;
}

std::optional<int> BandPositionFromText(std::string_view text) {
    for (std::size_t i = 0; i < kBands.size(); ++i)
        if (kBands[i].text == text) return static_cast<int>(i);
    return std::nullopt;
}

std::optional<int> RadioBandFromIdentityByte(std::uint8_t value) {
    // The identity carries the band as a byte compared with decimal numbers,
    // so these are not the BandCode values of the image.
    static constexpr std::array<int, 6> kIdentityCodes{33, 21, 43, 63, 53, 1};
    for (std::size_t i = 0; i < kIdentityCodes.size(); ++i)
        if (kIdentityCodes[i] == value) return static_cast<int>(i);
    return std::nullopt;
}

} // namespace quelro
