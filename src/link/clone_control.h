// A cloning run: one programming written to radio after radio, each read back
// and compared, and no radio written twice without having been switched off.
//
// Between radios the run polls with the entry frame. A radio that answers
// while the last one has not yet gone silent is the same radio: it is sent
// End at once and left alone. Only after an entry frame has gone unanswered
// does the next radio that answers get written. The transfers themselves are
// the ordinary write and read of TransferControl, started and reported back
// by the caller.
//
// Events in (ticks, answers, transfer outcomes, Stop), actions out through
// CloneActions; it never reads a clock. A tick is kCloneTickMs apart: a probe
// goes out on a tick and counts as unanswered at the next one.
#pragma once

#include <optional>
#include <string>

#include "i18n/captions.h"

namespace quelro {

inline constexpr int kCloneTickMs = 500;

enum class CloneResult { Ok, VerifyFailed, Failed, SkippedBand };

// The log's word for a result: ok, verify-failed, failed, skipped-band.
const char* CloneResultWord(CloneResult result);

struct CloneRecord {
    int number = 0; // from 1
    CloneResult result = CloneResult::Failed;
    int radioBand = -1;                 // position in the band list; -1 when the radio never told
    std::optional<int> firstDifference; // radio address, on a failed verify
};

struct CloneSummary {
    int written = 0;  // writes that completed
    int verified = 0; // of those, read back equal
    int failed = 0;   // failed writes and failed verifies
    int skipped = 0;  // radios of another band, not written
    // Every radio tried was written (and verified, when verifying).
    bool AllGood() const { return failed == 0 && skipped == 0; }
};

// What the user is told to do.
enum class CloneInstruction { ConnectFirst, ConnectNext };

namespace clone_text {
inline constexpr Caption kConnectFirst{"请连接电台并开机", "connect a radio and turn it on"};
inline constexpr Caption kConnectNext{"请关闭电台，连接下一台并开机",
                                      "turn the radio off, connect the next one and turn it on"};
inline constexpr Caption kMenuItem{"批量写频...", "Clone to several radios..."};
inline constexpr Caption kLineLost{"串口已断开，批量写频已停止。",
                                   "The serial port went away; the cloning run has stopped."};
// %1: the radio's number in the run.
inline constexpr Caption kHalfWritten{
    "写频未完成：第%1台对讲机只写入了部分数据，请重新写频后再使用。",
    "Write incomplete: radio %1 holds part of the new programming. Write it again before use."};
} // namespace clone_text

const Caption& InstructionText(CloneInstruction instruction);

// How a transfer the run started ended.
enum class CloneTransferOutcome { Done, Failed, Refused, Interrupted };

class CloneActions {
  public:
    virtual ~CloneActions() = default;
    virtual void SendEntry() = 0;
    virtual void SendEnd() = 0;
    // An ordinary write of the programming to radio `number`; its end comes
    // back as OnWriteFinished.
    virtual void StartWrite(int number) = 0;
    // An ordinary read, the read-back; its end comes back as OnReadFinished.
    virtual void StartRead() = 0;
    virtual void RadioDone(const CloneRecord& record) = 0;
    virtual void Instruct(CloneInstruction instruction) = 0;
    virtual void Finished(const CloneSummary& summary) = 0;
};

struct CloneOptions {
    int count = 0; // radios to do; 0: until stopped
    bool verify = true;
    bool acceptOtherBand = false;
    bool serviceMode = false; // which blocks the write sent, for the comparison
};

class CloneControl {
  public:
    enum class Phase { Idle, WaitNew, WaitGone, Writing, Verifying, Over };

    CloneControl(CloneActions& actions, CloneOptions options)
        : actions_(actions), options_(options) {}

    void Start();
    // Between radios: ends the run at once. During a transfer: the run ends
    // once that radio is done (the caller may end the transfer itself).
    void Stop();

    void OnTick();
    // An 06 came back to the last entry frame.
    void OnEntryAnswered();
    // The write found a radio of another band: whether to write it anyway.
    bool OnBandMismatch() const { return options_.acceptOtherBand; }
    // `radioBand`: the band the radio told, -1 when it never did;
    // `writtenImage`: the image the write sent (hex).
    void OnWriteFinished(CloneTransferOutcome outcome, int radioBand,
                         const std::string& writtenImage);
    // `readImage`: the memory read back (hex), on Done.
    void OnReadFinished(CloneTransferOutcome outcome, const std::string& readImage);

    Phase CurrentPhase() const { return phase_; }
    const CloneSummary& Summary() const { return summary_; }
    bool ProbeOutstanding() const { return probeOut_; }

  private:
    void Probe();
    void Record(CloneResult result, std::optional<int> difference = std::nullopt);
    void Finish();

    CloneActions& actions_;
    CloneOptions options_;
    Phase phase_ = Phase::Idle;
    bool probeOut_ = false;
    bool stopRequested_ = false;
    int number_ = 0;
    int radioBand_ = -1;
    std::string writtenImage_;
    CloneSummary summary_;
};

// The first radio address where `read` differs from `written` in the blocks a
// write sends; both hex, from address 0x0010.
std::optional<int> FirstWrittenDifference(const std::string& written, const std::string& read,
                                          bool serviceMode);

} // namespace quelro
