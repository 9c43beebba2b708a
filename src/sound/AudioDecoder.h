// Music files decoded for the show's sound track: one file opened through
// libavformat, decoded and resampled to interleaved 16-bit samples at the
// track's rate and channel count, from its first to its last real sample
// (the encoder's delay and padding left out where the file declares them). Any audio that FFmpeg
// reads is accepted; only plain local files are opened, and only as audio formats, so a playlist or
// another container named ".mp3" cannot make us read elsewhere.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "base/FfmpegLog.h"
#include "base/FfmpegUtil.h"
#include "base/Result.h"

namespace sound {

class AudioDecoder {
public:
    // Opens 'path' for decoding into 'channels' channels at 'sampleRate', or
    // at the file's own rate when 'sampleRate' is 0; or says why the file
    // cannot be read or holds no audio.
    static base::Result<std::unique_ptr<AudioDecoder>> Open(const std::string& path, int sampleRate,
                                                            int channels);
    ~AudioDecoder();

    // Decodes the next piece of the file and appends it to 'fifo' (interleaved
    // signed 16-bit, as opened). Returns false once the file has ended and all
    // of it is in the fifo; throws std::bad_alloc when the fifo cannot grow.
    bool decodeInto(AVAudioFifo* fifo);

    // Samples appended so far.
    int64_t samplesDecoded() const { return samplesDecoded_; }
    // The rate the samples come out at.
    int sampleRate() const { return sampleRate_; }

private:
    AudioDecoder() = default;
    bool resample(const AVFrame* frame, AVAudioFifo* fifo);
    bool configureResampler(const AVFrame* frame, AVChannelLayout* inLayout, AVAudioFifo* fifo);
    void drainResampler(AVAudioFifo* fifo);
    void appendToFifo(AVAudioFifo* fifo, const uint8_t* data, int samples);
    static void SkipDeclaredStart(AVFrame* frame);

    int sampleRate_ = 0;
    int channels_ = 0;
    base::InputFormatPtr format_;
    base::CodecContextPtr codec_;
    base::SwrPtr swr_;
    base::FramePtr frame_;
    base::PacketPtr packet_;
    int streamIndex_ = -1;
    bool flushing_ = false;
    int swrInRate_ = 0;
    int swrInFormat_ = -1;
    AVChannelLayout swrInLayout_{};
    int64_t samplesDecoded_ = 0;
    // The length the container declares, at the output rate; no limit when
    // it declares none.
    int64_t sampleLimit_ = INT64_MAX;
    bool trimByHand_ = false;
};

// Opens an input with the restrictions above; anything but a regular file
// (a named pipe, a device) is refused without being opened. Returns the
// error code.
int OpenAudioInput(const std::string& path, base::InputFormatPtr* format);

// Length of a music file in samples at 'sampleRate', 0 when it cannot be read.
int64_t ProbeAudioSamples(const std::string& path, int sampleRate);

// Why a music file cannot be played (it does not open, or its first
// decodable piece holds no sound), or ok when it can.
[[nodiscard]] base::Status ProbeMusicFile(const std::string& path);

}  // namespace sound
