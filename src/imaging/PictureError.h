// The error every picture decoder raises: what went wrong, and with which file.
//
// The message names the file, so a caller can show it as it stands; kind()
// lets callers and tests tell the causes apart without parsing text.
#pragma once

#include <stdexcept>
#include <string>

namespace imaging {

class PictureError : public std::runtime_error {
public:
    enum class Kind {
        NotFound,          // no such file, or not a regular file
        Unreadable,        // the file exists but cannot be read
        Empty,             // zero bytes
        UnknownExtension,  // neither the content nor the extension names a decoder
        Unsupported,       // a known kind of picture this platform cannot decode
        TooLarge,          // above the pixel limit (checked before allocating)
        WrongContent,      // the content is not what the extension says
        Corrupt,           // the decoder rejected the data
        Damaged,           // decoded, but with data missing or corrupt (a cut-off file)
    };

    PictureError(Kind kind, const std::string& fileName, const std::string& detail);

    Kind kind() const { return kind_; }
    const std::string& fileName() const { return fileName_; }

private:
    Kind kind_;
    std::string fileName_;
};

}  // namespace imaging
