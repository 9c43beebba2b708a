// Recorded hashes of every effect's frames at 25, 50 and 75 percent on two
// pictures made in code, so that any change to what an effect draws shows up
// in review as a changed line of EffectFrameHashes.txt.
//
// Regenerate after an intended change:
//   VANTO_UPDATE_GOLDEN=1 ./build/bin/test_effects_golden
//
// This program holds a single test on purpose: the seeded effects and the
// turning shapes depend on the incoming picture's handle, which comes from a
// counter, so the pictures must be the first bitmaps the process makes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/Random.h"
#include "effects/Effects.h"
#include "effects/SyntheticPictures.h"

namespace effects {
namespace {

constexpr int kWidth = 352, kHeight = 288;
constexpr int kPercents[] = {25, 50, 75};
constexpr uint32_t kGeneratorSeed = 20240611u;

// FNV-1a over the pixel bytes, top row first, without row padding.
uint64_t FrameHash(const Bitmap& frame) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (int y = 0; y < frame.height(); ++y) {
        const uint8_t* row = frame.row(y);
        for (int i = 0; i < 3 * frame.width(); ++i) {
            hash ^= row[i];
            hash *= 0x100000001b3ull;
        }
    }
    return hash;
}

std::vector<std::string> RecordLines(const Bitmap& outgoing, const Bitmap& incoming) {
    std::vector<std::string> lines = {
        "# Effect frame hashes (FNV-1a, 64 bit, of the pixel bytes, top row first).",
        "# Regenerate: VANTO_UPDATE_GOLDEN=1 ./build/bin/test_effects_golden",
        "# frame " + std::to_string(kWidth) + "x" + std::to_string(kHeight) +
            ", incoming picture handle " + std::to_string(incoming.handle()),
        "# style percent hash name",
    };
    Bitmap frame;
    for (int style = 1; style <= kEffectCount; ++style)
        for (const int p : kPercents) {
            frame = outgoing;
            base::SetRandSeed(kGeneratorSeed);
            DrawEffect(style, frame, incoming, p);
            char hash[17];
            std::snprintf(hash, sizeof hash, "%016llx",
                          static_cast<unsigned long long>(FrameHash(frame)));
            lines.push_back(std::to_string(style) + " " + std::to_string(p) + " " + hash + " " +
                            Effects[style].Name);
        }
    return lines;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool WriteLines(const std::string& path, const std::vector<std::string>& lines) {
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        for (const std::string& line : lines) out << line << '\n';
        out.flush();
        if (!out) return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

TEST(GoldenFrames, EveryEffectDrawsTheRecordedFrames) {
    const Bitmap outgoing = test_support::SyntheticPicture(kWidth, kHeight, 0);
    const Bitmap incoming = test_support::SyntheticPicture(kWidth, kHeight, 1);
    const std::vector<std::string> actual = RecordLines(outgoing, incoming);
    const std::string path = VANTO_GOLDEN_FILE;

    const char* update = std::getenv("VANTO_UPDATE_GOLDEN");
    if (update && *update && std::string(update) != "0") {
        ASSERT_TRUE(WriteLines(path, actual)) << "cannot write " << path;
        std::printf("Wrote %zu lines to %s\n", actual.size(), path.c_str());
        return;
    }

    const std::vector<std::string> recorded = ReadLines(path);
    ASSERT_FALSE(recorded.empty())
        << path << " is missing; regenerate it with VANTO_UPDATE_GOLDEN=1";
    ASSERT_EQ(recorded.size(), actual.size()) << path << " has a different number of lines";
    // A changed handle changes every seeded and turning effect at once; say so
    // rather than listing them.
    ASSERT_EQ(recorded[2], actual[2])
        << "the incoming picture's handle changed: make the pictures the first bitmaps again";
    int changed = 0;
    for (size_t i = 0; i < actual.size(); ++i)
        if (recorded[i] != actual[i] && ++changed <= 20)
            ADD_FAILURE() << "recorded: " << recorded[i] << "\n   drawn: " << actual[i];
    EXPECT_EQ(changed, 0) << "frames differ from the recorded hashes";
}

}  // namespace
}  // namespace effects
