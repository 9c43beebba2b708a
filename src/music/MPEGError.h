// The exception of the MP3 player component: a message and an 8-bit code.
// Codes 0 to 5 are the decoder library's error codes; the component adds
// 254 for a missing stream name.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace music {

class TMPEGError : public std::runtime_error {
public:
    TMPEGError(const std::string& message, uint8_t errorCode)
        : std::runtime_error(message), errorCode_(errorCode) {}
    uint8_t ErrorCode() const { return errorCode_; }

private:
    uint8_t errorCode_;
};

// Codes the component raises beyond the library's own.
constexpr uint8_t kErrorNoStream = 254;

// The message for a library error code: the fixed texts for 0 to 5, a
// numbered text for anything else.
std::string MPEGErrorMessage(int32_t code);

// The error for a library code; codes above 255 keep 255 as ErrorCode.
TMPEGError MPEGErrorFor(int32_t code);

}  // namespace music
