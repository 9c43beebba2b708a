// The output formats the encoder can write, in one table: frame geometry,
// frame rate, video and audio codec settings and the multiplexer settings of
// every format and television standard, and the shapes the MP4 formats take
// at each size. New formats, shapes and sizes are new rows.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "video/FrameRates.h"

extern "C" {
#include <libavcodec/codec_id.h>
#include <libavutil/rational.h>
}

namespace video {

// Numbers as MclSetFormatPreset takes them. The disc formats come first;
// the MP4 formats have square pixels and an aspect and quality of their own.
enum class VideoFormat { Vcd = 0, Svcd = 1, Dvd = 2, Mp4_720p = 3, Mp4_1080p = 4, Mp4_4k = 5 };
enum class TvStandard { Pal = 0, Ntsc = 1 };
// Numbers as MclSetVideoOptions takes them. FormatOwn is each row's own
// shape (16:9 for MP4, 4:3 for the discs). The MP4 formats come in the
// shapes of their table, 16:9, 4:3, 9:16 (a phone held upright), 1:1 and
// 4:5; DVD in 16:9 and 4:3; VCD and SVCD are 4:3 whatever is asked, and the
// disc formats ignore the quality and the rate.
enum class FrameAspect {
    FormatOwn = -1,
    Wide = 0,
    Standard = 1,
    Vertical = 2,
    Square = 3,
    Portrait = 4
};
enum class VideoQuality { Standard = 0, High = 1 };

struct EncoderPreset {
    const char* name;
    VideoFormat format;
    TvStandard standard;

    // Multiplexer: libavformat muxer name, pack size in bytes, mux rate in
    // bits per second (0 lets the muxer derive it from the stream rates) and
    // the decoder start-up delay it assumes, in microseconds (0: none given),
    // and its own options ("key=value:key=value", or none).
    const char* muxer;
    int packetSize;
    int64_t muxRate;
    int64_t preloadMicroseconds;
    const char* muxerOptions = nullptr;

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
    // The same frame may be flagged 16:9 instead (widescreen DVD): its pixels
    // are then wider than tall, and the stream and disc say so.
    bool anamorphicWide = false;

    // Constant-quality formats (H.264): the encoder by name, its speed
    // preset and profile, the rate factor of Standard quality with the cap
    // videoMaxRate, and those of High quality. Frames are tagged BT.709 and
    // converted with its coefficients. A crf of 0 means a bit-rate format.
    const char* encoderName = nullptr;
    const char* encoderPreset = nullptr;
    const char* encoderProfile = nullptr;
    int crf = 0;
    int highCrf = 0;
    int64_t highMaxRate = 0;

    // Audio.
    AVCodecID audioCodec;
    int sampleRate;
    int channels;
    int64_t audioBitRate;

    bool needsMpeg2() const { return videoCodec == AV_CODEC_ID_MPEG2VIDEO; }
    bool constantQuality() const { return crf > 0; }
    // The MP4 file holds a subtitle track; the disc streams have none.
    bool holdsSubtitles() const { return std::string_view(muxer) == "mp4"; }
    // Pixel aspect ratio that shows width x height at the display aspect.
    AVRational sampleAspect() const;
    // Audio samples (per channel) from the start of the stream to the start of
    // video frame 'frame'. Computed from the frame number each time, so the
    // two streams never drift apart however long the video runs.
    int64_t samplesBeforeFrame(int64_t frame) const;
};

// VCD, SVCD and DVD: the formats that can be authored as a disc.
inline bool IsDiscFormat(int format) {
    return format >= static_cast<int>(VideoFormat::Vcd) &&
           format <= static_cast<int>(VideoFormat::Dvd);
}

// The preset for a format and standard number, or nullptr when there is none.
const EncoderPreset* FindPreset(int format, int standard);

// An MP4 format's frame in one of its shapes, in square pixels.
struct FrameShape {
    VideoFormat format;
    FrameAspect aspect;
    int width;
    int height;
    AVRational displayAspect;
};

// The shape of an MP4 format (VideoFormat and FrameAspect numbers, FormatOwn
// being 16:9), or nullptr where the format is not made in that shape (4:5 is
// 1080 wide only).
const FrameShape* FindShape(int format, int aspect);

// The preset as encoded with an aspect, quality and rate (FrameAspect,
// VideoQuality and RateChoice numbers): the MP4 formats take the frame of
// their shape and the chosen rate, with a key frame at least every 2
// seconds; High quality takes the row's high rate factor and cap. The disc
// formats keep their size and their standard's rate, whatever the rate; a
// row with anamorphicWide keeps its frame and takes a 16:9 display for Wide,
// the others are 4:3 whatever the aspect. nullopt for an unknown format,
// standard, aspect, quality or rate, or a shape the format is not made in.
std::optional<EncoderPreset> ResolvePreset(int format, int standard, int aspect, int quality,
                                           int rate = static_cast<int>(RateChoice::OfStandard));

}  // namespace video
