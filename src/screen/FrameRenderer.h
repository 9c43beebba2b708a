// One frame of a screen transition: the outgoing snapshot with as much of
// the incoming picture as the style reveals at the current progress.
//
// Style 0 is a cut (or a frame the host draws itself), 1..172 come from the
// effect table, as in the video, and anything above 172 leaves the snapshot
// showing.
#pragma once

#include "raster/Bitmap.h"

namespace screen {

using raster::Bitmap;
using raster::Rect;

// What a frame tells the screen that shows it. Rectangles are in frame
// coordinates.
class FrameSink {
public:
    virtual ~FrameSink() = default;
    // After the snapshot was copied into the frame, before the style draws.
    virtual void BeforeNewFrame() {}
    // After the style has drawn and the changed area was invalidated.
    virtual void AfterNewFrame() {}
    // Style 0: lets the host draw the frame; false when it has no handler.
    virtual bool CustomDraw() { return false; }
    // A part of the frame changed.
    virtual void InvalidateFrameRect(const Rect& /*changed*/) {}
};

struct FrameInput {
    int style = 0;
    int progress = 0;  // 0..100
    bool reverse = false;
    const Bitmap* oldBitmap = nullptr;  // snapshot of the outgoing picture
    const Bitmap* newBitmap = nullptr;  // the incoming picture
    Bitmap* screenBitmap = nullptr;     // the frame; all three the same size
};

// Renders the frame into *screenBitmap. Returns the progress after the
// frame: a cut jumps to the end of the run (100, or 0 when running in
// reverse); every other style returns the progress it was given.
int RenderFrame(const FrameInput& input, FrameSink& sink);

}  // namespace screen
