// Reading a picture file whole, for the decoders that work from memory, or
// only its first bytes, to tell its format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace imaging {

// Uncompressed pictures at the pixel limit stay well below this.
constexpr int64_t kMaxPictureFileBytes = int64_t{1} << 30;

// The file's bytes followed by 'padding' zero bytes. Raises PictureError for
// a file that cannot be read, is empty, or is larger than
// kMaxPictureFileBytes.
std::vector<uint8_t> ReadFileBytes(const std::string& fileName, size_t padding = 0);

// Up to 'maxBytes' from the start of the file (fewer when it is shorter).
// Raises PictureError when it cannot be opened or read.
std::vector<uint8_t> ReadFileHead(const std::string& fileName, size_t maxBytes);

}  // namespace imaging
