// The subjects found in pictures, kept on disk between runs beside the
// thumbnails: one small text file per picture, named by a hash of the
// picture's path, size and modification time, so a changed picture is a new
// name. The window fills it from a background queue as pictures are added;
// a build reads it and detects only what is missing, so it never waits on a
// detection the window already made. The files are outside data: anyone
// can write them, so anything but a well-formed file within its limits is
// a miss.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "motion/Subject.h"

namespace subject {

// The largest cache file read, and the most faces one may list.
inline constexpr size_t kMaxCacheFileBytes = 8192;
inline constexpr size_t kMaxCachedFaces = 64;

// The folder the subjects are kept in: "subjects" beside the thumbnails
// under the user's cache folder.
std::string DefaultSubjectFolder();

// The cache file of a picture; empty when the picture is not a readable file.
std::string SubjectCacheName(const std::string& folder, const std::string& picturePath);

// A cache file's text and back; nullopt for anything not written by
// SubjectText (garbled, cut off, out of range, too long).
std::string SubjectText(const motion::Subject& subject);
std::optional<motion::Subject> ParseSubjectText(std::string_view text);

// The cached subject of a picture, if there is a good one.
std::optional<motion::Subject> ReadCachedSubject(const std::string& folder,
                                                 const std::string& picturePath);
// Writes through a temporary file and a rename, so a reader never sees half
// a file; false when it could not be written (which costs only time).
bool WriteCachedSubject(const std::string& folder, const std::string& picturePath,
                        const motion::Subject& subject);

}  // namespace subject
