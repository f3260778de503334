// ReadRadio and WriteRadio around the dialogue: locking, status, progress,
// the band question, the watchdog, the end display and re-entrant events.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "codes/conversions.h"
#include "link/link_fakes.h"

namespace quelro::test {
namespace {

using Phase = TransferControl::Phase;

constexpr const char* kProgram = "50524F4752414D";
constexpr const char* kNoAnswerText =
    "Communication error: no answer at all. Switch the radio on, and push the programming cable "
    "fully into the radio's socket.";
constexpr const char* kMismatchText = "Frequency band with discrepancies, do you wish to continue?";

void Open(Rig& rig, bool write, std::string_view band = "21") {
    write ? rig.control.WriteRadio() : rig.control.ReadRadio();
    rig.Radio("06");
    rig.Radio(Identity(band));
}

std::string ReadReply(int address) {
    std::string hex = "57" +
                      HexFromBytes(std::string{static_cast<char>(address >> 8),
                                               static_cast<char>(address & 0xFF)}) +
                      "40";
    for (int i = 0; i < 64; ++i) hex += "3C";
    return hex;
}

// Answers every request of a read, ending with the last 06.
void ReadAllBlocks(Rig& rig) {
    for (int address = 0x0010; address <= 0x03D0; address += 0x40) {
        rig.Radio("06");
        rig.Radio(ReadReply(address));
    }
    rig.Radio("06");
}

TEST(TransferStart, WithoutOpenPortOnlyTheMessage) {
    for (bool write : {false, true}) {
        Rig rig;
        rig.line.open = false;
        write ? rig.control.WriteRadio() : rig.control.ReadRadio();
        EXPECT_EQ(rig.view.log, std::vector<std::string>{
                                    "box Communication port not open, please first selection menu "
                                    "'communication port' to open its serial ports!"});
        EXPECT_TRUE(rig.line.sent.empty());
        EXPECT_FALSE(rig.line.timer1 || rig.line.timer2);
        EXPECT_EQ(rig.control.CurrentPhase(), Phase::Idle);
    }
}

TEST(TransferStart, LocksFocusesSendsProgramAndStartsTimers) {
    Rig rig;
    rig.control.ReadRadio();
    EXPECT_EQ(rig.view.log, (std::vector<std::string>{"lock", "focus Combo1",
                                                      "status Is communication, please later……"}));
    EXPECT_EQ(rig.line.sent, std::vector<std::string>{"50524F4752414D"});
    EXPECT_TRUE(rig.line.timer1 && rig.line.timer2);
    EXPECT_EQ(rig.control.CurrentPhase(), Phase::Handshake);
}

TEST(TransferStart, StatusTextFollowsTheLanguage) {
    Rig rig;
    rig.view.language = kSimplified;
    rig.control.WriteRadio();
    EXPECT_EQ(rig.view.status, "正在通信,请稍后……");
}

TEST(TransferStart, SecondStartWhileRunningIsIgnored) {
    Rig rig;
    rig.control.ReadRadio();
    rig.control.WriteRadio();
    EXPECT_EQ(rig.line.sent.size(), 1u);
    EXPECT_EQ(rig.control.Engine().Mode(), TransferMode::Read);
}

TEST(TransferEnd, AbandonedTransferReleasesTheRadio) {
    Rig rig;
    rig.control.Abandon(); // idle: nothing to end
    EXPECT_TRUE(rig.line.sent.empty());
    Open(rig, true);
    rig.Radio("06");
    rig.control.Abandon();
    EXPECT_EQ(rig.line.Last(), "45");
    EXPECT_FALSE(rig.line.timer1 || rig.line.timer2);
    rig.Radio("06");
    EXPECT_EQ(rig.line.Last(), "45");
    EXPECT_EQ(rig.control.CurrentPhase(), Phase::Idle);

    Rig done;
    Open(done, false);
    ReadAllBlocks(done);
    const std::size_t sent = done.line.sent.size();
    done.control.Abandon(); // the end display: End already went out
    EXPECT_EQ(done.line.sent.size(), sent);
}

TEST(Watchdog, FiresOnTheSixthTickNotTheFifth) {
    Rig rig;
    rig.control.ReadRadio();
    for (int i = 0; i < 5; ++i) rig.control.OnWatchdogTick();
    EXPECT_TRUE(rig.view.asked.empty());
    // PROGRAM and its three repeats, nothing else.
    EXPECT_EQ(rig.line.sent.size(), 4u);
    // End has gone out when the message is shown.
    std::string lastSentAtTheBox;
    rig.view.onFailure = [&] { lastSentAtTheBox = rig.line.Last(); };
    rig.control.OnWatchdogTick();
    EXPECT_EQ(rig.view.asked, std::vector<std::string>{kNoAnswerText});
    EXPECT_EQ(lastSentAtTheBox, "45");
    EXPECT_EQ(rig.line.Last(), "45");
    EXPECT_FALSE(rig.view.locked);
    EXPECT_FALSE(rig.line.timer1 || rig.line.timer2);
    EXPECT_EQ(rig.control.CurrentPhase(), Phase::Idle);
    // The message comes before the unlock.
    const auto& log = rig.view.log;
    EXPECT_EQ(std::vector<std::string>(log.end() - 4, log.end()),
              (std::vector<std::string>{"hide status", std::string("box ") + kNoAnswerText,
                                        "unlock", "hide progress"}));
}

TEST(Watchdog, SilentRadioEndsAboutThreeSecondsAfterTheStart) {
    Rig rig;
    rig.control.ReadRadio();
    rig.Advance(2900);
    EXPECT_TRUE(rig.view.asked.empty());
    rig.Advance(100);
    EXPECT_EQ(rig.view.asked.size(), 1u);
    // The entry frame once more at 0.5, 1.0 and 1.5 s, then End.
    EXPECT_EQ(rig.line.sent,
              (std::vector<std::string>{kProgram, kProgram, kProgram, kProgram, "45"}));
}

TEST(Watchdog, EveryAcceptedReplyRestartsIt) {
    Rig rig;
    Open(rig, false);
    for (int address = 0x0010; address <= 0x03D0; address += 0x40) {
        rig.Advance(2500); // five ticks
        rig.Radio("06");
        rig.Advance(2500);
        rig.Radio(ReadReply(address));
    }
    rig.Advance(2500);
    rig.Radio("06");
    EXPECT_TRUE(rig.view.asked.empty());
    EXPECT_EQ(rig.view.readImage.size(), 2048u);
}

TEST(Watchdog, StrayBytesAreNotAcceptedAndEndTheTransfer) {
    Rig rig;
    Open(rig, false);
    rig.Radio("06");
    rig.Radio(ReadReply(0x0010) + "00");
    rig.Advance(3000);
    // The first eight of the bytes not understood are named.
    EXPECT_EQ(rig.view.asked, std::vector<std::string>{
                                  "Communication error: the radio's answer was not understood "
                                  "(57 00 10 40 3C 3C 3C 3C). Check that the cable is made for "
                                  "this radio and its plugs are pushed fully in, then try again."});
    EXPECT_EQ(rig.line.Last(), "45");
    EXPECT_TRUE(rig.view.readImage.empty()); // the table is not touched
}

TEST(Watchdog, RepliesWhileTheMessageIsOpenAreNotActedOn) {
    Rig rig;
    rig.control.ReadRadio();
    rig.view.answer = [&](const Message&) {
        rig.Radio("06");
        return BoxAnswer::kOk;
    };
    rig.Advance(3000);
    // PROGRAM (four times), then End: the 06 that came in meanwhile asked for
    // nothing.
    EXPECT_EQ(rig.line.sent,
              (std::vector<std::string>{kProgram, kProgram, kProgram, kProgram, "45"}));
}

TEST(ReadTransfer, CompletionHandsOverImageAndBandThenEnds) {
    Rig rig;
    Open(rig, false, "2B");
    EXPECT_EQ(rig.view.progressMax, kProgressMaximum);
    ReadAllBlocks(rig);
    EXPECT_EQ(rig.view.radioBand, 2);
    EXPECT_EQ(rig.line.backups, std::vector<std::string>{rig.view.readImage});
    EXPECT_EQ(rig.view.progress, 425);
    EXPECT_EQ(rig.line.Last(), "45");
    EXPECT_EQ(rig.view.status, "Read frequency success!");
    EXPECT_FALSE(rig.view.progressMax.has_value());
    EXPECT_FALSE(rig.line.timer1);
    EXPECT_TRUE(rig.line.timer2);
    EXPECT_EQ(rig.control.CurrentPhase(), Phase::EndDisplay);
    EXPECT_TRUE(rig.view.backupWarning.empty());
}

TEST(ReadTransfer, UnknownIdentityBandKeepsThePreviousOne) {
    Rig rig;
    Open(rig, false, "33");
    ReadAllBlocks(rig);
    EXPECT_EQ(rig.view.radioBand, 0); // 0 after program start
}

TEST(ReadTransfer, FailedBackupIsAWarningOnly) {
    Rig rig;
    rig.line.backupFailure = "/home/x/backups: Permission denied";
    Open(rig, false);
    ReadAllBlocks(rig);
    EXPECT_EQ(rig.view.backupWarning,
              "The read could not be backed up: /home/x/backups: Permission denied");
    EXPECT_EQ(rig.view.readImage.size(), 2048u);
    EXPECT_EQ(rig.view.status, "Read frequency success!");
}

TEST(EndDisplay, BlinksFifteenTicksThenUnlocks) {
    Rig rig;
    Open(rig, false);
    ReadAllBlocks(rig);
    const bool visible = rig.view.statusVisible;
    rig.control.OnBlinkTick();
    EXPECT_NE(rig.view.statusVisible, visible);
    for (int i = 0; i < 13; ++i) rig.control.OnBlinkTick();
    EXPECT_TRUE(rig.view.locked);
    EXPECT_TRUE(rig.line.timer2);
    rig.control.OnBlinkTick();
    EXPECT_FALSE(rig.view.locked);
    EXPECT_FALSE(rig.view.statusVisible);
    EXPECT_FALSE(rig.line.timer1 || rig.line.timer2);
    EXPECT_EQ(rig.control.CurrentPhase(), Phase::Idle);
    // A new transfer can start, and its end display counts from 0 again.
    Open(rig, false);
    EXPECT_EQ(rig.control.CurrentPhase(), Phase::Reading);
}

TEST(WriteTransfer, ProgressEndsFullAndWriteSucceeds) {
    Rig rig;
    Open(rig, true);
    while (rig.line.Last() != "45") rig.Radio("06");
    EXPECT_EQ(rig.view.progress, 460);
    EXPECT_TRUE(rig.view.written);
    EXPECT_EQ(rig.view.status, "Write frequency success!");
    EXPECT_TRUE(rig.view.asked.empty());
    EXPECT_TRUE(rig.line.backups.empty());
}

TEST(BandQuestion, NoSendsEndAndNoErrorFollows) {
    Rig rig;
    rig.state.BandSelection = 5;
    rig.view.answer = [](const Message&) { return BoxAnswer::kNo; };
    Open(rig, true, "21");
    const std::size_t before = rig.line.sent.size();
    rig.Radio("06");
    EXPECT_EQ(rig.view.asked, std::vector<std::string>{kMismatchText});
    EXPECT_EQ(rig.line.sent.size(), before + 1);
    EXPECT_EQ(rig.line.Last(), "45");
    EXPECT_EQ(rig.view.status, kMismatchText);
    EXPECT_FALSE(rig.view.progressMax.has_value());
    rig.Advance(4400);
    EXPECT_TRUE(rig.view.locked);
    rig.Advance(100); // the 15th Timer2 tick, 4.5 s later
    EXPECT_FALSE(rig.view.locked);
    rig.Advance(10000);
    EXPECT_EQ(rig.view.asked.size(), 1u); // no communication error
    EXPECT_EQ(rig.line.sent.size(), before + 1);
}

TEST(BandQuestion, YesGoesOnAndIsAskedOnce) {
    Rig rig;
    rig.state.BandSelection = 5;
    Open(rig, true, "21");
    while (rig.line.Last() != "45") rig.Radio("06");
    EXPECT_EQ(rig.view.asked, std::vector<std::string>{kMismatchText});
    EXPECT_TRUE(rig.view.written);
    EXPECT_EQ(rig.control.Engine().RadioBand(), 5);
}

TEST(BandQuestion, AskedAgainWhenTheSelectionChangesDuringTheWrite) {
    Rig rig;
    Open(rig, true, "21");
    for (int i = 0; i < 5; ++i) rig.Radio("06");
    EXPECT_TRUE(rig.view.asked.empty());
    rig.state.BandSelection = 2;
    rig.Radio("06");
    EXPECT_EQ(rig.view.asked.size(), 1u);
}

TEST(BandQuestion, AnythingButYesStopsTheWrite) {
    Rig rig;
    rig.state.BandSelection = 1;
    rig.view.answer = [](const Message&) { return BoxAnswer::kCancel; }; // closed without an answer
    Open(rig, true, "21");
    rig.Radio("06");
    EXPECT_EQ(rig.line.Last(), "45");
    EXPECT_FALSE(rig.view.written);
}

TEST(BandQuestion, WatchdogWaitsAndBytesAreHeldWhileItIsOpen) {
    Rig rig;
    rig.state.BandSelection = 4;
    Open(rig, true, "21");
    rig.view.answer = [&](const Message&) {
        rig.Advance(10000);               // the user takes ten seconds
        rig.Radio("06");                  // and the radio says something meanwhile
        EXPECT_EQ(rig.line.Last(), "06"); // nothing sent yet
        return BoxAnswer::kYes;
    };
    rig.Radio("06");
    EXPECT_TRUE(rig.line.timer1);
    // After Yes the first block went out, then the held 06 acknowledged it.
    ASSERT_GE(rig.line.sent.size(), 2u);
    EXPECT_EQ(rig.line.sent[rig.line.sent.size() - 2], "57001010000102030405060708090A0B0C0D0E0F");
    EXPECT_EQ(rig.line.Last(), "57002010101112131415161718191A1B1C1D1E1F");
    EXPECT_EQ(rig.view.asked, std::vector<std::string>{kMismatchText});
}

TEST(ReadTransfer, BoxRaisedWhileTheWindowTakesTheImageIsSafe) {
    // Pushing decoded values into the window may open a box, whose event loop
    // delivers ticks and bytes before the completion has finished.
    Rig rig;
    Open(rig, false);
    rig.view.onReadCompleted = [&] {
        rig.Advance(5000);
        rig.Radio("06");
    };
    ReadAllBlocks(rig);
    EXPECT_TRUE(rig.view.asked.empty());
    EXPECT_EQ(rig.line.Last(), "45");
    EXPECT_EQ(std::count(rig.line.sent.begin(), rig.line.sent.end(), "45"), 1);
    EXPECT_EQ(rig.view.status, "Read frequency success!");
}

} // namespace
} // namespace quelro::test
