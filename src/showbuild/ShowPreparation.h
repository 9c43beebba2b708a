// What a build does with a show before it encodes a frame: it fixes the frame
// format, leaves out the pictures and music it cannot use, times the show and
// applies the synchronisation mode, reads the background and the motion, and
// seeds the show's random choices. The build and the renderer of single
// frames both start from it, so they draw the same frames.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "model/Show.h"
#include "raster/Bitmap.h"
#include "showbuild/BuildPictures.h"
#include "showbuild/SessionInput.h"
#include "showbuild/ShowTiming.h"
#include "sound/AudioDecoder.h"

namespace video {

// How the pictures, the background and the music are read.
struct ShowLoaders {
    LoadPictureFunction loadPicture = LoadBuildPicture;
    ProbeFileFunction probePicture = CheckWholePicture;
    std::function<raster::Bitmap(const std::string&)> loadBackground = LoadBackgroundPicture;
    ProbeFileFunction probeMusic = sound::ProbeMusicFile;
};

struct PreparedShow {
    enum class Outcome { Ready, NoPictures, Declined, Failed };
    Outcome outcome = Outcome::Failed;
    std::string message;                    // one line, unless ready
    SessionInput input;                     // when ready
    ShowLengths lengths;                    // after the synchronisation step
    std::vector<SkippedFile> skipped;       // pictures that cannot be decoded
    std::vector<SkippedFile> skippedMusic;  // checked music the video does not play
    std::vector<std::string> warnings;

    // Frames of the video: the timed show, or, fitted to the music, until the
    // music ends (as far as the stored lengths tell).
    int64_t VideoFrames() const;
    double FrameRate() const { return input.format.rate.perSecond(); }
};

// Prepares 'show' as a build does. 'approveLength', when given, is asked with
// the video's length in seconds once the show is timed; a fault it returns
// fails the preparation with its message.
PreparedShow PrepareShow(
    model::Show show, const ShowLoaders& loaders,
    const std::function<base::Status(double videoSeconds)>& approveLength = {});

}  // namespace video
