// The radio's side of the programming dialogue, for quelro-radio-sim: 1024
// bytes of memory at radio addresses 0x0010-0x040F, the answers to PROGRAM,
// the identity request, 64-byte reads and 16-byte writes, End, and the faults
// a test can ask for. It is fed one received byte at a time and says what to
// send back; time and the line belong to the caller.
//
// It is strict about what the program sends: a request's length byte, the
// order of the blocks read (0x0010 to 0x03D0 in steps of 0x40) and written
// (the write plan, with or without the service block), and any byte that is
// not part of the dialogue are deviations, kept in Deviations().
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quelro::sim {

inline constexpr int kMemoryBase = 0x0010;
inline constexpr int kMemoryBytes = 1024;

struct Faults {
    bool silent = false;          // never answers
    int identityLength = 8;       // 7 or 9: an identity of the wrong length
    int strayAfterReply = 0;      // reply N is followed by an extra byte 0x00
    int wrongAddressRead = 0;     // read reply N carries the next block's address
    int stallAfterBlock = 0;      // after answering block N nothing more is answered
    int breakBeforeReply = 0;     // a BREAK goes out before reply N
    int hangUpAfterReply = 0;     // the line is closed after reply N
    int loseWrite = 0;            // write block N is acknowledged but not stored
    int nakWrite = 0;             // write block N is answered 0x15 and not stored
    int loseReply = 0;            // reply N never reaches the line
    int breakAfterReply = 0;      // after reply N a break, then nothing more is answered
    int vanishAfterReply = 0;     // the device goes away after reply N (and comes back)
    int ignoreEntries = 0;        // the first N entry frames get no answer (a radio waking up)
    std::string noiseBeforeFirst; // sent before the first 06 of the simulator's life
};

struct Options {
    std::string model = "VN481"; // 5 characters; anything but VN481/VN482 is refused
    unsigned char bandByte = 0x21;
    Faults faults;
};

// What to do after a received byte. Replies are numbered from 1 in each
// session (PROGRAM ... End): the 06 to PROGRAM is reply 1, the identity 2.
struct Reply {
    std::string bytes;
    bool breakBefore = false;
    bool breakAfter = false;
    bool hangUpAfter = false;
    bool vanishAfter = false;
};

struct Step {
    std::optional<Reply> reply;
    bool ended = false; // End (0x45) closed a session
    bool wrote = false; // ... in which a block was written
};

class SimRadio {
  public:
    // Memory starts as 0xFF (an erased radio).
    explicit SimRadio(Options options);

    // Loads image bytes from address 0x0010 on (at most 1024).
    void Load(const std::string& bytes);
    const std::string& Memory() const { return memory_; }

    Step Receive(char byte);
    // The line went away in the middle of a session: the radio is idle again
    // and, having come back, goes away no more.
    void Abandon();

    // What the program sent that the dialogue does not allow, one text each.
    const std::vector<std::string>& Deviations() const { return deviations_; }

  private:
    enum class State { Idle, AwaitIdentityRequest, AwaitIdentityAck, Data, Stalled };

    Step Answer(std::string bytes);
    // Takes a byte towards PROGRAM; true when the entry frame is complete.
    bool EntryByte(char byte);
    Step Enter();
    Step DataByte(char byte);
    Step Block();
    void Reset();
    void Deviation(std::string what);
    void CheckPlan(char command, int address, char length);

    Options options_;
    std::string memory_;
    State state_ = State::Idle;
    std::string entry_; // the last bytes seen while idle
    std::string frame_; // the read request or write block being received
    int replies_ = 0;   // replies sent in this session
    int blocks_ = 0;    // blocks answered in this session
    int readReplies_ = 0;
    int writes_ = 0;
    int entriesSeen_ = 0; // over the simulator's life
    bool answeredOnce_ = false;
    std::vector<std::string> deviations_;
    // Of the two write plans, those that the blocks so far follow.
    bool normalPlan_ = true;
    bool servicePlan_ = true;
};

} // namespace quelro::sim
