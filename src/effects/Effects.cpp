#include "effects/Effects.h"

#include "base/Arith.h"

namespace effects {

ProgressSize ProgressSizeOf(int width, int height, int percent) {
    using base::MulDiv;
    if (height <= width) {
        const int w = MulDiv(width, percent, 100);
        return {w, MulDiv(w, height, width)};
    }
    const int h = MulDiv(height, percent, 100);
    return {MulDiv(h, width, height), h};
}

}  // namespace effects
