// Breaks reported by ClearCommError placed in the byte stream.
#include "link/comm_break_decoder.h"

#include <string>

namespace quelro {

std::vector<SerialEvent> CommBreakDecoder::Feed(unsigned long commErrors, std::string_view bytes) {
    breakPending_ = breakPending_ || (commErrors & kCommErrorBreak) != 0;
    std::vector<SerialEvent> events;
    if (bytes.empty()) return events;
    if (breakPending_) {
        const std::size_t nul = bytes.find('\0');
        const std::size_t at = nul == std::string_view::npos ? 0 : nul;
        if (at > 0) events.push_back({SerialEvent::Data, std::string(bytes.substr(0, at))});
        events.push_back({SerialEvent::Break, {}});
        bytes.remove_prefix(at);
        breakPending_ = false;
    }
    if (!bytes.empty()) events.push_back({SerialEvent::Data, std::string(bytes)});
    return events;
}

} // namespace quelro
