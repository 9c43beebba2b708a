// Shares of a picture and the pixels of a widget that shows it letterboxed:
// what the focus view draws and what a click there stores.
#include <gtest/gtest.h>

#include "app/ShareGeometry.h"

namespace app_test {
namespace {

struct LetterboxCase {
    const char* what;
    QSizeF picture;
    QRectF area;
    QRectF shown;             // where the picture lands
    model::FocusPoint share;  // a point of the picture...
    QPointF pixel;            // ...and where it is drawn
};

TEST(ShareGeometryTest, SharesAndPixelsOfALetterboxedPicture) {
    const LetterboxCase cases[] = {
        {"landscape: bars above and below",
         {400, 300},
         {0, 0, 200, 200},
         {0, 25, 200, 150},
         {0.25, 0.5},
         {50, 100}},
        {"portrait: bars left and right",
         {300, 400},
         {0, 0, 200, 200},
         {25, 0, 150, 200},
         {1, 0.25},
         {175, 50}},
        {"small picture enlarged, area offset",
         {40, 20},
         {10, 20, 100, 100},
         {10, 45, 100, 50},
         {0, 1},
         {10, 95}},
        {"same proportions: no bars",
         {640, 480},
         {2, 2, 160, 120},
         {2, 2, 160, 120},
         {0.5, 0.5},
         {82, 62}},
    };
    for (const LetterboxCase& c : cases) {
        SCOPED_TRACE(c.what);
        const QRectF shown = app::LetterboxRect(c.picture, c.area);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(app::PixelOfShare(shown, c.share), c.pixel);
        const model::FocusPoint back = app::ShareOfPixel(shown, c.pixel);
        EXPECT_DOUBLE_EQ(back.x, c.share.x);
        EXPECT_DOUBLE_EQ(back.y, c.share.y);
        // A box's corners land where its points do.
        const QRectF box = app::PixelsOfBox(shown, {0.1, 0.2, 0.5, 0.4});
        EXPECT_EQ(box.topLeft(), app::PixelOfShare(shown, {0.1, 0.2}));
        EXPECT_EQ(box.bottomRight(), app::PixelOfShare(shown, {0.6, 0.6}));
        // On the bars or past the widget, the nearest edge of the picture.
        const model::FocusPoint outside = app::ShareOfPixel(shown, {c.area.left() - 5, 1e6});
        EXPECT_EQ(outside, (model::FocusPoint{0, 1}));
    }
    EXPECT_TRUE(app::LetterboxRect({0, 0}, {0, 0, 100, 100}).isEmpty());
}

}  // namespace
}  // namespace app_test
