// Pictures read through Qt's image readers (PNG, GIF, BMP, TIFF, WebP, ICO,
// the portable bitmaps, XPM, XBM).
//
// The reader is given the format our registry chose from the extension and
// may not pick another one from the content, so a PNG named ".gif" is an
// error rather than quietly decoded. No QGuiApplication is needed.
#pragma once

#include <string>

#include "imaging/DecodedImage.h"

namespace imaging {

// qtFormat is Qt's name of the format ("png", "gif", ...).
DecodedImage DecodeWithQt(const std::string& fileName, const char* qtFormat);

}  // namespace imaging
