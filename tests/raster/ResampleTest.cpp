// Sampling a view that lies between pixels: exact at whole pixels, moving by
// fractions of a pixel with the view, and steady on fine detail over the
// range of sizes the build draws views at.
#include <gtest/gtest.h>
#include <pixman.h>

#include <cmath>
#include <cstdlib>
#include <memory>

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

// The same view drawn by pixman's bilinear filter with edge padding, the
// general sampler that the separable one replaces.
Bitmap PixmanView(const Bitmap& source, int width, int height, const SourceRect& view) {
    const auto pack = [](const Bitmap& bitmap) {
        std::vector<uint32_t> pixels;
        for (int y = 0; y < bitmap.height(); ++y)
            for (int x = 0; x < bitmap.width(); ++x) pixels.push_back(bitmap.pixel(x, y));
        return pixels;
    };
    const auto image = [](std::vector<uint32_t>& pixels, int w, int h) {
        return std::unique_ptr<pixman_image_t, decltype(&pixman_image_unref)>(
            pixman_image_create_bits(PIXMAN_x8b8g8r8, w, h, pixels.data(), w * 4),
            &pixman_image_unref);
    };
    std::vector<uint32_t> in = pack(source), out(static_cast<size_t>(width) * height);
    const auto src = image(in, source.width(), source.height());
    const auto dst = image(out, width, height);
    const auto fixed = [](double v) { return static_cast<pixman_fixed_t>(std::lround(v * 65536)); };
    pixman_transform_t transform;
    pixman_transform_init_identity(&transform);
    transform.matrix[0][0] = fixed(view.width / width);
    transform.matrix[0][2] = fixed(view.x);
    transform.matrix[1][1] = fixed(view.height / height);
    transform.matrix[1][2] = fixed(view.y);
    pixman_image_set_transform(src.get(), &transform);
    pixman_image_set_repeat(src.get(), PIXMAN_REPEAT_PAD);
    pixman_image_set_filter(src.get(), PIXMAN_FILTER_BILINEAR, nullptr, 0);
    pixman_image_composite32(PIXMAN_OP_SRC, src.get(), nullptr, dst.get(), 0, 0, 0, 0, 0, 0, width,
                             height);
    Bitmap result(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            result.setPixel(x, y, out[static_cast<size_t>(y) * width + x] & 0xFFFFFF);
    return result;
}

TEST(ResampleTest, MatchesTheGeneralBilinearSamplerWithinOneLevel) {
    // Noise, so every weight and every channel counts; views from half to
    // twice the target's size, between pixels, and over the edges.
    Bitmap source(97, 61);
    for (int y = 0; y < 61; ++y)
        for (int x = 0; x < 97; ++x)
            source.setPixel(x, y, (x * 2654435761u ^ y * 40503u) * 2246822519u >> 8 & 0xFFFFFF);
    const ViewSource sampler(source);
    struct Case {
        int width, height;
        SourceRect view;
    };
    const Case cases[] = {
        {80, 50, {3.3, 2.71, 80 * 0.87, 50 * 0.87}},
        {80, 50, {10.05, 4.5, 80 * 1.15, 50 * 1.15}},
        {60, 40, {0.5, 0.25, 30.7, 20.3}},
        {45, 29, {1.01, 7.99, 90.2, 58.1}},
        {50, 30, {-4.6, -3.2, 104, 66}},
        {33, 21, {60.9, 40.1, 36, 21}},
    };
    for (const Case& c : cases) {
        Bitmap drawn(c.width, c.height);
        sampler.Draw(drawn, c.view);
        const Bitmap expected = PixmanView(source, c.width, c.height, c.view);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < 3 * c.width; ++x)
                ASSERT_LE(std::abs(drawn.row(y)[x] - expected.row(y)[x]), 1)
                    << c.width << "x" << c.height << " from " << c.view.x << "," << c.view.y
                    << " at byte " << x << " of row " << y;
    }
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
