// Captions: the font stand-in, the text style's effect on the rendered
// layer, and the blend into YUV frames against drawing in RGB first.
#include <QFontInfo>
#include <QPainter>

#include <gtest/gtest.h>

#include "base/FfmpegUtil.h"
#include "video/TextOverlay.h"

namespace video {
namespace {

TextStyle CaptionStyle() {
    TextStyle style;
    style.family = "Fixedsys";
    style.pixelSize = 24;
    style.bold = true;
    style.color = 0xE1E1E1;        // 225, 225, 225
    style.shadowColor = 0x606060;  // 96, 96, 96
    style.shadowDx = 2;
    style.shadowDy = 2;
    return style;
}

base::FramePtr YuvFrameOf(const QImage& rgb) {
    base::FramePtr frame(av_frame_alloc());
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = rgb.width();
    frame->height = rgb.height();
    EXPECT_GE(av_frame_get_buffer(frame.get(), 0), 0);
    const QImage source = rgb.convertToFormat(QImage::Format_RGB888);
    SwsContext* sws =
        sws_getContext(rgb.width(), rgb.height(), AV_PIX_FMT_RGB24, rgb.width(), rgb.height(),
                       AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr);
    const uint8_t* planes[1] = {source.constBits()};
    const int strides[1] = {static_cast<int>(source.bytesPerLine())};
    sws_scale(sws, planes, strides, 0, rgb.height(), frame->data, frame->linesize);
    sws_freeContext(sws);
    return frame;
}

QImage Background(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(20 + x % 50, 40, 90 + y % 30));
    }
    return image;
}

TEST(TextOverlay, MissingFixedPitchFamiliesFallBackToAMonospacedFont) {
    const QString resolved = ResolveFontFamily("Fixedsys");
    EXPECT_EQ(resolved, "DejaVu Sans Mono");
    EXPECT_TRUE(QFontInfo(QFont(resolved)).fixedPitch());
    EXPECT_EQ(ResolveFontFamily("DejaVu Sans"), "DejaVu Sans");

    // The stand-in is fixed-pitch: every character has the same advance.
    const auto narrow = TextLayer::Render(CaptionStyle(), "iiiiiiiiii");
    const auto wide = TextLayer::Render(CaptionStyle(), "WWWWWWWWWW");
    ASSERT_TRUE(narrow && wide);
    EXPECT_NEAR(narrow->width(), wide->width(), 2);  // ink may overhang the cell a little
}

TEST(TextOverlay, StyleShapesTheLayer) {
    TextStyle style = CaptionStyle();
    const auto withShadow = TextLayer::Render(style, "Shadow");
    style.shadowDx = style.shadowDy = 0;
    const auto plain = TextLayer::Render(style, "Shadow");
    ASSERT_TRUE(withShadow && plain);
    EXPECT_EQ(withShadow->width(), plain->width() + 2);
    EXPECT_EQ(withShadow->height(), plain->height() + 2);
    auto countColor = [](const QImage& image, QRgb color) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == color) ++count;
        return count;
    };
    EXPECT_GT(countColor(withShadow->image(), qRgb(96, 96, 96)), 20);
    EXPECT_EQ(countColor(plain->image(), qRgb(96, 96, 96)), 0);
    EXPECT_GT(countColor(plain->image(), qRgb(225, 225, 225)), 20);

    // Anti-aliased text has partly covered edge pixels; aliased text none.
    auto partial = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const int a = qAlpha(image.pixel(x, y));
                if (a != 0 && a != 255) ++count;
            }
        return count;
    };
    EXPECT_GT(partial(plain->image()), 0);
    style.antialias = false;
    const auto aliased = TextLayer::Render(style, "Shadow");
    EXPECT_EQ(partial(aliased->image()), 0);

    // A background box covers the text cell.
    style.backOpacity = 255;
    style.backColor = 0x0000FF;
    const auto boxed = TextLayer::Render(style, "Box");
    EXPECT_GT(countColor(boxed->image(), qRgb(255, 0, 0)), boxed->width() * boxed->height() / 2);

    EXPECT_EQ(TextLayer::Render(style, ""), nullptr);
    EXPECT_EQ(CachedTextLayer(style, "Box"), CachedTextLayer(style, "Box"));
}

TEST(TextOverlay, BlendingInYuvMatchesDrawingInRgb) {
    TextStyle style = CaptionStyle();
    style.color = 0x2080FF;  // orange, so the chroma is tested as well
    const auto layer = TextLayer::Render(style, "Caption gy!");
    ASSERT_TRUE(layer);
    const int x = 13, y = 21;  // odd, so chroma blocks straddle the layer's edges
    const QImage background = Background(352, 96);

    QImage drawn = background.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&drawn);
        painter.drawImage(x + layer->offsetX(), y + layer->offsetY(), layer->image());
    }
    const base::FramePtr expected = YuvFrameOf(drawn);
    const base::FramePtr blended = YuvFrameOf(background);
    layer->blendInto(blended.get(), x, y);

    int lumaWorst = 0;
    double chromaSum = 0;
    int chromaCount = 0;
    for (int row = 0; row < 96; ++row) {
        for (int col = 0; col < 352; ++col) {
            const int a = blended->data[0][row * blended->linesize[0] + col];
            const int b = expected->data[0][row * expected->linesize[0] + col];
            lumaWorst = std::max(lumaWorst, std::abs(a - b));
        }
    }
    for (int row = 0; row < 48; ++row) {
        for (int col = 0; col < 176; ++col) {
            for (int plane = 1; plane <= 2; ++plane) {
                const int a = blended->data[plane][row * blended->linesize[plane] + col];
                const int b = expected->data[plane][row * expected->linesize[plane] + col];
                chromaSum += std::abs(a - b);
                ++chromaCount;
            }
        }
    }
    EXPECT_LE(lumaWorst, 2);
    // Chroma is subsampled differently (the scaler filters across blocks),
    // so compare on average.
    EXPECT_LT(chromaSum / chromaCount, 1.0);
}

TEST(TextOverlay, LayersPartlyOutsideTheFrameAreClipped) {
    const auto layer = TextLayer::Render(CaptionStyle(), "Clipped caption text");
    ASSERT_TRUE(layer);
    const QImage background = Background(64, 40);
    const base::FramePtr reference = YuvFrameOf(background);
    const base::FramePtr frame = YuvFrameOf(background);
    for (auto [x, y] :
         {std::pair{-30, 30}, std::pair{50, -10}, std::pair{-500, -500}, std::pair{1000, 1000}}) {
        layer->blendInto(frame.get(), x, y);
    }
    // Rows 0 and 1 stay untouched only left of the stamp at (50, -10); the
    // region between the stamps is untouched everywhere.
    for (int row = 16; row < 28; ++row) {
        for (int col = 0; col < 40; ++col)
            EXPECT_EQ(frame->data[0][row * frame->linesize[0] + col],
                      reference->data[0][row * reference->linesize[0] + col]);
    }
    int changed = 0;
    for (int row = 30; row < 40; ++row)
        for (int col = 0; col < 64; ++col)
            changed += frame->data[0][row * frame->linesize[0] + col] !=
                       reference->data[0][row * reference->linesize[0] + col];
    EXPECT_GT(changed, 0);
}

}  // namespace
}  // namespace video
