// The per-frame arithmetic shared by every built-in transition style of the
// screen: the revealed extents X and Y that follow the progress, and the snap
// distance K that the banded styles use to finish a band early.
#pragma once

#include "raster/Geometry.h"

namespace screen {

// Half a value, truncated toward zero (also for negative values).
constexpr int h(int v) {
    return v / 2;
}

struct FrameValues {
    int W = 0;  // size of the incoming picture
    int H = 0;
    int X = 0;  // revealed extent along each axis
    int Y = 0;
    int K = 0;  // snap distance
};

// The longer side moves in whole percent and the other follows in
// proportion; K is the distance one step covers on the longer side, a little
// enlarged (Step / 90 instead of Step / 100).
FrameValues ComputeFrameValues(int width, int height, int progress, int step);

}  // namespace screen
