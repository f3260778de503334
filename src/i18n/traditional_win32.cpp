// Simplified-to-Traditional conversion through the table made at build time
// from our own texts (no OpenCC on Windows).
#include <algorithm>

#include "i18n/traditional.h"
#include "i18n/traditional_table.h"
#include "i18n/utf8.h"

namespace quelro {
namespace {

// The length of the UTF-8 sequence a lead byte starts.
std::size_t SequenceLength(unsigned char lead) {
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

char32_t Decode(std::string_view character) {
    const auto lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1) return lead;
    char32_t value = lead & (0x7F >> character.size());
    for (std::size_t i = 1; i < character.size(); ++i)
        value = (value << 6) | (static_cast<unsigned char>(character[i]) & 0x3F);
    return value;
}

} // namespace

std::string ToTraditional(std::string_view text) {
    const std::vector<TraditionalPair>& table = TraditionalTable();
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length =
            std::min(SequenceLength(static_cast<unsigned char>(text[at])), text.size() - at);
        const std::string_view character = text.substr(at, length);
        at += length;
        const char32_t c = Decode(character);
        const auto found = std::lower_bound(
            table.begin(), table.end(), c,
            [](const TraditionalPair& pair, char32_t key) { return pair.simplified < key; });
        if (found == table.end() || found->simplified != c)
            out += character;
        else
            out += EncodeUtf8(found->traditional);
    }
    return out;
}

bool TraditionalAvailable() {
    return !TraditionalTable().empty();
}

} // namespace quelro
