// Shared by the build tests: a program folder of its own per test (so
// "tmp.mpg" and "options.dat" land there), a show of the test's own with
// generated pictures and music, and what a built file must hold.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "model/IniFile.h"
#include "model/Show.h"
#include "raster/Bitmap.h"
#include "showbuild/BuildDriver.h"
#include "video/EncoderTestUtil.h"

namespace video::test {

// Writes a picture through Qt's writers (format from the extension): a
// colour gradient with a bright frame, or one flat colour.
void WritePicture(const std::string& path, int width, int height);
void WriteSolidPicture(const std::string& path, int width, int height, unsigned rgb);

// A decoded frame of 8-bit red, green and blue.
struct RgbFrame {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    const uint8_t* at(int x, int y) const {
        return rgb.data() + (static_cast<size_t>(y) * width + x) * 3;
    }
    // Drawn on a black picture: any channel clearly above black.
    bool ink(int x, int y) const {
        const uint8_t* p = at(x, y);
        return std::max({p[0], p[1], p[2]}) > 60;
    }
    InkBox inkBox() const {
        InkBox box{width, -1, height, -1};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (ink(x, y))
                    box = {std::min(box.left, x), std::max(box.right, x), std::min(box.top, y),
                           std::max(box.bottom, y)};
        return box;
    }
    // Pixels whose one channel stands well above the two others.
    int count(int channel) const {
        int n = 0;
        for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
            const int c = rgb[i + channel], o1 = rgb[i + (channel + 1) % 3],
                      o2 = rgb[i + (channel + 2) % 3];
            n += c > 120 && o1 < 70 && o2 < 70;
        }
        return n;
    }
    int64_t lumaSum() const {
        int64_t sum = 0;
        for (uint8_t v : rgb) sum += v;
        return sum;
    }
};

class BuildTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string File(const std::string& name) const { return dir_.file(name); }
    // A tiny show: the fastest transition (ten frames at PAL) and
    // 'interval' seconds per picture.
    void QuickShow(int32_t interval);
    // Builds the test's show through a driver with 'hooks'.
    BuildResult BuildShow(const BuildHooks& hooks = {}) const;
    // A picture in the scratch folder, listed in the show.
    std::string AddPicture(const std::string& name, int width = 160, int height = 120);
    // An MP3 in the scratch folder, listed in the show with its length.
    std::string AddMusic(const std::string& name, double seconds, int lengthMs);
    // The collect step the window and the command run before a build, over
    // 'store' with the show's lists added to it as checked entries: the show
    // gets its lists, its music notes and the music it leaves out from there.
    void CollectShow(model::IniFile store);
    // Builds the test's show to the end; every frame shown.
    std::vector<raster::Bitmap> BuiltFrames() const;

    ScratchDir dir_;
    model::Show show_;
};

// ffprobe's view of the file: it opens, and holds video of the format's
// size and rate (and sound when expected).
void ExpectStream(const FileInfo& info, int videoType, int tvSet, bool withAudio);

// ffprobe's compact output, read by the program from outside: one map of
// key=value per stream, chapter or packet that 'what' asks for, the section
// name under "section".
using Entries = std::map<std::string, std::string>;
std::vector<Entries> ProbeSections(const std::string& path, const std::string& what);
// The first stream of codec_type 'type' ("video", "audio"); a failure when none.
Entries StreamOfType(const std::vector<Entries>& sections, const std::string& type);
// The chapters among them, in order.
std::vector<Entries> ChaptersOf(const std::vector<Entries>& sections);

}  // namespace video::test
