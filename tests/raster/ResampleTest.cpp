// Sampling a view that lies between pixels: exact at whole pixels, moving by
// fractions of a pixel with the view, and averaging fine detail away
// instead of picking from it when the view is reduced.
#include <gtest/gtest.h>

#include <cmath>

#include "raster/Resample.h"

namespace raster {
namespace {

// Brightness-weighted centre of the pixels' blue channel along x.
double CentreX(const Bitmap& bitmap) {
    double sum = 0, weighted = 0;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            const double v = bitmap.row(y)[3 * x];
            sum += v;
            weighted += v * x;
        }
    return weighted / sum;
}

TEST(ResampleTest, AWholePixelViewAtItsOwnSizeCopiesTheSource) {
    Bitmap source(37, 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) source.setPixel(x, y, RGB(x * 7, y * 11, (x * y) % 256));
    Bitmap target(37, 23);
    ResampleView(target, source, {0, 0, 37, 23});
    EXPECT_TRUE(target.samePixels(source));
    Bitmap part(10, 5);
    ResampleView(part, source, {4, 6, 10, 5});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(part.pixel(x, y), source.pixel(x + 4, y + 6));
}

TEST(ResampleTest, AViewMovedByAFractionMovesThePictureByThatFraction) {
    // A soft spot; every tenth of a pixel of view travel moves it a tenth
    // of a pixel the other way, enlarged 1.5 times and reduced 1.5 times.
    Bitmap source(64, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x)
            source.setPixel(
                x, y,
                RGB(0, 0, static_cast<uint8_t>(250 * std::exp(-(x - 32.0) * (x - 32.0) / 18))));
    for (const double zoom : {1.5, 1.0 / 1.5}) {
        Bitmap target(static_cast<int>(40 * zoom), static_cast<int>(16 * zoom));
        double last = 0;
        for (int step = 0; step <= 10; ++step) {
            ResampleView(target, source, {12 + step / 10.0, 0, 40, 16});
            const double centre = CentreX(target);
            if (step > 0) {
                EXPECT_NEAR(last - centre, 0.1 * target.width() / 40, 0.02) << zoom << " " << step;
            }
            last = centre;
        }
    }
}

TEST(ResampleTest, AReducedViewAveragesFineDetail) {
    // One-pixel stripes seen at half size: wherever the view lies, every
    // output pixel is their mean grey, where picking or blending only the
    // nearest pixels would flicker between black and white as the view moves.
    Bitmap source(210, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 210; ++x) source.setPixel(x, y, x % 2 ? RGB(255, 255, 255) : 0);
    Bitmap target(100, 2);
    for (const double shift : {0.0, 0.1, 0.25, 0.5, 0.8}) {
        ResampleView(target, source, {shift, 0, 200, 4});
        // The first column reaches past the edge, which repeats black.
        for (int x = 1; x < 100; ++x)
            ASSERT_NEAR(target.row(1)[3 * x], 128, 1) << x << " at " << shift;
    }
}

}  // namespace
}  // namespace raster
