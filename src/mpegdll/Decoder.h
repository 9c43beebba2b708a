// One open MP3 file, decoded by libmpg123 to signed 16-bit little-endian
// samples at the file's own rate and channel count.
//
// Opening scans every frame so the length is exact even for VBR files without
// an Xing/Info header; the encoder delay and padding recorded in a LAME tag are
// taken off, so the length equals the number of samples read() delivers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "mpegdll/FileReader.h"

struct mpg123_handle_struct;

namespace mpegdll {

class Decoder {
public:
    Decoder() = default;
    ~Decoder();
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    // Returns MPEGDLL_OK, or the LastError code of the failure (the decoder
    // is then closed).
    int open(const char* path);
    void close();
    bool isOpen() const { return handle_ != nullptr; }

    long rate() const { return rate_; }
    int channels() const { return channels_; }
    int layer() const { return layer_; }
    int bitrateKbps() const { return bitrateKbps_; }
    size_t frameBytes() const { return static_cast<size_t>(channels_) * 2; }
    int64_t lengthSamples() const { return lengthSamples_; }
    // Whole milliseconds, truncated.
    int64_t lengthMs() const;
    int64_t samplesToMs(int64_t samples) const;
    int64_t msToSamples(int64_t ms) const;

    // Decodes up to `bytes` (a multiple of frameBytes()) into `out`. Returns
    // the bytes delivered, 0 at the end of the stream, -1 on a decoder error.
    ptrdiff_t read(uint8_t* out, size_t bytes);
    // Moves to a sample position within [0, lengthSamples()].
    bool seekSample(int64_t sample);

private:
    mpg123_handle_struct* handle_ = nullptr;
    FileReader reader_;
    long rate_ = 0;
    int channels_ = 0;
    int layer_ = 0;
    int bitrateKbps_ = 0;
    int64_t lengthSamples_ = 0;
    bool finished_ = false;
};

}  // namespace mpegdll
