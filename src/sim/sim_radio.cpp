// The simulated radio's dialogue.
#include "sim/sim_radio.h"

namespace quelro::sim {

namespace {

constexpr char kAck = 0x06;
constexpr char kIdentityRequest = 0x02;
constexpr char kEnd = 0x45;
constexpr std::string_view kEntry = "PROGRAM";

int Address(const std::string& frame) {
    return (static_cast<unsigned char>(frame[1]) << 8) | static_cast<unsigned char>(frame[2]);
}

} // namespace

SimRadio::SimRadio(Options options) : options_(std::move(options)), memory_(kMemoryBytes, '\xFF') {}

void SimRadio::Load(const std::string& bytes) {
    memory_.replace(0, std::min<std::size_t>(bytes.size(), kMemoryBytes), bytes, 0, kMemoryBytes);
}

void SimRadio::Reset() {
    state_ = State::Idle;
    entry_.clear();
    frame_.clear();
    replies_ = blocks_ = readReplies_ = writes_ = 0;
}

Step SimRadio::Answer(std::string bytes) {
    const Faults& f = options_.faults;
    if (f.silent) return {};
    ++replies_;
    Reply reply{std::move(bytes), replies_ == f.breakBeforeReply, replies_ == f.hangUpAfterReply};
    if (replies_ == f.strayAfterReply) reply.bytes += '\0';
    return {reply, false};
}

Step SimRadio::Receive(char byte) {
    switch (state_) {
    case State::Idle:
        entry_ += byte;
        if (entry_.size() > kEntry.size()) entry_.erase(0, 1);
        if (entry_ != kEntry) return {};
        Reset();
        state_ = State::AwaitIdentityRequest;
        return Answer(std::string(1, kAck));
    case State::AwaitIdentityRequest:
        if (byte == kEnd) break;
        if (byte != kIdentityRequest) return {};
        state_ = State::AwaitIdentityAck;
        {
            std::string identity = options_.model;
            identity.resize(5, ' ');
            identity += static_cast<char>(options_.bandByte);
            identity.resize(static_cast<std::size_t>(options_.faults.identityLength), '\0');
            return Answer(identity);
        }
    case State::AwaitIdentityAck:
        if (byte == kEnd) break;
        if (byte != kAck) return {};
        state_ = State::Data;
        return Answer(std::string(1, kAck));
    case State::Data:
        return DataByte(byte);
    case State::Stalled:
        if (byte == kEnd) break;
        return {};
    }
    Reset();
    return {std::nullopt, true};
}

Step SimRadio::DataByte(char byte) {
    if (frame_.empty()) {
        if (byte == kEnd) {
            Reset();
            return {std::nullopt, true};
        }
        // The PC's acknowledge of a read reply.
        if (byte == kAck) return Answer(std::string(1, kAck));
        if (byte != 'R' && byte != 'W') return {};
    }
    frame_ += byte;
    const std::size_t length = frame_[0] == 'R' ? 4 : 20;
    if (frame_.size() < length) return {};
    Step step = Block();
    frame_.clear();
    return step;
}

Step SimRadio::Block() {
    const int address = Address(frame_);
    const int offset = address - kMemoryBase;
    const int size = frame_[0] == 'R' ? 64 : 16;
    // A block outside the memory gets no answer.
    if (offset < 0 || offset + size > kMemoryBytes) return {};
    if (++blocks_ == options_.faults.stallAfterBlock) state_ = State::Stalled;
    if (frame_[0] == 'W') {
        if (++writes_ != options_.faults.loseWrite)
            memory_.replace(static_cast<std::size_t>(offset), 16, frame_, 4, 16);
        return Answer(std::string(1, kAck));
    }
    int echoed = address;
    if (++readReplies_ == options_.faults.wrongAddressRead) echoed += 0x40;
    std::string reply{'W', static_cast<char>((echoed >> 8) & 0xFF),
                      static_cast<char>(echoed & 0xFF), 0x40};
    reply += memory_.substr(static_cast<std::size_t>(offset), 64);
    return Answer(reply);
}

} // namespace quelro::sim
