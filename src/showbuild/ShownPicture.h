// The picture on screen in the video: what its start decides (caption,
// transition effect, motion, the fill behind it, the composed frame) and the
// drawing of each frame of its cycle. The build keeps one and starts it anew
// at every picture; the renderer of single frames keeps a few and draws a
// frame from the one or two it needs, so both draw the same frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "raster/Bitmap.h"
#include "showbuild/BuildPictures.h"
#include "showbuild/CaptionLayout.h"
#include "showbuild/CaptionLook.h"
#include "showbuild/FrameTimeline.h"
#include "showbuild/MotionFrames.h"
#include "showbuild/SessionInput.h"

namespace video {

class ShownPicture {
public:
    // Picture 'index' of the show, loaded: its caption laid out, its effect
    // and motion drawn from the generator seeded with its PictureSeed, and
    // the picture composed (or, moving, drawn at its first view) over
    // 'background', or over a blurred fill made from it. Throws what the
    // composition throws.
    void Start(const SessionInput& input, size_t index, BuildPicture picture,
               const raster::Bitmap& background);

    // Draws the frame of 'step', a TransitionFrame, CompletePicture or Hold
    // step of this picture's cycle, into 'frame', which holds the frame
    // before it. Returns whether the frame changed.
    bool DrawStep(const FrameStep& step, raster::Bitmap& frame);

    // The frame shown complete (the frame of its CompletePicture step), for a
    // picture that does not move.
    const raster::Bitmap& composed() const { return incoming_; }
    bool moving() const { return motion_.moving(); }
    const std::vector<CaptionLine>& captions() const { return captions_; }
    const CaptionLook& captionLook() const { return captionLook_; }
    // The caption's opacity at position 'cyclePos' of the picture's cycle.
    int captionOpacity(int64_t cyclePos) const;

private:
    FrameFormat format_{};
    raster::Bitmap background_;
    raster::Bitmap incoming_;
    int effect_ = 0;
    PictureMotion motion_;
    std::vector<CaptionLine> captions_;
    CaptionLook captionLook_;
    int64_t cycleFrames_ = 0;
    int64_t transitionFrames_ = 0;
    uint32_t randomAfterStart_ = 0;  // the generator's state once started
};

}  // namespace video
