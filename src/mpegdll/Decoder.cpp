#include "mpegdll/Decoder.h"

#include <mpg123.h>

#include <limits>
#include <mutex>

#include "mpegdll/MpegDll.h"

namespace mpegdll {

namespace {

void InitLibraryOnce() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

// a * b / c without overflow for the sizes met here (c > 0).
int64_t Scale(int64_t a, int64_t b, int64_t c) {
    return static_cast<int64_t>(static_cast<__int128>(a) * b / c);
}

}  // namespace

Decoder::~Decoder() {
    close();
}

int Decoder::open(const char* path) {
    close();
    InitLibraryOnce();
    if (path == nullptr || !reader_.open(path)) return MPEGDLL_ERR_INPUT;

    int error = MPG123_OK;
    handle_ = mpg123_new(nullptr, &error);
    if (handle_ == nullptr) {
        reader_.close();
        return MPEGDLL_ERR_INTERNAL;
    }
    // Little-endian output whatever the host; no format changes inside one
    // file, so the length measured by the scan is what decoding delivers.
    // ID3v2 tags are stepped over unread: nothing here needs them, and a
    // huge or garbled tag then costs nothing.
    const long flags = MPG123_GAPLESS | MPG123_QUIET | MPG123_FORCE_ENDIAN |
                       MPG123_NO_FRANKENSTEIN | MPG123_SKIP_ID3V2;
    bool configured = mpg123_param(handle_, MPG123_FLAGS, flags, 0) == MPG123_OK &&
                      mpg123_format_none(handle_) == MPG123_OK;
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; configured && i < rateCount; ++i) {
        configured = mpg123_format(handle_, rates[i], MPG123_MONO | MPG123_STEREO,
                                   MPG123_ENC_SIGNED_16) == MPG123_OK;
    }
    if (!configured ||
        mpg123_replace_reader_handle(handle_, FileReader::readCallback, FileReader::seekCallback,
                                     nullptr) != MPG123_OK) {
        close();
        return MPEGDLL_ERR_INTERNAL;
    }
    if (mpg123_open_handle(handle_, &reader_) != MPG123_OK) {
        close();
        return MPEGDLL_ERR_INPUT;
    }

    // Reading the format parses up to the first audio frame: a file with no
    // MPEG audio in it fails here.
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 ||
        channels < 1 || channels > 2 || encoding != MPG123_ENC_SIGNED_16) {
        close();
        return MPEGDLL_ERR_INPUT;
    }
    if (mpg123_scan(handle_) != MPG123_OK) {
        close();
        return MPEGDLL_ERR_INPUT;
    }
    off_t length = mpg123_length(handle_);
    if (length < 0) {
        close();
        return MPEGDLL_ERR_INPUT;
    }
    rate_ = rate;
    channels_ = channels;
    lengthSamples_ = length;

    mpg123_frameinfo info{};
    if (mpg123_info(handle_, &info) == MPG123_OK) {
        layer_ = info.layer;
        if (info.vbr == MPG123_CBR) {
            bitrateKbps_ = info.bitrate;
        } else if (info.vbr == MPG123_ABR && info.abr_rate > 0) {
            bitrateKbps_ = info.abr_rate;
        } else {
            // Average over the file: bits per millisecond are kbit/s.
            int64_t ms = lengthMs();
            off_t bytes = reader_.size();
            bitrateKbps_ = ms > 0 && bytes > 0 ? static_cast<int>(Scale(bytes, 8, ms)) : 0;
        }
    }
    finished_ = false;
    return MPEGDLL_OK;
}

void Decoder::close() {
    if (handle_ != nullptr) {
        mpg123_close(handle_);
        mpg123_delete(handle_);
        handle_ = nullptr;
    }
    reader_.close();
    rate_ = 0;
    channels_ = 0;
    layer_ = 0;
    bitrateKbps_ = 0;
    lengthSamples_ = 0;
    finished_ = false;
}

int64_t Decoder::samplesToMs(int64_t samples) const {
    return rate_ > 0 ? Scale(samples, 1000, rate_) : 0;
}

int64_t Decoder::msToSamples(int64_t ms) const {
    return Scale(ms, rate_, 1000);
}

int64_t Decoder::lengthMs() const {
    return samplesToMs(lengthSamples_);
}

ptrdiff_t Decoder::read(uint8_t* out, size_t bytes) {
    if (handle_ == nullptr) return -1;
    if (finished_ || bytes == 0) return 0;
    // A call may consume a header or a format notice without output; only
    // MPG123_DONE means the end.
    for (int attempt = 0; attempt < 64; ++attempt) {
        size_t done = 0;
        int result = mpg123_read(handle_, out, bytes, &done);
        if (result == MPG123_DONE) {
            finished_ = true;
            return static_cast<ptrdiff_t>(done);
        }
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT) return -1;
        if (done > 0) return static_cast<ptrdiff_t>(done);
    }
    return -1;
}

bool Decoder::seekSample(int64_t sample) {
    if (handle_ == nullptr || sample < 0 || sample > lengthSamples_) return false;
    if (mpg123_seek(handle_, static_cast<off_t>(sample), SEEK_SET) < 0) return false;
    finished_ = false;
    return true;
}

}  // namespace mpegdll
