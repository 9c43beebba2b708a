#include "imaging/ScreenPreparation.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "base/Swallow.h"
#include "imaging/BlurredFill.h"
#include "imaging/FitArithmetic.h"
#include "imaging/PictureLoader.h"
#include "raster/Blit.h"
#include "raster/Fill.h"

namespace imaging {

namespace {

constexpr int kTileBelow = 250;
constexpr uint8_t kBlurredBackground = 3;

bool ComposesOnFrame(const ScreenPictureSettings& screen) {
    return screen.FrameBackground >= 1 && screen.FrameBackground <= kBlurredBackground;
}

bool IsTiled(Size picture) {
    return picture.width < kTileBelow || picture.height < kTileBelow;
}

void StretchTo(raster::Bitmap& picture, Size size) {
    if (picture.width() == size.width && picture.height() == size.height) return;
    raster::Bitmap scaled(size.width, size.height);
    raster::StretchDraw(scaled, scaled.bounds(), picture, raster::StretchMode::Halftone);
    picture = std::move(scaled);
}

// One axis of the actual-size cut: where the copy starts in the picture and
// on the screen, and how long it is.
struct AxisCut {
    int source, target, length;
};
// The aim on this axis in shares: the point to centre on, the stretch to
// hold.
struct AxisAim {
    double centre, keepLow, keepHigh;
};
AxisCut CutAxis(int pictureSize, int frameSize, const std::optional<AxisAim>& aim) {
    if (pictureSize <= frameSize) return {0, (frameSize - pictureSize) / 2, pictureSize};
    if (!aim) return {(pictureSize - frameSize) / 2, 0, frameSize};
    double start = aim->centre * pictureSize - frameSize / 2.0;
    const double low = aim->keepLow * pictureSize, high = aim->keepHigh * pictureSize;
    if (high > low && high - low <= frameSize) start = std::clamp(start, high - frameSize, low);
    const int placed = static_cast<int>(std::lround(start));
    return {std::clamp(placed, 0, pictureSize - frameSize), 0, frameSize};
}

void FitBySizeMode(raster::Bitmap& picture, Size natural, const ScreenPictureSettings& screen) {
    const int FW = screen.Width, FH = screen.Height;
    const int W = natural.width, H = natural.height;
    const bool larger = W > FW || H > FH;
    switch (screen.SizeMode) {
        case 4:
            if (IsTiled(natural)) {
                raster::Bitmap tiled(FW, FH, screen.Color);
                raster::FillPattern(tiled, tiled.bounds(), picture);
                picture = std::move(tiled);
                return;
            }
            StretchTo(picture, ScaleToBox(natural, Size{FW, FH}));
            return;
        case 0:
            if (larger) StretchTo(picture, ScaleToBox(natural, Size{FW, FH}));
            return;
        case 2:
            StretchTo(picture, ScaleToBox(natural, Size{FW, FH}));
            return;
        case 3:
            StretchTo(picture, Size{FW, FH});
            return;
        case 1: {
            if (!larger) return;
            raster::Bitmap cut(FW, FH, screen.Color);
            std::optional<AxisAim> aimX, aimY;
            if (const auto& aim = screen.Aim) {
                aimX = AxisAim{aim->x, aim->keepLeft, aim->keepRight};
                aimY = AxisAim{aim->y, aim->keepTop, aim->keepBottom};
            }
            const AxisCut x = CutAxis(W, FW, aimX), y = CutAxis(H, FH, aimY);
            raster::BitBlt(cut, x.target, y.target, x.length, y.length, picture, x.source,
                           y.source);
            picture = std::move(cut);
            return;
        }
        default:
            return;
    }
}

void ComposeOnBackground(raster::Bitmap& picture, const ScreenPictureSettings& screen,
                         const raster::Bitmap& opacity) {
    const int FW = screen.Width, FH = screen.Height;
    raster::Bitmap frame(FW, FH, screen.Color);
    const raster::Bitmap* background = screen.FrameBackgroundPicture;
    if (screen.FrameBackground == kBlurredBackground) {
        frame = BlurredFill(picture, {}, screen.Color, FillFrame{FW, FH, FW, FH});
    } else if (background && !background->isEmpty()) {
        if (screen.FrameBackground == 1)
            raster::FillPattern(frame, frame.bounds(), *background);
        else
            raster::StretchDraw(frame, frame.bounds(), *background, raster::StretchMode::Halftone);
    }
    const int W = picture.width(), H = picture.height();
    if (opacity.width() == W && opacity.height() == H)
        LayOver(frame, (FW - W) / 2, (FH - H) / 2, picture, opacity);
    else
        raster::BitBlt(frame, (FW - W) / 2, (FH - H) / 2, W, H, picture, 0, 0);
    picture = std::move(frame);
}

}  // namespace

std::optional<Size> SizeModeReduction(Size natural, const ScreenPictureSettings& screen) {
    const Size frame{screen.Width, screen.Height};
    if (frame.width <= 0 || frame.height <= 0 || natural.width <= 0 || natural.height <= 0)
        return std::nullopt;
    std::optional<Size> target;
    switch (screen.SizeMode) {
        case 0:
            if (natural.width > frame.width || natural.height > frame.height)
                target = ScaleToBox(natural, frame);
            break;
        case 4:
            if (!IsTiled(natural)) target = ScaleToBox(natural, frame);
            break;
        case 2:
            target = ScaleToBox(natural, frame);
            break;
        case 3:
            target = frame;
            break;
        default:
            break;
    }
    if (!target || target->width > natural.width || target->height > natural.height ||
        *target == natural)
        return std::nullopt;
    return target;
}

void PreparePicture(raster::Bitmap& Picture, std::optional<raster::Bitmap>& LastPicture,
                    const ScreenPictureSettings& screen, std::optional<Size> natural,
                    raster::Bitmap opacity) {
    const bool needsFrame = screen.SizeMode <= 4 || ComposesOnFrame(screen);
    if (needsFrame && (screen.Width <= 0 || screen.Height <= 0))
        throw std::invalid_argument("the screen has no size");

    if (!Picture.isEmpty()) {
        const Size size = natural.value_or(Size{Picture.width(), Picture.height()});
        // The opacity is fitted like the picture; what the fit adds around
        // the picture is opaque.
        if (opacity.width() == Picture.width() && opacity.height() == Picture.height()) {
            ScreenPictureSettings opaqueFill = screen;
            opaqueFill.Color = raster::RGB(255, 255, 255);
            FitBySizeMode(opacity, size, opaqueFill);
        }
        FitBySizeMode(Picture, size, screen);
    }

    if (ComposesOnFrame(screen)) ComposeOnBackground(Picture, screen, opacity);

    if (!LastPicture) LastPicture = Picture;

    if (screen.FrameBackground != 0) return;
    const int W = Picture.width(), H = Picture.height();
    const int referenceWidth = screen.FullFrame ? screen.ClientRect.width() : LastPicture->width();
    const int referenceHeight =
        screen.FullFrame ? screen.ClientRect.height() : LastPicture->height();
    const bool pad = screen.FullFrame || referenceWidth > W || referenceHeight > H;
    std::optional<raster::Bitmap> padded;
    if (pad) {
        const int paddedWidth = std::max(referenceWidth, W) + 3,
                  paddedHeight = std::max(referenceHeight, H) + 3;
        padded.emplace(paddedWidth, paddedHeight, screen.Color);
        raster::BitBlt(*padded, (paddedWidth - W) / 2 + 1, (paddedHeight - H) / 2 + 1, W, H,
                       Picture, 0, 0);
    }
    LastPicture = Picture;
    if (padded) Picture = std::move(*padded);
}

void LoadAndPreparePicture(raster::Bitmap& Picture, std::optional<raster::Bitmap>& LastPicture,
                           const ScreenPictureSettings& screen,
                           const std::string& FileName) noexcept {
    // The screen keeps the picture it holds; loading errors are not shown.
    base::Swallow("imaging::LoadAndPreparePicture", [&] {
        DecodeRequest request;
        request.reduceTo = [&screen](Size natural) { return SizeModeReduction(natural, screen); };
        // Over a background picture a transparent picture is kept apart
        // from its opacity until it is laid on it; elsewhere it lies on the
        // colour.
        const bool onPicture = (screen.FrameBackground == 1 || screen.FrameBackground == 2) &&
                               screen.FrameBackgroundPicture &&
                               !screen.FrameBackgroundPicture->isEmpty();
        std::optional<Size> natural;
        raster::Bitmap opacity;
        if (auto loaded = LoadByContent(FileName, onPicture ? 0 : screen.Color, request)) {
            Picture = std::move(loaded->bitmap);
            natural = loaded->natural;
            if (onPicture) opacity = std::move(loaded->opacity);
        }
        PreparePicture(Picture, LastPicture, screen, natural, std::move(opacity));
    });
}

}  // namespace imaging
