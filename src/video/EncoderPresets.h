// The output formats the encoder can write, in one table: frame geometry,
// frame rate, video and audio codec settings and the multiplexer settings of
// every format and television standard. New formats are new rows.
#pragma once

#include <cstdint>
#include <optional>

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
// shape (16:9 for MP4, 4:3 for the discs); VCD and SVCD are 4:3 whatever is
// asked, and the disc formats ignore the quality.
enum class FrameAspect { FormatOwn = -1, Wide = 0, Standard = 1 };  // -, 16:9, 4:3
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

// The preset as encoded with an aspect and quality (FrameAspect and
// VideoQuality numbers): a 4:3 MP4 frame keeps the row's height and is as
// wide as square pixels make it; High quality takes the row's high rate
// factor and cap. A row with anamorphicWide keeps its frame and takes a 16:9
// display for Wide; the other disc rows are returned as they are. nullopt
// for an unknown format, standard, aspect or quality.
std::optional<EncoderPreset> ResolvePreset(int format, int standard, int aspect, int quality);

}  // namespace video
