#include "screen/FrameRenderer.h"

#include "effects/Effects.h"
#include "raster/Blit.h"

namespace screen {

namespace {

void DrawWhole(Bitmap& frame, const Bitmap& picture) {
    raster::BitBlt(frame, 0, 0, picture.width(), picture.height(), picture, 0, 0);
}

}  // namespace

int RenderFrame(const FrameInput& in, FrameSink& sink) {
    if (!in.oldBitmap || !in.newBitmap || !in.screenBitmap) return in.progress;
    Bitmap& frame = *in.screenBitmap;
    const Bitmap& incoming = *in.newBitmap;
    DrawWhole(frame, *in.oldBitmap);
    sink.BeforeNewFrame();
    if (in.style > effects::kEffectCount) return in.progress;  // the snapshot stays
    // The transition's own bitmaps give the size: the host may have put a
    // picture of another size into the screen since the run was prepared.
    const Rect whole{0, 0, incoming.width(), incoming.height()};

    int p = in.progress;
    if (in.style == 0) {
        if (sink.CustomDraw()) {
            if (p >= 100) DrawWhole(frame, incoming);
        } else if (in.reverse) {
            // A cut lands on the end of the run at once. In reverse that end
            // is the snapshot; otherwise a reverse cut would never finish.
            p = 0;
        } else {
            DrawWhole(frame, incoming);
            p = 100;
        }
    } else if (p >= 100) {
        DrawWhole(frame, incoming);
    } else if (p > 0) {
        effects::DrawEffect(in.style, frame, incoming, p);
    }
    // Painted when the platform next paints, not forced.
    sink.InvalidateFrameRect(whole);
    sink.AfterNewFrame();
    return p;
}

}  // namespace screen
