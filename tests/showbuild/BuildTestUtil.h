// Shared by the build tests: a program folder of its own per test (so
// "tmp.mpg" and "options.dat" land there), a show of the test's own with
// generated pictures and music, and what a built file must hold.
#pragma once

#include <gtest/gtest.h>

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
