// Pictures read through Qt's image readers (PNG, GIF, BMP, TIFF, WebP, ICO,
// the portable bitmaps, XPM, XBM).
//
// The reader is given the format the registry chose and may not pick another
// one itself, so every file is read by the decoder the registry reports. No QGuiApplication is
// needed.
#pragma once

#include <string>

#include "imaging/DecodedImage.h"

namespace imaging {

// qtFormat is Qt's name of the format ("png", "gif", ...).
DecodedImage DecodeWithQt(const std::string& fileName, const char* qtFormat);

}  // namespace imaging
