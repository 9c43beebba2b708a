#include "screen/ScreenGeometry.h"

#include "base/Arith.h"
#include "raster/Blit.h"
#include "raster/Fill.h"

namespace screen {

using base::MulDiv;

Rect FitRect(const Rect& src, const Rect& dst) {
    const int sw = src.width(), sh = src.height();
    const int dw = dst.width(), dh = dst.height();
    int width = 0, height = 0;
    if (sw > 0 && sh > 0) {
        if (static_cast<double>(dh) / sh > static_cast<double>(dw) / sw) {
            width = dw;
            height = MulDiv(sh, dw, sw);
        } else {
            width = MulDiv(sw, dh, sh);
            height = dh;
        }
    }
    const int left = dst.left + (dw - width) / 2;
    const int top = dst.top + (dh - height) / 2;
    return Rect{left, top, left + width, top + height};
}

void TileDraw(raster::Bitmap& canvas, const Rect& rect, const raster::Bitmap& graphic) {
    if (graphic.isEmpty()) return;
    const int gw = graphic.width(), gh = graphic.height();
    const int rows = rect.height() / gh + 1, columns = rect.width() / gw + 1;
    // Tiles aligned with the canvas are a pattern fill: one pass over the
    // rows however small the graphic is.
    if (rect.left % gw == 0 && rect.top % gh == 0) {
        raster::FillPattern(
            canvas, Rect{rect.left, rect.top, rect.left + gw * columns, rect.top + gh * rows},
            graphic);
        return;
    }
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            raster::BitBlt(canvas, rect.left + gw * column, rect.top + gh * row, gw, gh, graphic, 0,
                           0);
}

}  // namespace screen
