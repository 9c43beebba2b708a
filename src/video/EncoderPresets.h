// The output formats the encoder can write, in one table: frame geometry,
// frame rate, video and audio codec settings and the multiplexer settings of
// every format and television standard. New formats are new rows.
#pragma once

#include <cstdint>

extern "C" {
#include <libavcodec/codec_id.h>
#include <libavutil/rational.h>
}

namespace video {

// Numbers as MclSetFormatPreset takes them.
enum class VideoFormat { Vcd = 0, Svcd = 1, Dvd = 2 };
enum class TvStandard { Pal = 0, Ntsc = 1 };

struct EncoderPreset {
    const char* name;
    VideoFormat format;
    TvStandard standard;

    // Multiplexer: libavformat muxer name, pack size in bytes, mux rate in
    // bits per second (0 lets the muxer derive it from the stream rates) and
    // the decoder start-up delay it assumes, in microseconds.
    const char* muxer;
    int packetSize;
    int64_t muxRate;
    int64_t preloadMicroseconds;

    // Video.
    AVCodecID videoCodec;
    int width;
    int height;
    AVRational frameRate;
    AVRational displayAspect;
    int gopSize;
    int maxBFrames;
    int64_t videoBitRate;
    int64_t videoMaxRate;
    int64_t videoMinRate;
    int vbvBufferBits;
    bool scanOffset;  // reserve the user data that SVCD players use for seeking

    // Audio.
    AVCodecID audioCodec;
    int sampleRate;
    int channels;
    int64_t audioBitRate;

    bool needsMpeg2() const { return videoCodec == AV_CODEC_ID_MPEG2VIDEO; }
    // Pixel aspect ratio that shows width x height at the display aspect.
    AVRational sampleAspect() const;
    // Audio samples (per channel) from the start of the stream to the start of
    // video frame 'frame'. Computed from the frame number each time, so the
    // two streams never drift apart however long the video runs.
    int64_t samplesBeforeFrame(int64_t frame) const;
};

// The preset for a format and standard number, or nullptr when there is none.
const EncoderPreset* FindPreset(int format, int standard);

}  // namespace video
