// The tone list and the conversions between tone texts and ToneWords.
//
// A ToneWord is FFFF for off, 2xxx / Axxx for a DCS code of normal / inverted
// polarity (bit 11 set, bits 8-0 the octal code's value), and otherwise the
// CTCSS frequency times ten.
#include "codes/tone_codes.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "codes/conversions.h"
#include "i18n/captions.h"

namespace quelro {

const std::array<std::string_view, 50> kCtcssTones{
    "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
    "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
    "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9",
    "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.9",
    "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1"};

const std::array<std::string_view, 105> kDcsCodes{
    "023", "025", "026", "031", "032", "036", "043", "047", "051", "053", "054", "065",
    "071", "072", "073", "074", "114", "115", "116", "122", "125", "131", "132", "134",
    "143", "145", "152", "155", "156", "162", "165", "172", "174", "205", "212", "223",
    "225", "226", "243", "244", "245", "246", "251", "252", "255", "261", "263", "265",
    "266", "271", "274", "306", "311", "315", "325", "331", "332", "343", "346", "351",
    "356", "364", "365", "371", "411", "412", "413", "423", "431", "432", "445", "446",
    "452", "454", "455", "462", "464", "465", "466", "503", "506", "516", "523", "526",
    "532", "546", "565", "606", "612", "624", "627", "631", "632", "645", "654", "662",
    "664", "703", "712", "723", "731", "732", "734", "743", "754"};

std::string ToneItem(int index, int languageMode) {
    if (index <= 0) return Localize(kToneOff, languageMode);
    if (index <= 50) return std::string(kCtcssTones.at(index - 1));
    if (index < kFirstDcsInverted)
        return "D" + std::string(kDcsCodes.at(index - kFirstDcsNormal)) + "N";
    return "D" + std::string(kDcsCodes.at(index - kFirstDcsInverted)) + "I";
}

// Decoding looks up every tone cell, so this reads the tables in place
// rather than building each list entry's text.
int ToneIndexOf(std::string_view text) {
    const auto position = [](const auto& table, std::string_view item) {
        const auto found = std::find(table.begin(), table.end(), item);
        return found == table.end() ? -1 : static_cast<int>(found - table.begin());
    };
    if (text.size() == 5 && text.front() == 'D' && (text.back() == 'N' || text.back() == 'I')) {
        const int code = position(kDcsCodes, text.substr(1, 3));
        if (code < 0) return kToneNotListed;
        return (text.back() == 'N' ? kFirstDcsNormal : kFirstDcsInverted) + code;
    }
    const int tone = position(kCtcssTones, text);
    return tone < 0 ? kToneNotListed : tone + 1;
}

std::string EncodeToneWord(std::string_view cell, std::string_view offText) {
    if (cell.empty() || cell == offText) return "FFFF";
    if (cell.front() == 'D' && (cell.back() == 'N' || cell.back() == 'I')) {
        auto digit = [&](std::size_t pos) {
            return pos < cell.size() ? static_cast<int>(Val(cell.substr(pos, 1))) : 0;
        };
        const int code = digit(1) * 64 + digit(2) * 8 + digit(3);
        std::string bits = HexToBits(HexByte(static_cast<unsigned long>(code)));
        if (bits.size() > 9) bits = bits.substr(bits.size() - 9);
        while (bits.size() <= 8) bits.insert(bits.begin(), '0');
        bits = "100" + bits;
        const std::string h = BitsToHex(bits); // h1 is 8 or 9
        return h.substr(1, 2) + (cell.back() == 'N' ? "2" : "A") + h.substr(0, 1);
    }
    // CTCSS: the tone times ten as a 16-bit word, low byte first. For the
    // listed tones this is the digits without the point; a decoded word of
    // any other value comes back as it was.
    const double tenths = std::round(Val(cell) * 10);
    const auto n = static_cast<unsigned long>(std::clamp(tenths, 0.0, 65535.0));
    const std::string word = HexWord(n);
    return word.substr(2, 2) + word.substr(0, 2);
}

std::string DecodeToneWord(std::string_view word, std::string_view offText, bool& isOff) {
    isOff = word == "FFFF";
    if (isOff) return std::string(offText);
    const char first = word.empty() ? '0' : word.front();
    if (first == '2' || first == 'A') {
        unsigned value = 0;
        for (char c : word.substr(word.size() >= 3 ? word.size() - 3 : 0)) {
            value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c))
                                                           ? c - '0'
                                                           : (c & ~0x20) - 'A' + 10);
        }
        char octal[16];
        std::snprintf(octal, sizeof octal, "%o", value);
        const std::string_view text(octal);
        const std::string_view code = text.size() > 3 ? text.substr(text.size() - 3) : text;
        return "D" + std::string(code) + (first == '2' ? "N" : "I");
    }
    unsigned long n = std::strtoul(std::string(word).c_str(), nullptr, 16);
    const std::string digits = std::to_string(n);
    return digits.substr(0, digits.size() - 1) + "." + digits.substr(digits.size() - 1);
}

std::uint16_t ToneWordOf(std::string_view text) {
    const std::string stored = EncodeToneWord(text, {}); // low byte first
    return static_cast<std::uint16_t>(
        std::strtoul((stored.substr(2, 2) + stored.substr(0, 2)).c_str(), nullptr, 16));
}

std::string ToneWordText(std::uint16_t word) {
    bool isOff = false;
    return DecodeToneWord(HexWord(word), {}, isOff);
}

std::uint16_t WrittenToneWord(std::uint16_t stored) {
    return ToneWordOf(ToneWordText(stored));
}

} // namespace quelro
