// The size of the frames the build renders for each video format, and where
// a picture goes on such a frame.
//
// Disc frames are rendered at a fixed size per format (the encoder scales
// them to the stream's size) and shown on a 4:3 screen, so their pixels are
// not square: a 720 x 576 frame has pixels 16:15 wide, 320 x 288 ones 6:5,
// 480 x 576 ones 8:5. A widescreen DVD keeps the 720 x 576 frame and shows
// it 16:9, its pixels 64:45 wide. MP4 frames have square pixels, in any of
// the shapes of the encoder's table (16:9, 4:3, 9:16, 1:1, 4:5), and are
// rendered at the size they are encoded at. Pictures are fitted in display
// proportions, so a 4:3 photo fills a 4:3 screen undistorted. The format
// carries the frame rate too, which every count of frames follows.
#pragma once

#include <cstdint>
#include <optional>

#include "model/Settings.h"
#include "raster/Geometry.h"
#include "video/FrameRates.h"
#include "video/MclDef.h"

namespace video {

struct FrameFormat {
    uint8_t videoType;  // 0 VCD, 1 SVCD, 2 DVD, 3..5 MP4: also the encoder's preset number
    const char* name;
    int width;  // rendered frame
    int height;
    // Display aspect of the whole frame.
    int displayWidth;
    int displayHeight;
    const char* extension;        // of the video file, with its dot
    bool anamorphicWide = false;  // may be shown 16:9 on the same frame (DVD)
    FrameRate rate = kPalRate;

    bool squarePixels() const {
        return int64_t{width} * displayHeight == int64_t{height} * displayWidth;
    }
};

// The format for VideoType 0 to 5 in a shape (MclSetVideoOptions numbers:
// the format's own, 16:9 for MP4 and 4:3 for the discs, or one of the
// encoder's shapes) and at a rate (standard 0 PAL or 1 NTSC, the record's
// VideoRate). The MP4 formats take a shape of their table and the rate; DVD
// takes 16:9 or 4:3, VCD and SVCD stay 4:3 at either, and the discs run at
// their standard's rate. nullopt for a value there is not, or a shape the
// format is not made in.
std::optional<FrameFormat> FrameFormatFor(int videoType, int aspect = kMclAspectFormat,
                                          int standard = 0, int rate = 0);
// The format of a show's settings: VideoType, the shape it is built in
// (model::BuildAspect), TVSet (any value but 1 is PAL) and VideoRate.
std::optional<FrameFormat> FrameFormatOf(const model::TslSettings& settings);

// A picture's place on a frame: top-left corner and size.
struct PictureRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PictureRect&, const PictureRect&) = default;
};

// Fits a picture of pictureWidth x pictureHeight (its own, square pixels)
// into a frameWidth x frameHeight frame shown at displayWidth:displayHeight,
// keeping the picture's proportions on the display and enlarging small
// pictures; centred, divisions cut toward zero. The picture is drawn over
// frame - 2 x (or y) pixels, so an odd leftover widens it by one.
// Requires positive sizes.
PictureRect FitPicture(int pictureWidth, int pictureHeight, int frameWidth, int frameHeight,
                       int displayWidth, int displayHeight);

// The same frame measured in square pixels (height kept): the box a picture
// is fitted into on the display, and so the smallest decode that loses no
// detail.
struct DisplayBox {
    int width;
    int height;
};
DisplayBox DisplayBoxOf(const FrameFormat& format);

}  // namespace video
