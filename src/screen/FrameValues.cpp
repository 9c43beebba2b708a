#include "screen/FrameValues.h"

#include "base/Arith.h"

namespace screen {

using base::MulDiv;

FrameValues ComputeFrameValues(int width, int height, int progress, int step) {
    FrameValues v;
    v.W = width;
    v.H = height;
    if (height <= width) {
        v.X = MulDiv(width, progress, 100);
        v.Y = MulDiv(v.X, height, width);
        v.K = MulDiv(width, step, 90);
    } else {
        v.Y = MulDiv(height, progress, 100);
        v.X = MulDiv(v.Y, width, height);
        v.K = MulDiv(height, step, 90);
    }
    return v;
}

}  // namespace screen
