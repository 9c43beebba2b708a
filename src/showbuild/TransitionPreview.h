// One transition of a chosen style between two pictures, drawn by the
// build's own renderer at any frame size, and the timing of its loop: what
// the window's small effect previews show. The frames are those the build
// would draw for a show of just those pictures with that style: composed
// over the show's background, moving as the show moves them, at the show's
// transition speed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"
#include "model/Show.h"
#include "raster/Bitmap.h"
#include "showbuild/FrameGeometry.h"
#include "showbuild/ShowPreparation.h"

namespace video {

// A frame 'width' pixels wide with square pixels, in the display proportions
// of the show's video format (4:3 where the format is unknown).
FrameFormat PreviewFrameFormat(const model::TslSettings& settings, int width);

struct TransitionPreview {
    // [0] the frame before the transition, [k] its step k (1 .. steps()).
    std::vector<raster::Bitmap> frames;
    FrameRate rate;  // the video's

    int32_t steps() const { return static_cast<int32_t>(frames.size()) - 1; }
};

// Draws transition 'style' (1..172) from pictures[0] to pictures[1] at
// 'format'; with one picture, from the black frame the video opens with.
// Pictures the build would leave out are left out. Fails when none is
// left, or with the message of a picture that cannot be loaded.
base::Result<TransitionPreview> DrawTransitionPreview(const model::Show& show,
                                                      std::vector<std::string> pictures, int style,
                                                      const FrameFormat& format,
                                                      const ShowLoaders& loaders = {});

// The loop of a preview, a tick per video frame: the frame before the
// transition for a moment, the transition's steps, its last frame held
// longer (both rests as long in seconds at every rate), and again.
class PreviewLoop {
public:
    PreviewLoop(int32_t steps, FrameRate rate);

    // Milliseconds between ticks: the video's frame rate.
    int tickMs() const;
    // The index into TransitionPreview::frames that tick 'tick' (from 0) shows.
    size_t FrameAt(int64_t tick) const;

private:
    int32_t steps_;
    FrameRate rate_;
};

}  // namespace video
