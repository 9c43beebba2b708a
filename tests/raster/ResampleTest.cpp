// Sampling a view that lies between pixels: exact at whole pixels, moving by
// fractions of a pixel with the view, and steady on fine detail over the
// range of sizes the build draws views at.
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
    const ViewSource view(source);
    Bitmap target(37, 23);
    view.Draw(target, {0, 0, 37, 23});
    EXPECT_TRUE(target.samePixels(source));
    Bitmap part(10, 5);
    view.Draw(part, {4, 6, 10, 5});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(part.pixel(x, y), source.pixel(x + 4, y + 6));
}

TEST(ResampleTest, AViewMovedByAFractionMovesThePictureByThatFraction) {
    // A soft spot; every tenth of a pixel of view travel moves it a tenth
    // of a pixel (times the enlargement) the other way.
    Bitmap source(64, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x)
            source.setPixel(
                x, y,
                RGB(0, 0, static_cast<uint8_t>(250 * std::exp(-(x - 32.0) * (x - 32.0) / 18))));
    const ViewSource view(source);
    for (const int width : {60, 40, 35}) {
        Bitmap target(width, 16);
        double last = 0;
        for (int step = 0; step <= 10; ++step) {
            view.Draw(target, {12 + step / 10.0, 0, 40, 16});
            const double centre = CentreX(target);
            if (step > 0) {
                EXPECT_NEAR(last - centre, 0.1 * width / 40, 0.02) << width << " " << step;
            }
            last = centre;
        }
    }
}

TEST(ResampleTest, FineDetailStaysSteadyAsTheViewMoves) {
    // Grain of single pixels, seen from 0.87 to 1.15 source pixels per
    // target pixel as a zoom passes through them: moving the view by a
    // tenth of a pixel changes the picture's mean brightness by no more
    // than a trace, and no pixel jumps from dark to light.
    Bitmap source(200, 60);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x)
            source.setPixel(x, y, (x * 73856093u ^ y * 19349663u) % 7 < 3 ? RGB(255, 255, 255) : 0);
    const ViewSource view(source);
    for (const double step : {0.87, 1.0, 1.15}) {
        Bitmap before(100, 40), after(100, 40);
        double lastMean = -1;
        for (int i = 0; i <= 10; ++i) {
            view.Draw(after, {20 + i / 10.0, 5, 100 * step, 40 * step});
            double sum = 0;
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 100; ++x) {
                    const int now = after.row(y)[3 * x];
                    sum += now;
                    if (i > 0) {
                        ASSERT_LE(std::abs(now - before.row(y)[3 * x]), 0.1 * 255 + 2)
                            << step << " at " << x << "," << y;
                    }
                }
            const double mean = sum / 4000;
            if (lastMean >= 0) {
                EXPECT_NEAR(mean, lastMean, 2) << step << " at " << i;
            }
            lastMean = mean;
            std::swap(before, after);
        }
    }
}

}  // namespace
}  // namespace raster
