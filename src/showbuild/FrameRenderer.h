// Any frame of a show, drawn without a build and without playing the show
// from its start: the timing says which picture's cycle a frame falls in and
// where, the one or two pictures it needs are loaded (the last few are kept,
// so stepping forward is cheap), and the frame is drawn by the build's own
// ShownPicture from the frame before the picture's transition.
//
// The frames are the build's frames before encoding: the pixels it hands the
// encoder and the caption lines the encoder stamps on them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

#include "base/Result.h"
#include "raster/Bitmap.h"
#include "showbuild/CaptionLayout.h"
#include "showbuild/ShowPreparation.h"
#include "showbuild/ShownPicture.h"

namespace video {

struct ShowFrame {
    raster::Bitmap pixels;  // the format's rendered size
    std::vector<CaptionLine> captions;
    int captionShadow = kCaptionShadowOffset;
};

class FrameRenderer {
public:
    // 'prepared' must be ready (PrepareShow).
    explicit FrameRenderer(PreparedShow prepared);

    const SessionInput& input() const { return prepared_.input; }
    const FrameFormat& format() const { return prepared_.input.format; }
    int32_t tvSet() const { return prepared_.input.tvSet; }
    int64_t frameCount() const { return prepared_.VideoFrames(); }
    double frameRate() const { return prepared_.FrameRate(); }

    // Frame 'index' (0 .. frameCount() - 1); the frames past the timed show,
    // fitted to the music, hold its last frame. Fails naming the picture it
    // cannot load.
    base::Result<ShowFrame> FrameAt(int64_t index);
    // The frame shown at 'seconds': frame floor(seconds x rate).
    base::Result<ShowFrame> FrameAtSeconds(double seconds);

    // Picture 'index', started as the build starts it; the reference holds
    // until another picture not among the last three is started. Throws what
    // its load throws.
    ShownPicture& Picture(size_t index);

private:
    // The frame at position 'pos' of picture 'index''s cycle, drawn into
    // 'frame' (position 0 repeats the frame before it).
    void DrawCycleFrame(size_t index, int64_t pos, raster::Bitmap& frame);

    PreparedShow prepared_;
    std::vector<int64_t> starts_;
    raster::Bitmap background_;
    // The last pictures started, the newest at the back.
    std::deque<std::pair<size_t, std::unique_ptr<ShownPicture>>> cache_;
};

}  // namespace video
