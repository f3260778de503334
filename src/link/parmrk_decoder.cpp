// PARMRK markers to bytes and breaks.
#include "link/parmrk_decoder.h"

namespace quelro {

std::vector<SerialEvent> ParmrkDecoder::Feed(std::string_view raw) {
    constexpr char kMark = '\xFF';
    std::vector<SerialEvent> events;
    std::string data;
    const auto flush = [&] {
        if (!data.empty()) events.push_back({SerialEvent::Data, std::move(data)});
        data.clear();
    };
    for (char c : raw) {
        switch (state_) {
        case State::Plain:
            if (c == kMark)
                state_ = State::AfterMark;
            else
                data += c;
            break;
        case State::AfterMark:
            if (c == '\0') {
                state_ = State::AfterMarkZero;
            } else {
                // FF FF is an escaped data byte FF; anything else is not a
                // marker and is passed on as it came.
                if (c != kMark) data += kMark;
                data += c;
                state_ = State::Plain;
            }
            break;
        case State::AfterMarkZero:
            if (c == '\0') {
                flush();
                events.push_back({SerialEvent::Break, {}});
            }
            // A byte with a framing or parity error is kept.
            data += c;
            state_ = State::Plain;
            break;
        }
    }
    flush();
    return events;
}

} // namespace quelro
