// Lines that are not ideal: a cable that echoes, bytes before the first
// answer, a radio that wakes up late, a device that goes away, and the
// message each failure ends with.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "codes/conversions.h"
#include "link/link_fakes.h"

namespace quelro::test {
namespace {

using Phase = TransferControl::Phase;

constexpr const char* kProgram = "50524F4752414D";

std::string Block64(const std::string& value) {
    std::string hex;
    for (int i = 0; i < 64; ++i) hex += value;
    return hex;
}

// The read requests, by hand: 52, the address, 40.
const std::vector<std::string> kReadRequests{
    "52001040", "52005040", "52009040", "5200D040", "52011040", "52015040", "52019040", "5201D040",
    "52021040", "52025040", "52029040", "5202D040", "52031040", "52035040", "52039040", "5203D040"};

// Block k of a read holds the byte k + 0x10 throughout.
std::string BlockData(std::size_t k) {
    return Block64(HexFromBytes(std::string(1, static_cast<char>(k + 0x10))));
}

// A whole read after PROGRAM, the radio answering each frame.
void AnswerRead(Rig& rig) {
    rig.Radio("06");
    rig.Radio(Identity("15"));
    for (std::size_t k = 0; k < kReadRequests.size(); ++k) {
        rig.Radio("06");
        rig.Radio("57" + kReadRequests[k].substr(2, 6) + BlockData(k));
    }
    rig.Radio("06");
}

TEST(EchoingLine, ReadAndWriteGoFrameByFrame) {
    for (Echo echo : {Echo::WithReply, Echo::Apart, Echo::ByteByByte}) {
        SCOPED_TRACE(static_cast<int>(echo));
        Rig read;
        read.echo = echo;
        read.control.ReadRadio();
        AnswerRead(read);
        std::vector<std::string> frames{kProgram, "02", "06"};
        for (const std::string& request : kReadRequests) {
            frames.push_back(request);
            frames.push_back("06");
        }
        frames.push_back("45");
        EXPECT_EQ(read.line.sent, frames);
        std::string image;
        for (std::size_t k = 0; k < kReadRequests.size(); ++k) image += BlockData(k);
        EXPECT_EQ(read.view.readImage, image);
        EXPECT_EQ(read.view.radioBand, 1);
        EXPECT_TRUE(read.control.Engine().LineEchoes());

        Rig write;
        write.echo = echo;
        write.control.WriteRadio();
        write.Radio("06");
        write.Radio(Identity("21"));
        write.Radio("06");
        EXPECT_EQ(write.line.Last(), "57001010000102030405060708090A0B0C0D0E0F");
        for (int i = 0; i < 23; ++i) write.Radio("06");
        EXPECT_EQ(write.line.Last(), "5701B810A8A9AAABACADAEAFB0B1B2B3B4B5B6B7");
        while (write.line.Last() != "45" && write.line.sent.size() < 60) write.Radio("06");
        EXPECT_TRUE(write.view.written);
        EXPECT_EQ(write.line.sent.size(), 3u + 46u + 1u);
        EXPECT_TRUE(write.view.failures.empty());
    }
}

TEST(EchoingLine, OnlyTheWholeEntryFrameMakesAnEcho) {
    // The echo of the End of a transfer just before comes late, ahead of this
    // transfer's: still an echoing line.
    Rig late;
    late.echo = Echo::WithReply;
    late.control.ReadRadio();
    late.control.OnBytes("E");
    AnswerRead(late);
    EXPECT_TRUE(late.control.Engine().LineEchoes());
    EXPECT_EQ(late.view.readImage.size(), 2048u);

    // "PR" and then an acknowledge: noise that happens to start like the
    // entry frame. The rest of the dialogue is taken as it comes.
    Rig rig;
    rig.control.ReadRadio();
    rig.Radio("505206");
    EXPECT_EQ(rig.line.Last(), "02");
    rig.Radio(Identity("21"));
    EXPECT_EQ(rig.line.Last(), "06");
    EXPECT_FALSE(rig.control.Engine().LineEchoes());
    EXPECT_FALSE(rig.control.Engine().HandshakePhase());
}

TEST(CleanStart, InputIsDiscardedBeforeTheEntryFrame) {
    Rig rig;
    rig.control.ReadRadio();
    EXPECT_EQ(rig.line.discards, std::vector<std::size_t>{0});
    EXPECT_EQ(rig.line.sent, std::vector<std::string>{kProgram});
}

TEST(CleanStart, NoiseBeforeTheFirstAcknowledgeOnly) {
    // In pieces, with an echo, and then a stray byte after the first 06,
    // which is matched strictly again.
    Rig rig;
    rig.echo = Echo::WithReply;
    rig.control.ReadRadio();
    rig.Radio("FF00");
    rig.Radio("3C");
    EXPECT_EQ(rig.line.sent.size(), 1u);
    rig.Radio("06");
    EXPECT_EQ(rig.line.Last(), "02");
    rig.Radio("00" + Identity("21"));
    EXPECT_TRUE(rig.control.Engine().HandshakePhase());
}

// The radio answers the entry frame sent at tick `late` (0: the first);
// the entry frame goes out again on each tick before, at most three times.
TEST(CleanStart, EntryFrameIsRepeatedForARadioThatWakesUpLate) {
    for (Echo echo : {Echo::None, Echo::Apart}) {
        for (int late = 0; late <= 3; ++late) {
            SCOPED_TRACE(std::to_string(late) + (echo == Echo::None ? "" : " echo"));
            Rig rig;
            rig.echo = echo;
            rig.control.ReadRadio();
            for (int tick = 0; tick < late; ++tick) {
                if (echo != Echo::None) rig.Radio(""); // only the echo comes back
                rig.control.OnWatchdogTick();
            }
            EXPECT_EQ(std::count(rig.line.sent.begin(), rig.line.sent.end(), kProgram), late + 1);
            AnswerRead(rig);
            EXPECT_EQ(rig.view.readImage.size(), 2048u);
            EXPECT_TRUE(rig.view.asked.empty());
        }
    }
}

TEST(CleanStart, EntryFrameIsNotRepeatedOnceTheRadioSpoke) {
    Rig noise;
    noise.control.ReadRadio();
    noise.Radio("FF");
    noise.Advance(2500);
    EXPECT_EQ(noise.line.sent, std::vector<std::string>{kProgram});

    Rig answered;
    answered.control.ReadRadio();
    answered.Radio("06");
    answered.Advance(2500);
    EXPECT_EQ(answered.line.sent, (std::vector<std::string>{kProgram, "02"}));
}

std::vector<TransferFailure> Failures(const TransferFailure& one) {
    return {one};
}

struct FailureCase {
    const char* name;
    bool write;
    std::function<void(Rig&)> radio; // what the radio does; the watchdog ends it
    TransferFailure failure;
    const char* text;
};

// Each failure ends with its own message, End before the message, and
// nothing decoded or completed.
TEST(Failures, EachEndsWithItsOwnMessage) {
    const std::vector<FailureCase> cases{
        {"silent",
         false,
         [](Rig&) {},
         {FailureKind::NoAnswer, "", false},
         "Communication error: no answer at all. Switch the radio on, and push the programming "
         "cable fully into the radio's socket."},
        {"only an echo",
         false,
         [](Rig& rig) {
             rig.echo = Echo::Apart;
             rig.Radio("");
         },
         {FailureKind::OnlyEcho, "", false},
         "Communication error: only the cable's own echo came back, the radio did not answer. "
         "Switch the radio on, and push the cable fully into the radio's socket."},
        {"noise only",
         true,
         [](Rig& rig) { rig.Radio("FF00FE0102030405060708"); },
         {FailureKind::UnknownBytes, Bytes("FF00FE0102030405"), false},
         "Communication error: the radio's answer was not understood (FF 00 FE 01 02 03 04 05). "
         "Check that the cable is made for this radio and its plugs are pushed fully in, then "
         "try again."},
        {"wrong model",
         true,
         [](Rig& rig) {
             rig.Radio("06");
             rig.Radio("564E343830210000"); // VN480
         },
         {FailureKind::WrongModel, "VN480", false},
         "Communication error: this radio reports the model VN480; this program programs the "
         "VN481 and the VN482 only."},
        {"identity of 7 bytes",
         false,
         [](Rig& rig) {
             rig.Radio("06");
             rig.Radio("564E3438312100");
         },
         {FailureKind::UnknownBytes, Bytes("564E3438312100"), false},
         nullptr},
        {"stall after the identity",
         false,
         [](Rig& rig) {
             rig.Radio("06");
             rig.Radio(Identity("21"));
             rig.Radio("06");
         },
         {FailureKind::Stopped, "", false},
         "Communication error: the radio stopped answering during the transfer. Check the "
         "radio's battery and the cable's plugs, then try again."},
        {"15 to written block 3",
         true,
         [](Rig& rig) {
             rig.Radio("06");
             rig.Radio(Identity("21"));
             for (int i = 0; i < 3; ++i) rig.Radio("06");
             rig.Radio("15");
         },
         // The third block went to 0x0030.
         {FailureKind::BlockRefused, "0x0030", true},
         "Communication error: the radio refused the block at 0x0030 (15). Check that the radio "
         "is of the model this program programs, then try again.\n\n"
         "Write incomplete: the radio holds part of the new programming. Write it again before "
         "use."},
        {"stall before the first block is acknowledged",
         true,
         [](Rig& rig) {
             rig.Radio("06");
             rig.Radio(Identity("21"));
             rig.Radio("06");
         },
         {FailureKind::Stopped, "", false},
         nullptr},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        c.write ? rig.control.WriteRadio() : rig.control.ReadRadio();
        c.radio(rig);
        std::string lastSentAtTheBox;
        rig.view.onFailure = [&] { lastSentAtTheBox = rig.line.Last(); };
        rig.Advance(3000);
        ASSERT_EQ(rig.view.failures.size(), 1u);
        EXPECT_EQ(rig.view.failures.front(), c.failure);
        if (c.text) {
            EXPECT_EQ(rig.view.asked.front(), c.text);
        }
        EXPECT_EQ(lastSentAtTheBox, "45");
        EXPECT_EQ(rig.control.CurrentPhase(), Phase::Idle);
        EXPECT_FALSE(rig.view.locked);
        EXPECT_TRUE(rig.view.readImage.empty());
        EXPECT_FALSE(rig.view.written);
    }
}

TEST(Failures, TextsInChinese) {
    EXPECT_EQ(FailureText({FailureKind::WrongModel, "VN480", true}, kSimplified),
              "通信出错：这台对讲机的型号是 VN480，本软件只能编程 VN481 和 VN482。\n\n"
              "写频未完成：对讲机只写入了部分数据，请重新写频后再使用。");
    EXPECT_EQ(FailureText({FailureKind::CableLost, "", false}, kSimplified),
              "通信中断：编程线已断开。请重新插好编程线，下次读频或写频时会重新打开串口。");
    EXPECT_EQ(FailureText({FailureKind::Refused, "", false}, kEnglish), "");
}

TEST(LostLine, EndsTheTransferAtOnceWithoutEnd) {
    struct Case {
        const char* name;
        bool write;
        int acknowledges; // 06 after the identity before the line goes
        bool halfWritten;
    };
    for (const Case& c :
         {Case{"handshake", false, -1, false}, Case{"read", false, 1, false},
          Case{"write, before a block", true, 1, false}, Case{"write, block 5", true, 6, true}}) {
        SCOPED_TRACE(c.name);
        Rig rig;
        c.write ? rig.control.WriteRadio() : rig.control.ReadRadio();
        if (c.acknowledges >= 0) {
            rig.Radio("06");
            rig.Radio(Identity("21"));
            for (int i = 0; i < c.acknowledges; ++i) rig.Radio("06");
        }
        const std::size_t sent = rig.line.sent.size();
        rig.control.OnLineLost();
        EXPECT_EQ(rig.view.failures, Failures({FailureKind::CableLost, "", c.halfWritten}));
        EXPECT_EQ(rig.line.sent.size(), sent); // no End on a line that is gone
        EXPECT_EQ(rig.control.CurrentPhase(), Phase::Idle);
        EXPECT_FALSE(rig.view.locked);
        EXPECT_FALSE(rig.line.timer1 || rig.line.timer2);
        EXPECT_FALSE(rig.view.progressMax.has_value());
        rig.Advance(5000);
        EXPECT_EQ(rig.view.failures.size(), 1u);
        // The next start works as ever.
        rig.control.ReadRadio();
        EXPECT_EQ(rig.line.Last(), kProgram);
    }
}

TEST(LostLine, WhileTheBandQuestionIsOpenItEndsAfterTheAnswer) {
    Rig rig;
    rig.state.BandSelection = 4;
    rig.view.answer = [&](const Message&) {
        rig.control.OnLineLost();
        EXPECT_TRUE(rig.view.failures.empty());
        return BoxAnswer::kYes;
    };
    rig.control.WriteRadio();
    rig.Radio("06");
    rig.Radio(Identity("21"));
    rig.Radio("06");
    EXPECT_EQ(rig.view.failures, Failures({FailureKind::CableLost, "", false}));
    EXPECT_EQ(rig.control.CurrentPhase(), Phase::Idle);
    // Lost in the end display or idle: nothing to end.
    rig.control.OnLineLost();
    EXPECT_EQ(rig.view.failures.size(), 1u);
}

TEST(BandQuestion, RefusedAfterBlocksWereWrittenSaysTheWriteIsIncomplete) {
    Rig rig;
    rig.view.answer = [](const Message&) { return BoxAnswer::kNo; };
    rig.control.WriteRadio();
    rig.Radio("06");
    rig.Radio(Identity("21"));
    for (int i = 0; i < 4; ++i) rig.Radio("06");
    rig.state.BandSelection = 2; // changed while writing
    rig.Radio("06");
    EXPECT_EQ(rig.line.Last(), "45");
    EXPECT_EQ(rig.view.failures, Failures({FailureKind::Refused, "", true}));
    EXPECT_EQ(rig.view.asked.back(), "Write incomplete: the radio holds part of the new "
                                     "programming. Write it again before use.");
}

} // namespace
} // namespace quelro::test
