// Finds what a picture shows: its faces, and its most salient region for a
// picture without faces, on a reduced copy of about one megapixel, which is
// all a box needs and keeps a detection near a tenth of a second. Results
// are shares of the picture, so they fit every decode of it. Runs on any
// thread; each thread keeps a detector of its own.
#pragma once

#include <string>

#include "base/Result.h"
#include "motion/Subject.h"
#include "raster/Bitmap.h"

namespace subject {

// The pixel count pictures are reduced to before they are searched.
inline constexpr int kSearchPixels = 1'000'000;

// The faces (at most motion::kMaxSubjectFaces + 1 of them are kept: more
// is a crowd either way) and the salient region of a decoded picture.
motion::Subject FindSubject(const raster::Bitmap& picture);

// Decodes the file at reduced size and searches it; the decoder's reason
// when the file cannot be read.
[[nodiscard]] base::Result<motion::Subject> DetectSubject(const std::string& path);

// The subject kept in the cache under 'folder' (SubjectCache.h), else
// detected and kept there; no subject for a picture that cannot be read
// (whoever shows it reports that).
motion::Subject SubjectOf(const std::string& folder, const std::string& picturePath);

}  // namespace subject
