// The transition effect library: a constant table of 172 named procedures,
// each drawing one frame of a transition between two pictures.
//
// Contract of every procedure:
//   Dest     the frame being drawn. On entry it holds the outgoing picture
//            (or the previous frame); the procedure paints the incoming
//            picture, or part of it, over it. Several effects read the
//            outgoing picture back from Dest.
//   Source   the incoming picture, the same size as Dest; only read.
//   Width, Height        W and H, the size of both bitmaps.
//   CurWidth, CurHeight  w and h, the progress-scaled size (ProgressSize).
//   Percent  p, the progress, 0..100.
// A procedure keeps no state between calls: every frame is derived from the
// arguments alone. It draws only through the raster layer, allocates nothing
// per pixel, reports no errors, and leaves Dest without a clip region and the
// shared random generator as it found it (seeded effects restore it).
#pragma once

#include "raster/Bitmap.h"

namespace effects {

using raster::Bitmap;

using TEffectFunction = void(Bitmap& Dest, const Bitmap& Source, int Width, int Height,
                             int CurWidth, int CurHeight, int Percent);
using TEffectProc = TEffectFunction*;

// The family file that defines a procedure; tests of a family walk the table
// by it. The cut belongs to none.
enum class EffectFamily { Cut, CopyStretch, Stripe, Grid, Shape, Pixel };

// One row of the table: everything known about a style in one place.
struct TEffect {
    int Style;
    const char* Name;
    TEffectProc Proc;
    EffectFamily Family;
};

constexpr int kEffectCount = 172;

// Entries 1..172 serve styles 1..172; entry 0 is the cut and has no
// procedure. The table is checked at compile time: entry i has style i, every
// style has a name, a family and a procedure of its own.
extern const TEffect Effects[kEffectCount + 1];

// The progress-scaled size: the larger side follows p exactly, the other
// keeps the picture's proportions.
//   H <= W: w = MulDiv(W, p, 100), h = MulDiv(w, H, W)
//   H >  W: h = MulDiv(H, p, 100), w = MulDiv(h, W, H)
struct ProgressSize {
    int w;
    int h;
};
ProgressSize ProgressSizeOf(int width, int height, int percent);

// Draws frame 'percent' of style 'style' (1..172) from Source onto Dest,
// both of the same size; a percent outside 0..100 draws the nearer end.
// Other styles draw nothing.
void DrawEffect(int style, Bitmap& dest, const Bitmap& source, int percent);

}  // namespace effects
