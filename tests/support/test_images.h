// Hand-written memory images for the quelro-cli tests: the image of the
// start-up state, spelled out field by field, a way to patch fields in, and
// an image with a few rich channels.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace quelro::test {

inline std::string Repeat(std::string_view hex, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += hex;
    return out;
}

// The start-up state (band 400-500MHz, all selectors at position 1) as 1696
// hex characters.
inline std::string FreshImage() {
    std::string image = Repeat("FFFFFFFFFFFFFFFFFFFFFFFFF8F0FCFF", 16); // empty channels
    image += "0001000101010000";                                        // 0x100 DTMF group
    image += "FFFFFFFFFF"
             "0A00"
             "FF";             // 0x108 side keys 10, 0
    image += Repeat("FF", 15); // 0x110 empty ID code
    image += "01020101"
             "00"
             "010101"; // 0x11F general, PTT ID
    image += "010101010101"
             "FF"
             "FF"
             "FF";                                              // 0x127 VOX, duplicate 1
    image += "31" + Repeat("FF", 15) + "32" + Repeat("FF", 15); // 0x130 PTT codes "1", "2"
    image += "0001010101"
             "0000"
             "0000" +
             Repeat("FF", 21); // 0x150 scan settings
    image += "0000";           // 0x16E scan bitmaps
    image += "FFFFFF"
             "D0"
             "FFFFFFFF"
             "5C" +
             Repeat("FF", 47); // 0x170 power 208, 92
    image += "524D443437"
             "33"
             "F8FF" +
             Repeat("FF", 64);        // 0x1A8 tag, band
    for (char m = '1'; m <= '8'; ++m) // 0x1F0 auto-dial "1".."8"
        image += std::string("3") + m + Repeat("FF", 15);
    image += Repeat("FF", 128); // 0x270 test frequencies
    image += Repeat("FF", 64);  // 0x2F0 embedded info
    image += "524D4B56343730" + Repeat("FF", 5) + "33" + "FFFFFF" + "3532373138333034" +
             Repeat("88", 8); // 0x330 tail
    return image;
}

// `image` with the bytes at image offset `offset` replaced by `hex`.
inline std::string Patch(std::string image, std::size_t offset, std::string_view hex) {
    image.replace(offset * 2, hex.size(), hex);
    return image;
}

// Channels 1, 2 and 16 with cross tones, an offset, no transmit frequency,
// both powers and bandwidths; channel 2 alone in the scan list.
inline std::string RichImage() {
    std::string image = Patch(FreshImage(), 0x00, "506225465062254613287503F0F0FCFF");
    image = Patch(image, 0x10, "2506604425061045FFFFFFFFF8C0FCFF");
    image = Patch(image, 0xF0, "00000040FFFFFFFF13A813A8F8F0FCFF");
    return Patch(image, 0x16E, "0200");
}

// Hand-checked bytes of fields, each a value the program keeps: decoding the
// fresh image with these bytes patched in and encoding again gives them back.
struct RoundTripCase {
    const char* name;
    std::size_t offset;
    const char* hex;
};

inline constexpr RoundTripCase kFieldVectors[] = {
    {"channel", 0x00, "5062254650622546FFFFFFFFF0F0FCFF"},
    {"empty_tx", 0x10, "00005014FFFFFFFFFFFFFFFFF8C0FCFF"},
    {"tones_dcs_ctcss", 0x20, "000050140000501413287503F8D0FCFF"},
    {"tones_inverted_100", 0x30, "0000501400005014ECA9E803F0E0FCFF"},
    {"dcs_outside_list", 0x40, "00005014000050140028FFA9F0C0FCFF"},
    {"channel_16", 0xF0, "0000501400005014ED09FFFFF8F0FCFF"},
    {"odd_tones_non_bcd", 0x50, "50F2A546FFFFFFFF05007102F8F0FCFF"},
    {"dtmf_group", 0x100, "030364031001390F"},
    {"side_keys", 0x10D, "0B0B"},
    {"id_code", 0x110, "30313233343536373839"},
    {"id_code_high_bytes", 0x110, "00FE80FFFFFFFFFFFFFF"},
    {"general_max", 0x11F, "02280A0200090000"},
    {"no_timeout", 0x120, "00"},
    {"vox_duplicate", 0x127, "0000000A0500FFFEFF"},
    {"ptt_codes", 0x130,
     "2A23303132333435363738394142434444"
     "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"},
    {"scan_settings", 0x150,
     "020F5B0503"
     "2C01"
     "0000"},
    {"power_levels", 0x173, "00FFFFFFFFFF"},
    {"auto_dial", 0x1F0, "313A323AFFFFFFFFFFFFFFFFFFFFFFFF"},
    {"test_frequencies", 0x270,
     "5062254650622546"
     "00005014FFFFFFFF"
     "FFFFFF00FFFFFFFF"},
    {"embedded_info", 0x2F0,
     "48656C6C6FE9"
     "FFFFFFFFFFFFFFFFFFFFFFFFFF"}};

} // namespace quelro::test
