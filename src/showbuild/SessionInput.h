// What a conversion or a render of single frames needs of a show once it is
// prepared: the format, the timed picture list, the background, the motion,
// the per-picture lookups and the seed of the show's random choices.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/CaptionStyle.h"
#include "model/StyleSet.h"
#include "showbuild/BuildPictures.h"
#include "showbuild/FrameGeometry.h"
#include "showbuild/MotionFrames.h"
#include "showbuild/PictureComposer.h"
#include "showbuild/ShowTiming.h"
#include "showbuild/TitleCards.h"
#include "video/MclDef.h"

namespace video {

// A picture or music file the video goes without, and why.
struct SkippedFile {
    std::string path;
    std::string reason;
};
using SkippedPicture = SkippedFile;

// What a conversion needs besides the settings record.
struct SessionInput {
    FrameFormat format;
    int32_t tvSet = 0;
    int aspect = kMclAspectFormat;  // MclSetVideoOptions numbers, for MP4 and DVD
    int quality = 0;
    int rate = 0;  // the choice; format.rate is the rate it gives
    uint8_t musicSync = 0;
    bool showCaption = false;
    uint8_t subtitles = 0;  // model::SubtitleMode: where the captions go as text
    bool playMusic = true;
    std::vector<std::string> pictures;  // after the synchronisation step
    std::vector<std::string> music;     // the show's music list, likewise
    int64_t lastMusicMs = 0;            // the measured length of its last file
    MclAudioMix mix;                    // how the music is mixed
    ShowTiming timing;
    BackgroundSpec background;
    // Per-picture lookups (the working store's, in the program).
    std::function<model::StyleSet(const std::string&)> effectsOf;
    std::function<std::string(const std::string&)> captionOf;
    std::function<model::CaptionStyle(const std::string&)> captionStyleOf;  // unset: the default
    TitleCardLookup titleCardOf;  // unset: the show has no cards
    LoadPictureFunction loadPicture;
    ShowMotion motion;  // pan and zoom; nothing moves unless asked
    // Seeds each picture's random choices (ShowSeed), so that every build and
    // render of the show picks the same effects and motion.
    uint32_t seed = 0;
};

}  // namespace video
