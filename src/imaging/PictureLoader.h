// Loading pictures for the screen, the dialogs' previews and the video build.
//
// Every picture enters through one dispatch: the registry chooses the decoder
// from the content, else the extension (DecoderRegistry.h); a ".JPG" or
// ".JPEG" file that does not exist decodes to nothing (no error); every other
// failure raises PictureError. Pictures whose decoder may give transparency
// (every decoder but JPEG's and BMP's) are then flattened: drawn onto a bitmap filled with the fill
// colour, so transparent parts show that colour.
//
// Four loaders sit on the dispatch:
//   LoadPictureFile    natural size, raises (the screen's loader).
//   LoadPictureScaled  shrinks into a box with the exact box arithmetic of
//                      FitArithmetic.h, never raises (previews).
//   LoadPictureShrunk  the same, raising (the storyboard's thumbnails).
//   LoadSourcePicture  for the video build: natural size, or, given the frame
//                      the picture will be fitted into, a JPEG decoded at a
//                      reduced DCT scale (raises).
#pragma once

#include <optional>
#include <string>

#include "imaging/DecodedImage.h"
#include "raster/Bitmap.h"

namespace imaging {

// True when pictures read by the decoder registered for this upper-cased
// extension are flattened.
bool FlattensOnLoad(const std::string& upperExtension);

// The decoded picture drawn onto 'fill' (alpha-blended where it is partly
// transparent); the pixels as they are when the picture is opaque.
raster::Bitmap Flatten(DecodedImage image, raster::Color fill);

// Lays a picture flattened onto black ('premultiplied') with its 'opacity'
// (grey, same size) over 'target' at (x, y): what lies there shows through
// where the picture is clear. Parts outside 'target' are left out.
void LayOver(raster::Bitmap& target, int x, int y, const raster::Bitmap& premultiplied,
             const raster::Bitmap& opacity);

struct LoadedPicture {
    raster::Bitmap bitmap;  // flattened where the rules say so
    Size natural;  // size in the file; bitmap may be smaller when a reduction was asked for
    raster::Bitmap opacity;  // of a flattened picture that had any transparency, else empty
};

// The dispatch. nullopt for a missing ".JPG"/".JPEG" file (the
// caller keeps what it had); raises PictureError for anything else that fails.
std::optional<LoadedPicture> LoadByContent(const std::string& fileName, raster::Color fill,
                                           const DecodeRequest& request = {});

// Loads the file at its natural size into APicture, flattened onto 'fill'.
// A missing JPEG leaves APicture as it was. Raises PictureError.
void LoadPictureFile(raster::Bitmap& APicture, const std::string& FileName, raster::Color fill);

// Loads the file into Target, flattened onto BackColor. When MaxWidth and
// MaxHeight are both positive, a picture larger than that box is shrunk into
// it (never enlarged) with an area-averaging stretch. An empty FileName
// leaves Target untouched; a missing JPEG gives an empty Target; any error
// leaves Target as it was. Never raises.
void LoadPictureScaled(raster::Bitmap& Target, const std::string& FileName, int MaxWidth,
                       int MaxHeight, raster::Color BackColor) noexcept;

// The same, for a caller that shows why a picture is missing: raises
// PictureError for every failure, a missing JPEG included.
raster::Bitmap LoadPictureShrunk(const std::string& fileName, int maxWidth, int maxHeight,
                                 raster::Color fill);

// What the video build gets for each picture and for the background picture.
struct SourcePicture {
    // The picture's pixels. With a fit frame this may be smaller than
    // 'natural' (a large JPEG is decoded at 1/2, 1/4 or 1/8 scale), but it
    // is never smaller than the picture fitted into that frame.
    raster::Bitmap bitmap;
    // The picture's size in the file (upright). Do all placement arithmetic
    // with this size, then stretch the whole bitmap into the placed rectangle
    // with StretchMode::Halftone: the result is the same as from a full-size
    // decode within rounding.
    Size natural;
    // Of a picture that is flattened and had any transparency: its opacity,
    // as a grey bitmap of the same size (255 opaque). Flattened onto black,
    // 'bitmap' is then the colour already multiplied by the opacity, ready
    // to be laid over whatever the picture will lie on. Empty otherwise.
    raster::Bitmap opacity;
};

// The opacity of 'image' as a grey bitmap; empty when it is opaque.
raster::Bitmap OpacityOf(const DecodedImage& image);

// Loads a picture for the video build, flattened onto backColor (black).
// fitFrame is the frame the caller will fit the picture into keeping its
// aspect ratio; without it every pixel is decoded. Raises PictureError for
// every failure, a missing JPEG included, so the build can decide to skip
// the picture.
SourcePicture LoadSourcePicture(const std::string& fileName,
                                std::optional<Size> fitFrame = std::nullopt,
                                raster::Color backColor = 0);

}  // namespace imaging
