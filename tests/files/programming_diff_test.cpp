// The comparison of two programmings: the lines people read for hand-written
// pairs of images, and, over random pairs of whole images, that the JSON
// Patch turns the export of one into the export of the other (applied by a
// small applier of our own), refuses the other, and that the people's list
// is empty exactly when the two images are the same.
#include "files/programming_diff.h"

#include <gtest/gtest.h>

#include <random>

#include "codes/conversions.h"
#include "files/json_form.h"
#include "files/json_patch.h"
#include "i18n/captions.h"
#include "i18n/traditional.h"
#include "image/memory_image.h"
#include "support/test_images.h"

namespace quelro {
namespace {

using cli::ExportJsonForm;
using cli::Json;
using test::FreshImage;
using test::Patch;

Programming FromImage(const std::string& image) {
    Programming p{ProgramState::StartUp(), image};
    EXPECT_TRUE(DecodeImage(p.state, image));
    return p;
}

std::vector<std::string> Lines(const std::string& a, const std::string& b, int lang = kEnglish) {
    std::vector<std::string> lines;
    for (const Difference& d : CompareProgrammings(FromImage(a), FromImage(b), lang))
        lines.push_back(DifferenceLine(d));
    return lines;
}

// ---- a JSON Patch applier, after RFC 6902 and RFC 6901 --------------------------

struct PatchFailed {
    std::string why;
};

std::vector<std::string> Tokens(const std::string& pointer) {
    if (pointer.empty()) return {};
    if (pointer[0] != '/') throw PatchFailed{"pointer without leading /: " + pointer};
    std::vector<std::string> tokens;
    std::string token;
    for (std::size_t i = 1; i <= pointer.size(); ++i) {
        if (i == pointer.size() || pointer[i] == '/') {
            tokens.push_back(token);
            token.clear();
        } else if (pointer[i] == '~' && i + 1 < pointer.size() && pointer[i + 1] == '0') {
            token += '~';
            ++i;
        } else if (pointer[i] == '~' && i + 1 < pointer.size() && pointer[i + 1] == '1') {
            token += '/';
            ++i;
        } else {
            token += pointer[i];
        }
    }
    return tokens;
}

// The value named by the first `count` tokens of a pointer.
Json& Resolve(Json& doc, const std::vector<std::string>& tokens, std::size_t count) {
    Json* at = &doc;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& t = tokens[i];
        if (at->is_object()) {
            if (!at->contains(t)) throw PatchFailed{"no member " + t};
            at = &(*at)[t];
        } else if (at->is_array()) {
            if (t.empty() || t.find_first_not_of("0123456789") != std::string::npos ||
                std::stoul(t) >= at->size())
                throw PatchFailed{"no element " + t};
            at = &(*at)[std::stoul(t)];
        } else {
            throw PatchFailed{"path through a scalar"};
        }
    }
    return *at;
}

void Apply(Json& doc, const Json& patch) {
    if (!patch.is_array()) throw PatchFailed{"patch is no array"};
    for (const Json& op : patch) {
        const std::string name = op.at("op");
        const std::vector<std::string> tokens = Tokens(op.at("path"));
        if (name == "test") {
            if (Resolve(doc, tokens, tokens.size()) != op.at("value"))
                throw PatchFailed{"test failed at " + op.at("path").get<std::string>()};
        } else if (name == "replace") {
            Resolve(doc, tokens, tokens.size()) = op.at("value");
        } else if (name == "add" || name == "remove") {
            if (tokens.empty()) throw PatchFailed{"add or remove at the root"};
            Json& parent = Resolve(doc, tokens, tokens.size() - 1);
            const std::string& last = tokens.back();
            if (parent.is_object() && name == "add") {
                parent[last] = op.at("value");
            } else if (parent.is_object()) {
                if (parent.erase(last) == 0) throw PatchFailed{"no member " + last};
            } else if (parent.is_array() && name == "add") {
                const std::size_t index = last == "-" ? parent.size() : std::stoul(last);
                if (index > parent.size()) throw PatchFailed{"add beyond the end"};
                parent.insert(parent.begin() + static_cast<std::ptrdiff_t>(index), op.at("value"));
            } else {
                Resolve(doc, tokens, tokens.size());
                parent.erase(std::stoul(last));
            }
        } else {
            throw PatchFailed{"unknown op " + name};
        }
    }
}

// ---- the people's lines ----------------------------------------------------------

// 446.00625 in both frequencies, no tones, busy lock carrier, power high, wide.
constexpr const char* kChannel = "2506604425066044FFFFFFFFF8F0FCFF";

struct LinesCase {
    const char* what;
    std::string second; // the first is the fresh image, or `first` when given
    std::vector<std::string> lines;
    int lang = kEnglish;
    std::string first = FreshImage();
};

TEST(ProgrammingDiffTest, LinesForPeople) {
    const std::string one = Patch(FreshImage(), 0x20, kChannel); // channel 3
    const std::vector<LinesCase> cases{
        {"the same", FreshImage(), {}},
        {"a receive frequency",
         Patch(one, 0x20, "50126044"),
         {"CH03  RX frequency  446.00625 -> 446.01250"},
         kEnglish,
         one},
        {"a tone told apart by its column",
         Patch(one, 0x2A, "7503"),
         {"CH03  QT/DQT (TX frequency)  Off -> 88.5"},
         kEnglish,
         one},
        {"a list cell in Chinese",
         Patch(one, 0x2C, "F0"),
         {"信道03  禁发  载波 -> 关闭"},
         kSimplified,
         one},
        {"a channel appears",
         one,
         {"CH03  appears  446.00625  Off  446.00625  Off  Hight  Carrow  Wide  No"}},
        {"a channel vanishes",
         FreshImage(),
         {"CH03  vanishes  446.00625  Off  446.00625  Off  Hight  Carrow  Wide  No"},
         kEnglish,
         one},
        {"a transmit frequency emptied",
         Patch(one, 0x24, "FFFFFFFF"),
         {"CH03  TX frequency  446.00625 -> (empty)"},
         kEnglish,
         one},
        {"settings of three windows",
         Patch(Patch(Patch(FreshImage(), 0x124, "05"), 0x12A, "03"), 0x10D, "04"),
         {"Function Set / Squelch Grade  1 Group -> 5 Group",
          "Optional Function / VOX GBIN  1 -> 3",
          "Keys Set / PF1  Instant cancel static noise -> Surveillance"}},
        {"the band, by the frame's caption",
         Patch(Patch(FreshImage(), 0x1AD, "21"), 0x33C, "21"),
         {"Model  400-500MHz -> 450-490MHz"}},
        {"an embedded text and a test frequency",
         Patch(Patch(FreshImage(), 0x2F0, "4142"), 0x274, "00000045"),
         {"Embedded Information / 1  \"\" -> \"AB\"",
          "Debug frequency / 01 TX Frequency  (empty) -> 450.00000"}},
        {"bytes the state does not keep",
         Patch(Patch(FreshImage(), 0x108, "00"), 0x1AD, "5A"),
         {"Image offset 0x108  FF -> 00", "Image offset 0x1AD  33 -> 5A"}},
        {"a byte kept beyond the state, in Chinese",
         Patch(FreshImage(), 0x0C, "F4"),
         {"映像偏移 0x00C  F8 -> F4"},
         kSimplified},
    };
    for (const LinesCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Lines(c.first, c.second, c.lang), c.lines);
    }
}

TEST(ProgrammingDiffTest, TraditionalLinesAreTheSimplifiedOnesConverted) {
    if (!TraditionalAvailable()) GTEST_SKIP() << "no OpenCC data";
    const std::string one = Patch(FreshImage(), 0x20, kChannel);
    const std::string other = Patch(Patch(one, 0x2D, "C0"), 0x124, "05");
    const std::vector<std::string> simplified = Lines(one, other, kSimplified);
    const std::vector<std::string> traditional = Lines(one, other, kTraditional);
    ASSERT_EQ(simplified.size(), 3u);
    ASSERT_EQ(traditional.size(), simplified.size());
    EXPECT_EQ(traditional[0], "信道03  功率  高 -> 低");
    for (std::size_t i = 0; i < simplified.size(); ++i)
        EXPECT_EQ(traditional[i], ToTraditional(simplified[i]));
}

TEST(ProgrammingDiffTest, AFormComparesByItsStateAndAShortFileByWhatItHolds) {
    // The table on screen (no image) against its own saved file: the same.
    Programming onScreen = FromImage(Patch(FreshImage(), 0x20, kChannel));
    onScreen.imageHex.clear();
    EXPECT_TRUE(
        CompareProgrammings(onScreen, FromImage(EncodeImage(onScreen.state)), kEnglish).empty());
    // A file of 816 image bytes: what it lacks is what saving writes there.
    const Programming shortFile = FromImage(FreshImage().substr(0, kDecodeMinHexLength));
    EXPECT_EQ(EffectiveImage(shortFile), FreshImage());
    EXPECT_TRUE(CompareProgrammings(shortFile, FromImage(FreshImage()), kEnglish).empty());
}

// ---- random pairs ----------------------------------------------------------------

TEST(ProgrammingDiffTest, PatchOfRandomPairsTurnsOneExportIntoTheOther) {
    std::mt19937 random(20240518);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<std::size_t> offset(0, kImageBytes - 1);
    auto randomImage = [&] {
        std::string bytes(kImageBytes, '\0');
        for (char& b : bytes) b = static_cast<char>(byte(random));
        return HexFromBytes(bytes);
    };
    // Half the pairs differ everywhere, half in a few bytes of the first.
    auto nearImage = [&](std::string image) {
        const int changes = 1 + byte(random) % 6;
        for (int i = 0; i < changes; ++i) {
            image = Patch(image, offset(random), HexByte(static_cast<unsigned long>(byte(random))));
        }
        return image;
    };
    int differing = 0;
    for (int pair = 0; pair < 300; ++pair) {
        const std::string imageA = randomImage();
        const std::string imageB = pair % 2 == 0 ? randomImage() : nearImage(imageA);
        SCOPED_TRACE(imageA + " / " + imageB);
        const Programming a = FromImage(imageA);
        const Programming b = FromImage(imageB);
        const Json exportA = ExportJsonForm(a.state);
        const Json exportB = ExportJsonForm(b.state);
        const Json patch = JsonPatch(exportA, exportB);

        Json patched = exportA;
        try {
            Apply(patched, Json::parse(patch.dump()));
        } catch (const PatchFailed& failed) {
            FAIL() << failed.why;
        }
        EXPECT_EQ(patched, exportB);
        // Every replace is guarded by a test of the old value.
        for (std::size_t i = 0; i < patch.size(); ++i)
            if (patch[i]["op"] == "replace") {
                ASSERT_GT(i, 0u);
                EXPECT_EQ(patch[i - 1]["op"], "test");
                EXPECT_EQ(patch[i - 1]["path"], patch[i]["path"]);
            }
        if (!patch.empty()) {
            Json other = exportB;
            EXPECT_THROW(Apply(other, patch), PatchFailed);
        }
        const std::vector<Difference> differences = CompareProgrammings(a, b, kEnglish);
        EXPECT_EQ(differences.empty(), imageA == imageB);
        EXPECT_EQ(patch.empty(), exportA == exportB);
        differing += differences.empty() ? 0 : 1;
    }
    // A near pair may come out the same; nearly all differ.
    EXPECT_GE(differing, 290);
}

TEST(ProgrammingDiffTest, ChannelsAppearingAndVanishingAreOneReplaceOfTheirElement) {
    const Json a = ExportJsonForm(FromImage(FreshImage()).state);
    const Json b = ExportJsonForm(FromImage(Patch(FreshImage(), 0x20, kChannel)).state);
    const Json patch = JsonPatch(a, b);
    ASSERT_EQ(patch.size(), 2u) << patch.dump();
    EXPECT_EQ(patch[0], Json::parse(R"({"op": "test", "path": "/channels/2", "value": null})"));
    EXPECT_EQ(patch[1]["op"], "replace");
    EXPECT_EQ(patch[1]["path"], "/channels/2");
    EXPECT_EQ(patch[1]["value"]["rx"], "446.00625");
    const Json back = JsonPatch(b, a);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1], Json::parse(R"({"op": "replace", "path": "/channels/2", "value": null})"));
    EXPECT_EQ(JsonPointerToken("a/b~c"), "a~1b~0c");
}

} // namespace
} // namespace quelro
