// The caption text of each picture of a show: a title card's words, its own
// caption, else what the
// show's caption source gives (nothing, the file name, the date taken in
// the show's date format, or the EXIF title). The build, its chapters, its
// subtitles and the preview all ask here, so they say the same.
#pragma once

#include <QLocale>

#include <functional>
#include <memory>
#include <string>

#include "imaging/PictureFacts.h"
#include "model/Show.h"

namespace video {

using PictureFactsFunction = std::function<imaging::PictureFacts(const std::string&)>;

// The caption of 'path' in 'show'; 'facts' is asked only for the date and
// title sources, and only for pictures without their own caption.
std::string PictureCaption(const model::Show& show, const std::string& path,
                           const PictureFactsFunction& facts = imaging::ReadPictureFacts,
                           const QLocale& locale = QLocale());

// A lookup over a copy of 'show' that reads each file's facts once, safe to
// call from the build's thread while the caller goes on.
std::function<std::string(const std::string&)> CaptionLookup(
    std::shared_ptr<const model::Show> show);

}  // namespace video
