// The byte dialogue with the radio, frame by frame against hand-written hex.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "codes/conversions.h"
#include "link/link_fakes.h"
#include "link/protocol_engine.h"

namespace quelro::test {
namespace {

constexpr const char* kProgram = "50524F4752414D";

// 64 data bytes all holding `value` (hex, two digits).
std::string Block64(const std::string& value) {
    std::string hex;
    for (int i = 0; i < 64; ++i) hex += value;
    return hex;
}

// Runs a read's opening: PROGRAM, 06, 02, identity, 06.
void OpenRead(Rig& rig, std::string_view band = "21") {
    rig.control.ReadRadio();
    rig.Radio("06");
    rig.Radio(Identity(band));
}

TEST(ReadDialogue, FrameByFrame) {
    Rig rig;
    rig.control.ReadRadio();
    ASSERT_EQ(rig.line.sent, std::vector<std::string>{kProgram});
    rig.Radio("06");
    EXPECT_EQ(rig.line.Last(), "02");
    rig.Radio("564E343831150000"); // VN481, band byte 0x15
    EXPECT_EQ(rig.line.Last(), "06");
    EXPECT_EQ(rig.control.Engine().RadioBand(), 1);

    const std::vector<std::string> requests{"52001040", "52005040", "52009040", "5200D040",
                                            "52011040", "52015040", "52019040", "5201D040",
                                            "52021040", "52025040", "52029040", "5202D040",
                                            "52031040", "52035040", "52039040", "5203D040"};
    std::string expectedImage;
    for (std::size_t k = 0; k < requests.size(); ++k) {
        rig.Radio("06");
        ASSERT_EQ(rig.line.Last(), requests[k]) << "request " << k;
        // The reply echoes 57, the address and the length, then 64 bytes.
        const std::string data =
            Block64(k < 10 ? "0" + std::to_string(k) : "A" + std::to_string(k - 10));
        const std::string reply = "57" + requests[k].substr(2, 6) + data;
        const std::size_t before = rig.line.sent.size();
        rig.Radio(reply);
        ASSERT_EQ(rig.line.sent.size(), before + 1);
        EXPECT_EQ(rig.line.Last(), "06");
        expectedImage += data;
    }
    EXPECT_TRUE(rig.view.readImage.empty());
    rig.Radio("06");
    EXPECT_EQ(rig.line.Last(), "45");
    EXPECT_EQ(rig.view.readImage, expectedImage);
    EXPECT_EQ(rig.view.readImage.size(), 2048u);
    EXPECT_EQ(rig.view.radioBand, 1);
    // Frames: PROGRAM, 02, 06, 16 x (request, 06), End.
    EXPECT_EQ(rig.line.sent.size(), 3u + 32u + 1u);
    // Nothing more is answered after the End.
    rig.Radio("06");
    EXPECT_EQ(rig.line.sent.size(), 36u);
}

TEST(ReadDialogue, ReplyArrivingInPiecesIsAccepted) {
    Rig rig;
    OpenRead(rig);
    rig.Radio("06");
    const std::string reply = "57001040" + Block64("5A");
    rig.Radio(reply.substr(0, 2));
    rig.Radio(reply.substr(2, 60));
    EXPECT_EQ(rig.line.Last(), "52001040");
    rig.Radio(reply.substr(62));
    EXPECT_EQ(rig.line.Last(), "06");
}

TEST(ReadDialogue, RepliesThatAreNotExactlyTheBlockAskedForAreNotAccepted) {
    const std::vector<std::pair<const char*, std::string>> replies{
        {"wrong address", "57005040" + Block64("11")},
        {"wrong command byte", "52001040" + Block64("11")},
        {"one byte short", ("57001040" + Block64("11")).substr(2)},
        {"a stray byte after it", "57001040" + Block64("11") + "00"},
    };
    for (const auto& [name, reply] : replies) {
        Rig rig;
        OpenRead(rig);
        rig.Radio("06");
        const std::size_t before = rig.line.sent.size();
        rig.Radio(reply);
        EXPECT_EQ(rig.line.sent.size(), before) << name;
    }
}

TEST(ReadDialogue, LengthByteOfTheReplyIsNotExamined) {
    Rig rig;
    OpenRead(rig);
    rig.Radio("06");
    rig.Radio("57001000" + Block64("11"));
    EXPECT_EQ(rig.line.Last(), "06");
}

TEST(ReadDialogue, AcknowledgeWithoutTheBlockDoesNotMoveOn) {
    // A radio that answers a request with 06 alone would otherwise end the
    // read with blocks missing and report it as a success.
    Rig rig;
    OpenRead(rig);
    rig.Radio("06");
    ASSERT_EQ(rig.line.Last(), "52001040");
    const std::size_t before = rig.line.sent.size();
    rig.Radio("06");
    EXPECT_EQ(rig.line.sent.size(), before);
}

TEST(ReadDialogue, RepeatedReplyIsTakenOnce) {
    Rig rig;
    OpenRead(rig);
    rig.Radio("06");
    const std::string reply = "57001040" + Block64("11");
    rig.Radio(reply);
    const std::size_t before = rig.line.sent.size();
    rig.Radio(reply);
    EXPECT_EQ(rig.line.sent.size(), before);
    EXPECT_EQ(rig.control.Engine().ReadImage(), Block64("11"));
}

// Before the radio's first 06 other bytes are skipped (a radio powering up,
// an adapter's leftovers); an acknowledge that ends what came is taken.
TEST(Handshake, BytesBeforeTheFirstAcknowledgeAreSkipped) {
    struct Case {
        const char* received;
        bool answered;
    };
    for (const Case& c : {Case{"0600", false}, Case{"0006", true}, Case{"0606", true},
                          Case{"15", false}, Case{"FF00FE", false}}) {
        Rig rig;
        rig.control.ReadRadio();
        rig.Radio(c.received);
        EXPECT_EQ(rig.line.sent.size(), c.answered ? 2u : 1u) << c.received;
        if (c.answered) {
            EXPECT_EQ(rig.line.Last(), "02") << c.received;
        }
        EXPECT_EQ(rig.control.Engine().RxText(), "") << c.received;
    }
}

TEST(Handshake, AcknowledgeMixedWithAnotherByteInTheDataPhaseGetsNoAnswer) {
    for (TransferMode mode : {TransferMode::Read, TransferMode::Write}) {
        Rig rig;
        mode == TransferMode::Read ? rig.control.ReadRadio() : rig.control.WriteRadio();
        rig.Radio("06");
        rig.Radio(Identity("21"));
        const std::size_t before = rig.line.sent.size();
        rig.Radio("0607");
        EXPECT_EQ(rig.line.sent.size(), before);
    }
}

// A stray 06 still gets the identity request again, but only the first one
// restarts the watchdog: a radio that answers every request with 06 ends
// through the watchdog instead of holding the transfer open.
TEST(Handshake, RepeatedAcknowledgeEndsThroughTheWatchdog) {
    Rig rig;
    rig.control.ReadRadio();
    for (int i = 0; i < 10 && rig.control.CurrentPhase() == TransferControl::Phase::Handshake;
         ++i) {
        rig.Radio("06");
        EXPECT_EQ(rig.line.Last(), "02");
        rig.Advance(400);
    }
    EXPECT_EQ(rig.control.CurrentPhase(), TransferControl::Phase::Idle);
    EXPECT_EQ(rig.view.asked.size(), 1u);
    EXPECT_EQ(rig.line.Last(), "45");
    // Seven 06 fit in the six ticks after the first one.
    EXPECT_EQ(std::count(rig.line.sent.begin(), rig.line.sent.end(), "02"), 8);
}

TEST(Handshake, IdentityMustBeEightBytesHoldingAKnownModel) {
    struct Case {
        const char* identity;
        bool accepted;
    };
    const std::vector<Case> cases{
        {"564E343831210000", true},    // VN481
        {"564E343832210000", true},    // VN482
        {"00564E3438322100", true},    // the word anywhere in the reply
        {"564E3438312100", false},     // 7 bytes
        {"564E343831210000FF", false}, // 9 bytes
        {"564E343833210000", false},   // VN483
        {"0564E34383121000", true},    // a plain text search: off the byte boundary too
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.control.WriteRadio();
        rig.Radio("06");
        rig.Radio(c.identity);
        EXPECT_EQ(rig.line.Last() == "06", c.accepted) << c.identity;
        EXPECT_EQ(rig.control.Engine().HandshakePhase(), !c.accepted) << c.identity;
    }
}

TEST(Handshake, BandFromIdentityByteSix) {
    struct Case {
        const char* byte;
        int band;
    };
    const std::vector<Case> cases{{"21", 0}, {"15", 1}, {"2B", 2}, {"3F", 3},
                                  {"35", 4}, {"01", 5}, {"33", 3}, {"73", 3}};
    for (const Case& c : cases) {
        Rig rig;
        OpenRead(rig, "3F"); // band 3 from an earlier transfer
        // Finish by the watchdog so a second transfer can start.
        for (int i = 0; i < kWatchdogTicks; ++i) rig.control.OnWatchdogTick();
        ASSERT_EQ(rig.control.CurrentPhase(), TransferControl::Phase::Idle);
        OpenRead(rig, c.byte);
        EXPECT_EQ(rig.control.Engine().RadioBand(), c.band) << c.byte;
    }
}

TEST(Break, DropsTheFirstByteOfTheDataThatFollows) {
    Rig rig;
    rig.control.ReadRadio();
    rig.control.OnBreak();
    rig.Radio("0006");
    EXPECT_EQ(rig.line.Last(), "02");

    Rig other;
    other.control.ReadRadio();
    other.control.OnBreak();
    other.Radio("06");
    EXPECT_EQ(other.line.sent.size(), 1u);
    EXPECT_EQ(other.control.Engine().RxText(), "");
    EXPECT_FALSE(other.control.Engine().BreakPending());
}

std::string Hex16(int first) {
    std::string hex;
    for (int i = 0; i < 16; ++i) hex += HexFromBytes(std::string(1, static_cast<char>(first + i)));
    return hex;
}

TEST(WriteDialogue, FrameByFrame) {
    Rig rig;
    rig.state.BandSelection = 0;
    rig.control.WriteRadio();
    rig.Radio("06");
    EXPECT_EQ(rig.line.Last(), "02");
    rig.Radio(Identity("21"));
    EXPECT_EQ(rig.line.Last(), "06");
    rig.Radio("06");
    EXPECT_EQ(rig.line.Last(), "57001010000102030405060708090A0B0C0D0E0F");
    rig.Radio("06");
    EXPECT_EQ(rig.line.Last(), "57002010101112131415161718191A1B1C1D1E1F");
    for (int i = 0; i < 21; ++i) rig.Radio("06");
    EXPECT_EQ(rig.line.Last(), "57017010606162636465666768696A6B6C6D6E6F");
    rig.Radio("06");
    // Image bytes 0x1A8-0x1B7: the model tag and the band code.
    EXPECT_EQ(rig.line.Last(), "5701B810A8A9AAABACADAEAFB0B1B2B3B4B5B6B7");
    rig.Radio("06");
    EXPECT_EQ(rig.line.Last(), "57020010F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF");
    for (int i = 0; i < 21; ++i) rig.Radio("06");
    EXPECT_EQ(rig.line.Last(), "57035010404142434445464748494A4B4C4D4E4F");
    EXPECT_FALSE(rig.view.written);
    rig.Radio("06");
    EXPECT_EQ(rig.line.Last(), "45");
    EXPECT_TRUE(rig.view.written);
    EXPECT_EQ(rig.line.sent.size(), 3u + 46u + 1u);
}

TEST(WriteDialogue, SkipPlanWithAndWithoutServiceMode) {
    std::vector<int> common;
    for (int a = 0x0010; a <= 0x0170; a += 0x10) common.push_back(a);
    std::vector<int> tail{0x01B8};
    for (int a = 0x0200; a <= 0x0350; a += 0x10) tail.push_back(a);

    for (int service : {0, 1}) {
        std::vector<int> plan = common;
        if (service) plan.push_back(0x0180);
        plan.insert(plan.end(), tail.begin(), tail.end());
        EXPECT_EQ(plan.size(), service ? 47u : 46u);
        EXPECT_EQ(WritePlan(service != 0), plan);

        Rig rig;
        rig.state.ServiceMode = service;
        rig.control.WriteRadio();
        rig.Radio("06");
        rig.Radio(Identity("21"));
        std::vector<int> sentAddresses;
        while (rig.line.Last() != "45") {
            rig.Radio("06");
            const std::string frame = rig.line.Last();
            if (frame == "45") break;
            ASSERT_EQ(frame.size(), 40u);
            ASSERT_EQ(frame.substr(0, 2), "57");
            ASSERT_EQ(frame.substr(6, 2), "10");
            const int address = std::stoi(frame.substr(2, 4), nullptr, 16);
            EXPECT_EQ(frame.substr(8), Hex16((address - 0x10) & 0xFF)) << std::hex << address;
            sentAddresses.push_back(address);
        }
        EXPECT_EQ(sentAddresses, plan) << "service " << service;
    }
}

TEST(WriteDialogue, ServiceBlockCarriesThePowerLevelOffsets) {
    Rig rig;
    rig.state.ServiceMode = 1;
    rig.control.WriteRadio();
    rig.Radio("06");
    rig.Radio(Identity("21"));
    for (int i = 0; i < 24; ++i) rig.Radio("06");
    EXPECT_EQ(rig.line.Last(), "57018010707172737475767778797A7B7C7D7E7F");
    rig.Radio("06");
    EXPECT_EQ(rig.line.Last(), "5701B810A8A9AAABACADAEAFB0B1B2B3B4B5B6B7");
}

TEST(WriteDialogue, OnlyAnExactAcknowledgeIsActedOn) {
    Rig rig;
    rig.control.WriteRadio();
    rig.Radio("06");
    rig.Radio(Identity("21"));
    rig.Radio("06");
    const std::size_t before = rig.line.sent.size();
    rig.Radio("15");
    EXPECT_EQ(rig.line.sent.size(), before);
    EXPECT_EQ(rig.control.Engine().RxText(), "15");
}

} // namespace
} // namespace quelro::test
