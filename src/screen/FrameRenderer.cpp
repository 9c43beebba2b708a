#include "screen/FrameRenderer.h"

#include <optional>

#include "effects/Effects.h"
#include "raster/Blit.h"
#include "screen/FrameValues.h"
#include "screen/PixelStyles.h"
#include "screen/RectangleStyles.h"
#include "screen/RegionStyles.h"

namespace screen {

namespace {

void DrawWhole(Bitmap& frame, const Bitmap& picture) {
    raster::BitBlt(frame, 0, 0, picture.width(), picture.height(), picture, 0, 0);
}

int RenderTableStyle(const FrameInput& in, FrameSink& sink) {
    Bitmap& frame = *in.screenBitmap;
    const Bitmap& incoming = *in.newBitmap;
    DrawWhole(frame, *in.oldBitmap);
    sink.BeforeNewFrame();
    // The transition's own bitmaps give the size: the host may have put a
    // picture of another size into the screen since the run was prepared.
    const Rect whole{0, 0, incoming.width(), incoming.height()};
    if (in.progress >= 100)
        DrawWhole(frame, incoming);
    else if (in.progress > 0)
        effects::DrawEffect(in.style, frame, incoming, in.progress);
    // Painted when the platform next paints, not forced.
    sink.InvalidateFrameRect(whole);
    sink.AfterNewFrame();
    return in.progress;
}

}  // namespace

int RenderFrame(const FrameInput& in, FrameSink& sink) {
    if (!in.oldBitmap || !in.newBitmap || !in.screenBitmap) return in.progress;
    if (in.style >= 128 && in.style <= effects::kEffectCount) return RenderTableStyle(in, sink);

    Bitmap& frame = *in.screenBitmap;
    const Bitmap& incoming = *in.newBitmap;
    DrawWhole(frame, *in.oldBitmap);
    sink.BeforeNewFrame();
    int p = in.progress;
    const FrameValues v = ComputeFrameValues(incoming.width(), incoming.height(), p, in.step);
    if (in.style > effects::kEffectCount) return p;  // the snapshot stays; nothing to show

    const int W = v.W, H = v.H;
    Rect D{0, 0, W, H}, S{0, 0, W, H};
    std::optional<raster::Region> R;

    if (in.style == 0) {
        if (!sink.CustomDraw()) {
            // A cut lands on the end of the run at once. In reverse that end
            // is the snapshot; otherwise a reverse cut would never finish.
            if (in.reverse) {
                p = 0;
            } else {
                DrawWhole(frame, incoming);
                R = raster::Region::rect(0, 0, W, H);
                p = 100;
            }
        }
    } else if (p > 0 && p < 100) {
        // At 0 the frame is the snapshot and at 100 the picture, whatever
        // the style would add on the way.
        if (IsRectangleStyle(in.style)) {
            const std::vector<RectCopy> plan = RectangleStylePlan(in.style, v);
            for (size_t i = 0; i + 1 < plan.size(); ++i) {
                const RectCopy& c = plan[i];
                if (c.roll) {
                    sink.InvalidateFrameRect(
                        StretchFlipped(frame, c.D, incoming, c.S, c.flipH, c.flipV));
                } else {
                    CopyRect(frame, c.D, incoming, c.S);
                    sink.InvalidateFrameRect(c.D);
                }
            }
            if (!plan.empty()) {
                D = plan.back().D;
                S = plan.back().S;
            }
        } else if (IsRegionStyle(in.style)) {
            R = RegionStyleRegion(in.style, v, p);
        } else if (IsPixelStyle(in.style)) {
            DrawPixelStyle(in.style, frame, incoming, p);
        }
    }

    // The frame's tail.
    if (p >= 100) {
        DrawWhole(frame, incoming);
    } else if (p > 0) {
        if (IsRectangleStyle(in.style)) {
            CopyRect(frame, D, incoming, S);
        } else if (R && !IsPixelStyle(in.style)) {
            frame.intersectClip(*R);
            DrawWhole(frame, incoming);
            frame.selectClip(nullptr);
        }
    }
    sink.InvalidateFrameRect(D);
    sink.AfterNewFrame();
    sink.UpdateNow();
    return p;
}

}  // namespace screen
