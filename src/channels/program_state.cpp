// The program-wide store: start-up values and the channel-table operations.
#include "channels/program_state.h"

#include <algorithm>

#include "codes/bands.h"
#include "i18n/captions.h"

namespace quelro {

ProgramState ProgramState::StartUp() {
    ProgramState s;
    auto& text = s.Functions.Text;
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 16, 20, 21, 22, 23}) text[i] = "1";
    text[kPriorityMode] = "0";
    text[kPttEndCode] = "2";
    s.Functions.Value = {0, 1, 0, 1, 1, 1, 0, 0};
    for (int m = 0; m < 8; ++m) s.Functions.AutoDialMemory[m] = std::to_string(m + 1);
    s.SelectBandPosition(0);
    return s;
}

std::string ProgramState::CellText(int row, int column, int languageMode) const {
    if (column == kColNumber) return ChannelNumberText(row);
    const std::optional<ChannelRecord>& channel = Channel(row);
    return channel ? quelro::CellText(*channel, column, languageMode) : std::string();
}

void ProgramState::SelectBandPosition(int position) {
    BandSelection = position;
    if (position < 0 || position >= static_cast<int>(kBands.size())) return;
    const BandLimits limits = LimitsFromText(kBands[position].text);
    BandLow = limits.low;
    BandHigh = limits.high;
}

void ProgramState::SetIdCode(std::string_view bytes) {
    Functions.Text[kIdCode] = bytes.substr(0, kIdCodeLength);
}
void ProgramState::SetPttStartCode(std::string_view bytes) {
    Functions.Text[kPttStartCode] = bytes.substr(0, kPttCodeLength);
}
void ProgramState::SetPttEndCode(std::string_view bytes) {
    Functions.Text[kPttEndCode] = bytes.substr(0, kPttCodeLength);
}
void ProgramState::SetAutoDialMemory(int index, std::string_view bytes) {
    Functions.AutoDialMemory.at(index) = bytes.substr(0, kAutoDialLength);
}
void ProgramState::SetEmbeddedInfo(int line, std::string_view bytes) {
    EmbeddedInfo.at(line) = bytes.substr(0, kEmbeddedInfoLength);
}
void ProgramState::SetTxPowerHigh(int level) {
    TxPowerHigh = std::clamp(level, 0, 255);
}
void ProgramState::SetTxPowerLow(int level) {
    TxPowerLow = std::clamp(level, 0, 255);
}

namespace {

// Next code point of a UTF-8 text; malformed bytes are taken one by one.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int extra = lead >= 0xF8 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra == 0 || i + extra >= text.size()) {
        ++i;
        return lead;
    }
    char32_t cp = lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return lead;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    i += 1 + extra;
    return cp;
}

} // namespace

std::string BytesFromUtf8(std::string_view utf8) {
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = NextCodePoint(utf8, i);
        if (cp <= 0xFF) bytes += static_cast<char>(cp);
    }
    return bytes;
}

std::string Utf8FromBytes(std::string_view bytes) {
    std::string utf8;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (b >> 6));
            utf8 += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return utf8;
}

bool FitsSingleByte(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();)
        if (NextCodePoint(utf8, i) > 0xFF) return false;
    return true;
}

} // namespace quelro
