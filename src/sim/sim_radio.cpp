// The simulated radio's dialogue.
#include "sim/sim_radio.h"

#include <algorithm>
#include <cstdio>

#include "link/protocol_engine.h"

namespace quelro::sim {

namespace {

constexpr char kAck = 0x06;
constexpr char kNak = 0x15;
constexpr char kIdentityRequest = 0x02;
constexpr char kEnd = 0x45;
constexpr std::string_view kEntry = "PROGRAM";

int Address(const std::string& frame) {
    return (static_cast<unsigned char>(frame[1]) << 8) | static_cast<unsigned char>(frame[2]);
}

std::string Hex(int value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, static_cast<unsigned>(value));
    return text;
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
    normalPlan_ = servicePlan_ = true;
}

void SimRadio::Abandon() {
    Reset();
    options_.faults.vanishAfterReply = 0;
}

void SimRadio::Deviation(std::string what) {
    // A program gone astray could send without end; the first few tell.
    if (deviations_.size() < 100) deviations_.push_back(std::move(what));
}

Step SimRadio::Answer(std::string bytes) {
    const Faults& f = options_.faults;
    if (f.silent) return {};
    ++replies_;
    if (replies_ == f.loseReply) return {};
    Reply reply{std::move(bytes), replies_ == f.breakBeforeReply, replies_ == f.breakAfterReply,
                replies_ == f.hangUpAfterReply, replies_ == f.vanishAfterReply};
    if (replies_ == f.strayAfterReply) reply.bytes += '\0';
    if (!answeredOnce_) reply.bytes.insert(0, f.noiseBeforeFirst);
    answeredOnce_ = true;
    if (reply.breakAfter) state_ = State::Stalled;
    return {reply, false};
}

bool SimRadio::EntryByte(char byte) {
    entry_ += byte;
    if (entry_.size() > kEntry.size()) entry_.erase(0, 1);
    return entry_ == kEntry;
}

Step SimRadio::Enter() {
    Reset();
    if (entriesSeen_++ < options_.faults.ignoreEntries) return {};
    state_ = State::AwaitIdentityRequest;
    return Answer(std::string(1, kAck));
}

Step SimRadio::Receive(char byte) {
    switch (state_) {
    case State::Idle:
        if (!EntryByte(byte)) {
            // Between sessions only PROGRAM, and End again, belong to the dialogue.
            if (byte != kEnd && kEntry.find(entry_.back()) == std::string_view::npos)
                Deviation("byte " + Hex(static_cast<unsigned char>(byte), 2) +
                          " outside a session");
            return {};
        }
        return Enter();
    case State::AwaitIdentityRequest:
        if (byte == kEnd) break;
        // The program sends PROGRAM again when the first 06 is slow to come;
        // a radio takes it as a new start.
        if (byte != kIdentityRequest && kEntry.find(byte) != std::string_view::npos) {
            if (EntryByte(byte)) return Enter();
            return {};
        }
        if (byte != kIdentityRequest) {
            Deviation("byte " + Hex(static_cast<unsigned char>(byte), 2) +
                      " instead of the identity request");
            return {};
        }
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
        // A repeated identity request is allowed: the program sends one for
        // every 06 it sees before the identity.
        if (byte == kIdentityRequest) return {};
        if (byte != kAck) {
            Deviation("byte " + Hex(static_cast<unsigned char>(byte), 2) +
                      " instead of the identity's acknowledge");
            return {};
        }
        state_ = State::Data;
        return Answer(std::string(1, kAck));
    case State::Data:
        return DataByte(byte);
    case State::Stalled:
        if (byte == kEnd) break;
        return {};
    }
    const bool wrote = writes_ > 0;
    Reset();
    return {std::nullopt, true, wrote};
}

Step SimRadio::DataByte(char byte) {
    if (frame_.empty()) {
        if (byte == kEnd) {
            const bool wrote = writes_ > 0;
            Reset();
            return {std::nullopt, true, wrote};
        }
        // The PC's acknowledge of a read reply.
        if (byte == kAck) return Answer(std::string(1, kAck));
        if (byte != 'R' && byte != 'W') {
            Deviation("byte " + Hex(static_cast<unsigned char>(byte), 2) +
                      " where a request or End belongs");
            return {};
        }
    }
    frame_ += byte;
    const std::size_t length = frame_[0] == 'R' ? 4 : 20;
    if (frame_.size() < length) return {};
    CheckPlan(frame_[0], Address(frame_), frame_[3]);
    Step step = Block();
    frame_.clear();
    return step;
}

void SimRadio::CheckPlan(char command, int address, char length) {
    const std::string where = " at 0x" + Hex(address, 4);
    if (command == 'R') {
        if (length != kReadBlockBytes)
            Deviation("read request" + where + " with length byte " +
                      Hex(static_cast<unsigned char>(length), 2));
        const int expected = kFirstBlockAddress + readReplies_ * kReadBlockBytes;
        if (writes_ > 0 || address != expected || address >= kReadEndAddress)
            Deviation("read request" + where + " out of the read plan (expected 0x" +
                      Hex(expected, 4) + ")");
        return;
    }
    if (length != kWriteBlockBytes)
        Deviation("write block" + where + " with length byte " +
                  Hex(static_cast<unsigned char>(length), 2));
    static const std::vector<int> normal = WritePlan(false);
    static const std::vector<int> service = WritePlan(true);
    const auto index = static_cast<std::size_t>(writes_);
    normalPlan_ = normalPlan_ && index < normal.size() && normal[index] == address;
    servicePlan_ = servicePlan_ && index < service.size() && service[index] == address;
    if (readReplies_ > 0 || (!normalPlan_ && !servicePlan_)) {
        Deviation("write block " + std::to_string(index + 1) + where + " out of the write plan");
        // One report per stray block, not one for every block after it.
        normalPlan_ = servicePlan_ = true;
    }
}

Step SimRadio::Block() {
    const int address = Address(frame_);
    const int offset = address - kMemoryBase;
    const int size = frame_[0] == 'R' ? 64 : 16;
    // A block outside the memory gets no answer.
    if (offset < 0 || offset + size > kMemoryBytes) return {};
    if (++blocks_ == options_.faults.stallAfterBlock) state_ = State::Stalled;
    if (frame_[0] == 'W') {
        ++writes_;
        if (writes_ == options_.faults.nakWrite) return Answer(std::string(1, kNak));
        if (writes_ != options_.faults.loseWrite)
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
