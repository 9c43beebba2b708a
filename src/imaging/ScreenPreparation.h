// Preparing a picture for the slideshow screen: fitting it to the screen by
// the size mode, composing it onto the frame background, and padding it so
// that the coming transition covers all of the previous picture.
//
// The screen widget owns the state; these functions work on its bitmaps:
// 'Picture' is the screen's current picture, 'LastPicture' the copy of the
// previously prepared picture before padding (absent until the first one).
//
// Size modes (the meaning of the ImageSize setting), for a W x H picture on
// a Width x Height screen:
//   0  shrink to fit keeping the aspect ratio, only when the picture is larger
//   1  actual size; a larger picture is cut to the screen around its centre,
//      or around its subject when the screen is given one (CutAim)
//   2  scale to fit keeping the aspect ratio, small pictures enlarged too
//   3  stretch to exactly Width x Height
//   4  tile a picture narrower or lower than 250 pixels over the screen,
//      treat any other as 2
//   other values leave the picture as it is.
// Fitting uses the box arithmetic of FitArithmetic.h and an area-averaging
// stretch.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "imaging/DecodedImage.h"
#include "raster/Bitmap.h"

namespace imaging {

// Where a cut of a picture larger than the screen goes, in shares of the
// picture: centred on (x, y), moved as little as holding the box from
// (keepLeft, keepTop) to (keepRight, keepBottom) whole needs where the cut
// has room for it (an empty box holds nothing), and inside the picture.
struct CutAim {
    double x = 0.5;
    double y = 0.5;
    double keepLeft = 0, keepTop = 0, keepRight = 0, keepBottom = 0;
};

// The fields of the screen that picture preparation reads.
struct ScreenPictureSettings {
    int Width = 100;  // the control's size, the frame pictures are fitted to
    int Height = 100;
    uint8_t SizeMode = 0;
    // 0 plain colour, 1 tiled picture, 2 stretched picture, 3 each picture
    // over a blurred copy of itself (BlurredFill.h)
    uint8_t FrameBackground = 0;
    const raster::Bitmap* FrameBackgroundPicture = nullptr;  // for kinds 1 and 2
    raster::Color Color = 0;  // fill for flattening, cropping and padding
    bool FullFrame = false;   // pad every picture to at least the client size
    raster::Rect ClientRect{0, 0, 100, 100};
    // The subject of the picture, when it is known; else cuts are centred.
    std::optional<CutAim> Aim;
};

// Steps after loading: fit by SizeMode, compose onto the frame background
// (kinds 1 to 3), create LastPicture from the first picture, and pad (kind
// 0): the picture becomes at least 3 pixels larger than the reference (the
// client rectangle with FullFrame, else LastPicture) in both directions,
// filled with Color, the picture placed at ((pw - W) div 2 + 1,
// (ph - H) div 2 + 1). LastPicture then becomes a copy of the picture before
// padding. 'natural' is the picture's size in its file when Picture was
// decoded at a reduced scale; the arithmetic uses it. An empty picture is
// not fitted. Raises std::invalid_argument for a screen without size, and
// leaves Picture as it was at that step when anything raises. With an
// 'opacity' (grey, Picture's size; Picture flattened onto black) the picture
// is laid over the background picture, which shows where it is clear.
void PreparePicture(raster::Bitmap& Picture, std::optional<raster::Bitmap>& LastPicture,
                    const ScreenPictureSettings& screen, std::optional<Size> natural = std::nullopt,
                    raster::Bitmap opacity = {});

// The screen's LoadFromFile: loads FileName into Picture (flattened onto
// Color, or over a background picture onto that picture; a missing JPEG keeps the picture it had)
// and prepares it. A large JPEG is decoded at the smallest DCT scale its fitted size allows. Never
// raises: on any error the screen keeps whatever picture it holds by then.
void LoadAndPreparePicture(raster::Bitmap& Picture, std::optional<raster::Bitmap>& LastPicture,
                           const ScreenPictureSettings& screen,
                           const std::string& FileName) noexcept;

// The size SizeMode will reduce a picture of this natural size to, or
// nullopt when the picture keeps every pixel (actual size, tiling, enlarging).
std::optional<Size> SizeModeReduction(Size natural, const ScreenPictureSettings& screen);

}  // namespace imaging
