// The part of the settings record a build reads, copied once when the build
// starts. The build and the show timing work on this copy, so that nothing
// the window changes while a build prepares mixes into it, and tests can
// hand a build its inputs as a plain value. The pictures and music lists the
// build shortens or lengthens go back to the record in one step.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/MotionSetting.h"
#include "model/StyleSet.h"
#include "sound/MixRules.h"

namespace model {
struct TslSettings;
}

namespace video {

struct BuildSettings {
    uint8_t VideoType = 2;     // 0 VCD, 1 SVCD, 2 DVD, 3..5 MP4 720p, 1080p, 4K
    uint8_t VideoAspect = 0;   // MP4: 0 16:9, 1 4:3
    uint8_t VideoQuality = 0;  // MP4: 0 Standard, 1 High
    int32_t TVSet = 0;         // 1 is NTSC
    int32_t EffectSpeed2 = 4;
    uint8_t MusicSync = 0;  // 0 none, 1 fit music to pictures, 2 fit pictures to music
    bool PlayMusic = true;
    bool ShowCaption = false;
    uint32_t BackgroundColor = 0;  // 0x00BBGGRR
    bool Back_Mode_UseColor = true;
    bool Back_Mode_Blurred = false;
    bool Back_Image_UseTiled = true;
    std::string Back_Image_Filename;
    model::MotionSetting Motion;  // of the pictures without their own
    std::vector<std::string> Pictures;
    std::vector<std::string> Music;
    // The show's effects, for pictures without a set of their own.
    model::StyleSet useeffects = model::DefaultStyleSet();
    sound::MixOptions Mix;  // fades, crossfade, even loudness
};

BuildSettings BuildSettingsFrom(const model::TslSettings& settings);

// Moves the snapshot's pictures and music lists into the record.
void WriteBackLists(BuildSettings& snapshot, model::TslSettings& settings) noexcept;

}  // namespace video
