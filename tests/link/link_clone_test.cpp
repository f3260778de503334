// The cloning run over scripted radios: each row a sequence of events and the
// actions it must give, in order.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "link/clone_control.h"

namespace quelro {
namespace {

// The image a write sends (0x0010-0x035F) and what a read brings back
// (0x0010-0x040F): the same bytes, then memory the write does not touch.
const std::string kWritten(1696, 'A');
const std::string kReadSame = kWritten + std::string(352, 'F');
// Radio address 0x0123 (hex offset 2 * 0x113) read back as 00.
std::string ReadDiffering() {
    std::string read = kReadSame;
    read.replace(2 * 0x113, 2, "00");
    return read;
}

class Recorder : public CloneActions {
  public:
    std::vector<std::string> log;

    void SendEntry() override { log.push_back("E"); }
    void SendEnd() override { log.push_back("e"); }
    void StartWrite(int number) override { log.push_back("W" + std::to_string(number)); }
    void StartRead() override { log.push_back("R"); }
    void RadioDone(const CloneRecord& r) override {
        std::ostringstream text;
        text << "D" << r.number << ":" << CloneResultWord(r.result) << ":b" << r.radioBand;
        if (r.firstDifference) text << "@" << std::hex << *r.firstDifference;
        log.push_back(text.str());
    }
    void Instruct(CloneInstruction i) override {
        log.push_back(i == CloneInstruction::ConnectFirst ? "I1" : "In");
    }
    void Finished(const CloneSummary& s) override {
        log.push_back("F:w" + std::to_string(s.written) + "v" + std::to_string(s.verified) + "f" +
                      std::to_string(s.failed) + "s" + std::to_string(s.skipped) +
                      (s.AllGood() ? ":good" : ":bad"));
    }
};

// Events: t tick, a entry answered, S stop, b band mismatch asked; W+ W! Wb
// Wx a write done, failed, refused (band), interrupted; R+ R~ R! Rx a
// read-back equal, differing at 0x0123, failed, interrupted.
void Drive(CloneControl& clone, Recorder& out, const std::string& events) {
    std::istringstream in(events);
    std::string e;
    while (in >> e) {
        if (e == "t")
            clone.OnTick();
        else if (e == "a")
            clone.OnEntryAnswered();
        else if (e == "S")
            clone.Stop();
        else if (e == "b")
            out.log.push_back(clone.OnBandMismatch() ? "b:yes" : "b:no");
        else if (e[0] == 'W') {
            const auto outcome = e[1] == '+'   ? CloneTransferOutcome::Done
                                 : e[1] == 'b' ? CloneTransferOutcome::Refused
                                 : e[1] == 'x' ? CloneTransferOutcome::Interrupted
                                               : CloneTransferOutcome::Failed;
            clone.OnWriteFinished(outcome, 3, kWritten);
        } else if (e[0] == 'R') {
            const auto outcome = e[1] == '!'   ? CloneTransferOutcome::Failed
                                 : e[1] == 'x' ? CloneTransferOutcome::Interrupted
                                               : CloneTransferOutcome::Done;
            clone.OnReadFinished(outcome, e[1] == '~' ? ReadDiffering() : kReadSame);
        } else
            FAIL() << "unknown event " << e;
    }
}

struct Row {
    const char* name;
    CloneOptions options;
    const char* events;
    const char* actions;
};

const CloneOptions kTwo{2, true, false, false};

const Row kRows[] = {
    {"same radio still answering is released with End and never written again", kTwo,
     "a W+ R+ t a t a t a", "I1 E e W1 R D1:ok:b3 In E e E e E e"},
    {"next radio only after an unanswered entry frame", kTwo, "a W+ R+ t a t t a W+ R+",
     "I1 E e W1 R D1:ok:b3 In E e E E e W2 R D2:ok:b3 F:w2v2f0s0:good"},
    {"nothing answers: a probe on every tick, nothing written", kTwo, "t t t", "I1 E E E E"},
    {"band mismatch skipped without --yes; the radio stays until it goes", kTwo,
     "a b Wb t a t t a W+ R+",
     "I1 E e W1 b:no D1:skipped-band:b3 In E e E E e W2 R D2:ok:b3 F:w1v1f0s1:bad"},
    {"band mismatch written with --yes",
     {1, true, true, false},
     "a b W+ R+",
     "I1 E e W1 b:yes R D1:ok:b3 F:w1v1f0s0:good"},
    {"verify failure names the first differing address",
     {1, true, false, false},
     "a W+ R~",
     "I1 E e W1 R D1:verify-failed:b3@123 F:w1v0f1s0:bad"},
    {"--no-verify reads nothing back",
     {1, false, false, false},
     "a W+",
     "I1 E e W1 D1:ok:b3 F:w1v0f0s0:good"},
    {"a radio that stops answering mid-write fails, the run goes on", kTwo, "a W! t t a W+ R+",
     "I1 E e W1 D1:failed:b3 In E E e W2 R D2:ok:b3 F:w1v1f1s0:bad"},
    {"a failed read-back is a failure of that radio",
     {1, true, false, false},
     "a W+ R!",
     "I1 E e W1 R D1:failed:b3 F:w1v0f1s0:bad"},
    {"count reached ends the run and ignores later events",
     {1, true, false, false},
     "a W+ R+ t a S",
     "I1 E e W1 R D1:ok:b3 F:w1v1f0s0:good"},
    {"stop between radios gives the summary at once",
     {0, true, false, false},
     "a W+ R+ S",
     "I1 E e W1 R D1:ok:b3 In F:w1v1f0s0:good"},
    {"stop while waiting for the first radio",
     {0, true, false, false},
     "t S",
     "I1 E E e F:w0v0f0s0:good"},
    {"stop during the write finishes that radio first",
     {0, true, false, false},
     "a S W+ R+ t",
     "I1 E e W1 R D1:ok:b3 F:w1v1f0s0:good"},
    {"stop during the read-back finishes that radio first",
     {0, true, false, false},
     "a W+ S R+ t",
     "I1 E e W1 R D1:ok:b3 F:w1v1f0s0:good"},
    {"Ctrl+C ending the write stops after that radio",
     {0, true, false, false},
     "a Wx t",
     "I1 E e W1 D1:failed:b3 F:w0v0f1s0:bad"},
    {"Ctrl+C ending the read-back stops after that radio",
     {0, true, false, false},
     "a W+ Rx t",
     "I1 E e W1 R D1:failed:b3 F:w1v0f1s0:bad"},
    {"an answer with no probe out is ignored", kTwo, "a a W+ a R+ a", "I1 E e W1 R D1:ok:b3 In"},
};

TEST(CloneControl, ScriptedRadios) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        Recorder out;
        CloneControl clone(out, row.options);
        clone.Start();
        Drive(clone, out, row.events);
        std::string got;
        for (const std::string& a : out.log) got += (got.empty() ? "" : " ") + a;
        EXPECT_EQ(got, row.actions);
    }
}

TEST(CloneControl, ServiceBlockIsComparedOnlyInServiceMode) {
    // 0x0180-0x018F is written in service mode only: a difference there
    // counts then and only then.
    std::string read = kReadSame;
    read.replace(2 * (0x0185 - 0x10), 2, "00");
    EXPECT_EQ(FirstWrittenDifference(kWritten, read, false), std::nullopt);
    EXPECT_EQ(FirstWrittenDifference(kWritten, read, true), 0x0185);
    EXPECT_EQ(FirstWrittenDifference(kWritten, kReadSame.substr(0, 100), false), 0x0010 + 50);
}

} // namespace
} // namespace quelro
