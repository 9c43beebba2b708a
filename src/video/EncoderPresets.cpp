#include "video/EncoderPresets.h"

#include <array>

extern "C" {
#include <libavutil/mathematics.h>
}

namespace video {
namespace {

constexpr AVRational kPalStream{kPalRate.num, kPalRate.den};
constexpr AVRational kNtscStream{kNtscRate.num, kNtscRate.den};
constexpr AVRational kFourThree{4, 3};
constexpr AVRational kSixteenNine{16, 9};
constexpr AVRational kNineSixteen{9, 16};
constexpr AVRational kOneOne{1, 1};
constexpr AVRational kFourFive{4, 5};

// MP4 rows: H.264 High at a constant quality with a cap (High quality stays
// under 12 Mbit/s at 1080p and 40 Mbit/s at 4K, as the video sites ask of an
// upload); a key frame at least every 2 seconds so players can seek; the
// index at the front of the file so it plays while it downloads.
constexpr const char* kMp4MuxerOptions = "movflags=+faststart";
constexpr const char* kX264 = "libx264";
constexpr const char* kX264Preset = "veryfast";
constexpr const char* kX264Profile = "high";
constexpr int kStandardCrf = 23;
constexpr int kHighCrf = 19;

// VCD is a constant 1150 kbit/s MPEG-1 stream at single CD speed (mux rate
// and pack size of a CD sector, the decoder start-up delay its players
// assume); SVCD and DVD are variable-rate MPEG-2 within their players' peak
// rates, the SVCD mux rate derived from the streams' peak rates. GOPs stay
// within 15 (PAL) and 18 (NTSC) frames, the longest the players accept. DVD
// audio is AC-3 because NTSC discs do not allow MPEG audio.
// clang-format off
constexpr std::array kPresets{
    EncoderPreset{.name = "VCD PAL", .format = VideoFormat::Vcd, .standard = TvStandard::Pal,
                  .muxer = "vcd", .packetSize = 2324, .muxRate = 1411200, .preloadMicroseconds = 440000,
                  .videoCodec = AV_CODEC_ID_MPEG1VIDEO, .width = 352, .height = 288, .frameRate = kPalStream,
                  .displayAspect = kFourThree, .gopSize = 15, .maxBFrames = 2,
                  .videoBitRate = 1150000, .videoMaxRate = 1150000, .videoMinRate = 1150000,
                  .vbvBufferBits = 40 * 1024 * 8, .scanOffset = false,
                  .audioCodec = AV_CODEC_ID_MP2, .sampleRate = 44100, .channels = 2, .audioBitRate = 224000},
    EncoderPreset{.name = "VCD NTSC", .format = VideoFormat::Vcd, .standard = TvStandard::Ntsc,
                  .muxer = "vcd", .packetSize = 2324, .muxRate = 1411200, .preloadMicroseconds = 440000,
                  .videoCodec = AV_CODEC_ID_MPEG1VIDEO, .width = 352, .height = 240, .frameRate = kNtscStream,
                  .displayAspect = kFourThree, .gopSize = 18, .maxBFrames = 2,
                  .videoBitRate = 1150000, .videoMaxRate = 1150000, .videoMinRate = 1150000,
                  .vbvBufferBits = 40 * 1024 * 8, .scanOffset = false,
                  .audioCodec = AV_CODEC_ID_MP2, .sampleRate = 44100, .channels = 2, .audioBitRate = 224000},
    EncoderPreset{.name = "SVCD PAL", .format = VideoFormat::Svcd, .standard = TvStandard::Pal,
                  .muxer = "svcd", .packetSize = 2324, .muxRate = 0, .preloadMicroseconds = 500000,
                  .videoCodec = AV_CODEC_ID_MPEG2VIDEO, .width = 480, .height = 576, .frameRate = kPalStream,
                  .displayAspect = kFourThree, .gopSize = 15, .maxBFrames = 2,
                  .videoBitRate = 2040000, .videoMaxRate = 2516000, .videoMinRate = 0,
                  .vbvBufferBits = 224 * 1024 * 8, .scanOffset = true,
                  .audioCodec = AV_CODEC_ID_MP2, .sampleRate = 44100, .channels = 2, .audioBitRate = 224000},
    EncoderPreset{.name = "SVCD NTSC", .format = VideoFormat::Svcd, .standard = TvStandard::Ntsc,
                  .muxer = "svcd", .packetSize = 2324, .muxRate = 0, .preloadMicroseconds = 500000,
                  .videoCodec = AV_CODEC_ID_MPEG2VIDEO, .width = 480, .height = 480, .frameRate = kNtscStream,
                  .displayAspect = kFourThree, .gopSize = 18, .maxBFrames = 2,
                  .videoBitRate = 2040000, .videoMaxRate = 2516000, .videoMinRate = 0,
                  .vbvBufferBits = 224 * 1024 * 8, .scanOffset = true,
                  .audioCodec = AV_CODEC_ID_MP2, .sampleRate = 44100, .channels = 2, .audioBitRate = 224000},
    EncoderPreset{.name = "DVD PAL", .format = VideoFormat::Dvd, .standard = TvStandard::Pal,
                  .muxer = "dvd", .packetSize = 2048, .muxRate = 10080000, .preloadMicroseconds = 500000,
                  .videoCodec = AV_CODEC_ID_MPEG2VIDEO, .width = 720, .height = 576, .frameRate = kPalStream,
                  .displayAspect = kFourThree, .gopSize = 15, .maxBFrames = 2,
                  .videoBitRate = 6000000, .videoMaxRate = 9000000, .videoMinRate = 0,
                  .vbvBufferBits = 224 * 1024 * 8, .scanOffset = false, .anamorphicWide = true,
                  .audioCodec = AV_CODEC_ID_AC3, .sampleRate = 48000, .channels = 2, .audioBitRate = 224000},
    EncoderPreset{.name = "DVD NTSC", .format = VideoFormat::Dvd, .standard = TvStandard::Ntsc,
                  .muxer = "dvd", .packetSize = 2048, .muxRate = 10080000, .preloadMicroseconds = 500000,
                  .videoCodec = AV_CODEC_ID_MPEG2VIDEO, .width = 720, .height = 480, .frameRate = kNtscStream,
                  .displayAspect = kFourThree, .gopSize = 18, .maxBFrames = 2,
                  .videoBitRate = 6000000, .videoMaxRate = 9000000, .videoMinRate = 0,
                  .vbvBufferBits = 224 * 1024 * 8, .scanOffset = false, .anamorphicWide = true,
                  .audioCodec = AV_CODEC_ID_AC3, .sampleRate = 48000, .channels = 2, .audioBitRate = 224000},
    EncoderPreset{.name = "MP4 720p PAL", .format = VideoFormat::Mp4_720p, .standard = TvStandard::Pal,
                  .muxer = "mp4", .packetSize = 0, .muxRate = 0, .preloadMicroseconds = 0,
                  .muxerOptions = kMp4MuxerOptions,
                  .videoCodec = AV_CODEC_ID_H264, .width = 1280, .height = 720, .frameRate = kPalStream,
                  .displayAspect = kSixteenNine, .gopSize = 50, .maxBFrames = 3,
                  .videoBitRate = 0, .videoMaxRate = 5000000, .videoMinRate = 0,
                  .vbvBufferBits = 10000000, .scanOffset = false,
                  .encoderName = kX264, .encoderPreset = kX264Preset, .encoderProfile = kX264Profile,
                  .crf = kStandardCrf, .highCrf = kHighCrf, .highMaxRate = 8000000,
                  .audioCodec = AV_CODEC_ID_AAC, .sampleRate = 48000, .channels = 2, .audioBitRate = 192000},
    EncoderPreset{.name = "MP4 720p NTSC", .format = VideoFormat::Mp4_720p, .standard = TvStandard::Ntsc,
                  .muxer = "mp4", .packetSize = 0, .muxRate = 0, .preloadMicroseconds = 0,
                  .muxerOptions = kMp4MuxerOptions,
                  .videoCodec = AV_CODEC_ID_H264, .width = 1280, .height = 720, .frameRate = kNtscStream,
                  .displayAspect = kSixteenNine, .gopSize = 59, .maxBFrames = 3,
                  .videoBitRate = 0, .videoMaxRate = 5000000, .videoMinRate = 0,
                  .vbvBufferBits = 10000000, .scanOffset = false,
                  .encoderName = kX264, .encoderPreset = kX264Preset, .encoderProfile = kX264Profile,
                  .crf = kStandardCrf, .highCrf = kHighCrf, .highMaxRate = 8000000,
                  .audioCodec = AV_CODEC_ID_AAC, .sampleRate = 48000, .channels = 2, .audioBitRate = 192000},
    EncoderPreset{.name = "MP4 1080p PAL", .format = VideoFormat::Mp4_1080p, .standard = TvStandard::Pal,
                  .muxer = "mp4", .packetSize = 0, .muxRate = 0, .preloadMicroseconds = 0,
                  .muxerOptions = kMp4MuxerOptions,
                  .videoCodec = AV_CODEC_ID_H264, .width = 1920, .height = 1080, .frameRate = kPalStream,
                  .displayAspect = kSixteenNine, .gopSize = 50, .maxBFrames = 3,
                  .videoBitRate = 0, .videoMaxRate = 8000000, .videoMinRate = 0,
                  .vbvBufferBits = 16000000, .scanOffset = false,
                  .encoderName = kX264, .encoderPreset = kX264Preset, .encoderProfile = kX264Profile,
                  .crf = kStandardCrf, .highCrf = kHighCrf, .highMaxRate = 11500000,
                  .audioCodec = AV_CODEC_ID_AAC, .sampleRate = 48000, .channels = 2, .audioBitRate = 192000},
    EncoderPreset{.name = "MP4 1080p NTSC", .format = VideoFormat::Mp4_1080p, .standard = TvStandard::Ntsc,
                  .muxer = "mp4", .packetSize = 0, .muxRate = 0, .preloadMicroseconds = 0,
                  .muxerOptions = kMp4MuxerOptions,
                  .videoCodec = AV_CODEC_ID_H264, .width = 1920, .height = 1080, .frameRate = kNtscStream,
                  .displayAspect = kSixteenNine, .gopSize = 59, .maxBFrames = 3,
                  .videoBitRate = 0, .videoMaxRate = 8000000, .videoMinRate = 0,
                  .vbvBufferBits = 16000000, .scanOffset = false,
                  .encoderName = kX264, .encoderPreset = kX264Preset, .encoderProfile = kX264Profile,
                  .crf = kStandardCrf, .highCrf = kHighCrf, .highMaxRate = 11500000,
                  .audioCodec = AV_CODEC_ID_AAC, .sampleRate = 48000, .channels = 2, .audioBitRate = 192000},
    EncoderPreset{.name = "MP4 4K PAL", .format = VideoFormat::Mp4_4k, .standard = TvStandard::Pal,
                  .muxer = "mp4", .packetSize = 0, .muxRate = 0, .preloadMicroseconds = 0,
                  .muxerOptions = kMp4MuxerOptions,
                  .videoCodec = AV_CODEC_ID_H264, .width = 3840, .height = 2160, .frameRate = kPalStream,
                  .displayAspect = kSixteenNine, .gopSize = 50, .maxBFrames = 3,
                  .videoBitRate = 0, .videoMaxRate = 24000000, .videoMinRate = 0,
                  .vbvBufferBits = 48000000, .scanOffset = false,
                  .encoderName = kX264, .encoderPreset = kX264Preset, .encoderProfile = kX264Profile,
                  .crf = kStandardCrf, .highCrf = kHighCrf, .highMaxRate = 38000000,
                  .audioCodec = AV_CODEC_ID_AAC, .sampleRate = 48000, .channels = 2, .audioBitRate = 192000},
    EncoderPreset{.name = "MP4 4K NTSC", .format = VideoFormat::Mp4_4k, .standard = TvStandard::Ntsc,
                  .muxer = "mp4", .packetSize = 0, .muxRate = 0, .preloadMicroseconds = 0,
                  .muxerOptions = kMp4MuxerOptions,
                  .videoCodec = AV_CODEC_ID_H264, .width = 3840, .height = 2160, .frameRate = kNtscStream,
                  .displayAspect = kSixteenNine, .gopSize = 59, .maxBFrames = 3,
                  .videoBitRate = 0, .videoMaxRate = 24000000, .videoMinRate = 0,
                  .vbvBufferBits = 48000000, .scanOffset = false,
                  .encoderName = kX264, .encoderPreset = kX264Preset, .encoderProfile = kX264Profile,
                  .crf = kStandardCrf, .highCrf = kHighCrf, .highMaxRate = 38000000,
                  .audioCodec = AV_CODEC_ID_AAC, .sampleRate = 48000, .channels = 2, .audioBitRate = 192000},
};

// The MP4 frames in every shape: a size is named by the frame's shorter side
// (720p is 720 pixels across when upright), and 4:5 is made 1080 wide only,
// the size the feeds that show it ask for. The rows' caps and buffers stay
// those of the format, which are enough for the landscape frame of the same
// pixel count.
constexpr std::array kShapes{
    FrameShape{VideoFormat::Mp4_720p, FrameAspect::Wide, 1280, 720, kSixteenNine},
    FrameShape{VideoFormat::Mp4_720p, FrameAspect::Standard, 960, 720, kFourThree},
    FrameShape{VideoFormat::Mp4_720p, FrameAspect::Vertical, 720, 1280, kNineSixteen},
    FrameShape{VideoFormat::Mp4_720p, FrameAspect::Square, 720, 720, kOneOne},
    FrameShape{VideoFormat::Mp4_1080p, FrameAspect::Wide, 1920, 1080, kSixteenNine},
    FrameShape{VideoFormat::Mp4_1080p, FrameAspect::Standard, 1440, 1080, kFourThree},
    FrameShape{VideoFormat::Mp4_1080p, FrameAspect::Vertical, 1080, 1920, kNineSixteen},
    FrameShape{VideoFormat::Mp4_1080p, FrameAspect::Square, 1080, 1080, kOneOne},
    FrameShape{VideoFormat::Mp4_1080p, FrameAspect::Portrait, 1080, 1350, kFourFive},
    FrameShape{VideoFormat::Mp4_4k, FrameAspect::Wide, 3840, 2160, kSixteenNine},
    FrameShape{VideoFormat::Mp4_4k, FrameAspect::Standard, 2880, 2160, kFourThree},
    FrameShape{VideoFormat::Mp4_4k, FrameAspect::Vertical, 2160, 3840, kNineSixteen},
    FrameShape{VideoFormat::Mp4_4k, FrameAspect::Square, 2160, 2160, kOneOne},
};
// clang-format on

// Players seek to key frames: one at least every this many seconds.
constexpr int kKeyFrameSeconds = 2;

}  // namespace

AVRational EncoderPreset::sampleAspect() const {
    AVRational sar{};
    av_reduce(&sar.num, &sar.den, int64_t{displayAspect.num} * height,
              int64_t{displayAspect.den} * width, 1 << 16);
    return sar;
}

int64_t EncoderPreset::samplesBeforeFrame(int64_t frame) const {
    // frame * sampleRate / frameRate, rounded down, without floating point.
    return av_rescale_rnd(frame, int64_t{sampleRate} * frameRate.den, frameRate.num, AV_ROUND_DOWN);
}

const EncoderPreset* FindPreset(int format, int standard) {
    for (const EncoderPreset& preset : kPresets) {
        if (static_cast<int>(preset.format) == format &&
            static_cast<int>(preset.standard) == standard)
            return &preset;
    }
    return nullptr;
}

const FrameShape* FindShape(int format, int aspect) {
    if (aspect == static_cast<int>(FrameAspect::FormatOwn))
        aspect = static_cast<int>(FrameAspect::Wide);
    for (const FrameShape& shape : kShapes)
        if (static_cast<int>(shape.format) == format && static_cast<int>(shape.aspect) == aspect)
            return &shape;
    return nullptr;
}

std::optional<EncoderPreset> ResolvePreset(int format, int standard, int aspect, int quality,
                                           int rate) {
    const EncoderPreset* row = FindPreset(format, standard);
    const bool knownAspect = aspect >= static_cast<int>(FrameAspect::FormatOwn) &&
                             aspect <= static_cast<int>(FrameAspect::Portrait);
    const bool knownQuality = quality == static_cast<int>(VideoQuality::Standard) ||
                              quality == static_cast<int>(VideoQuality::High);
    const std::optional<FrameRate> chosen = RateOfChoice(rate, standard);
    if (!row || !knownAspect || !knownQuality || !chosen) return std::nullopt;
    EncoderPreset preset = *row;
    if (!preset.constantQuality()) {
        if (preset.anamorphicWide && aspect == static_cast<int>(FrameAspect::Wide))
            preset.displayAspect = kSixteenNine;
        return preset;
    }
    const FrameShape* shape = FindShape(format, aspect);
    if (!shape) return std::nullopt;
    preset.width = shape->width;
    preset.height = shape->height;
    preset.displayAspect = shape->displayAspect;
    preset.frameRate = AVRational{chosen->num, chosen->den};
    preset.gopSize = static_cast<int>(int64_t{kKeyFrameSeconds} * chosen->num / chosen->den);
    if (quality == static_cast<int>(VideoQuality::High)) {
        // The buffer keeps its length in seconds of the cap.
        preset.vbvBufferBits = static_cast<int>(
            av_rescale(preset.vbvBufferBits, preset.highMaxRate, preset.videoMaxRate));
        preset.videoMaxRate = preset.highMaxRate;
        preset.crf = preset.highCrf;
    }
    return preset;
}

}  // namespace video
