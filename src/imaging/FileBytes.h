// Reading a picture file whole, for the decoders that work from memory.
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

}  // namespace imaging
