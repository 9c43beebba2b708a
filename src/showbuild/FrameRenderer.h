// Any frame of a show, drawn without a build and without playing the show
// from its start: the timing says which picture's cycle a frame falls in and
// where, the one or two pictures it needs are loaded (the last few are kept,
// so stepping forward is cheap), and the frame is drawn by the build's own
// ShownPicture from the frame before the picture's transition.
//
// A player asks for frames in order and seeks back and forth, so the renderer
// keeps what it can reuse: as many started pictures as a memory budget
// allows, each picture's frame before its transition, and the last frame it
// drew, which a later frame of the same picture continues from.
//
// The frames are the build's frames before encoding: the pixels it hands the
// encoder and the caption lines the encoder stamps on them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
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
    CaptionLook captionLook;
    int captionOpacity = TextLayer::kFullOpacity;
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

    // The first frame of each picture.
    const std::vector<int64_t>& pictureStarts() const { return starts_; }
    // Starts picture 'index' ahead of its frames (a player reading ahead);
    // the pixels of every frame stay as they are.
    base::Status Prefetch(size_t index);
    // How many started pictures are kept: at least the three a frame and a
    // step back across a picture change need, more as 'bytes' allows.
    void SetMemoryBudget(size_t bytes);

    // Picture 'index', started as the build starts it; the reference holds
    // until another picture not among those kept is started. Throws what
    // its load throws.
    ShownPicture& Picture(size_t index);

private:
    // The frame at position 'pos' of picture 'index''s cycle, drawn into
    // 'frame' (position 0 repeats the frame before it).
    void DrawCycleFrame(size_t index, int64_t pos, raster::Bitmap& frame);
    // The frame picture 'index''s transition paints over.
    const raster::Bitmap& FrameBefore(size_t index);

    // The last frame drawn, and the generator's state after it, which some
    // effects draw from while their transition runs.
    struct Drawn {
        size_t picture = 0;
        int64_t pos = 0;
        raster::Bitmap frame;
        uint32_t random = 0;
    };

    PreparedShow prepared_;
    std::vector<int64_t> starts_;
    raster::Bitmap background_;
    size_t keptPictures_;
    // The last pictures started, the newest at the back.
    std::deque<std::pair<size_t, std::unique_ptr<ShownPicture>>> cache_;
    std::map<size_t, raster::Bitmap> before_;
    std::optional<Drawn> last_;
};

}  // namespace video
