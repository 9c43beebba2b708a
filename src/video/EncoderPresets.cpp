#include "video/EncoderPresets.h"

#include <array>

extern "C" {
#include <libavutil/mathematics.h>
}

namespace video {
namespace {

constexpr AVRational kPalRate{25, 1};
constexpr AVRational kNtscRate{30000, 1001};
constexpr AVRational kFourThree{4, 3};
constexpr AVRational kSixteenNine{16, 9};

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
                  .videoCodec = AV_CODEC_ID_MPEG1VIDEO, .width = 352, .height = 288, .frameRate = kPalRate,
                  .displayAspect = kFourThree, .gopSize = 15, .maxBFrames = 2,
                  .videoBitRate = 1150000, .videoMaxRate = 1150000, .videoMinRate = 1150000,
                  .vbvBufferBits = 40 * 1024 * 8, .scanOffset = false,
                  .audioCodec = AV_CODEC_ID_MP2, .sampleRate = 44100, .channels = 2, .audioBitRate = 224000},
    EncoderPreset{.name = "VCD NTSC", .format = VideoFormat::Vcd, .standard = TvStandard::Ntsc,
                  .muxer = "vcd", .packetSize = 2324, .muxRate = 1411200, .preloadMicroseconds = 440000,
                  .videoCodec = AV_CODEC_ID_MPEG1VIDEO, .width = 352, .height = 240, .frameRate = kNtscRate,
                  .displayAspect = kFourThree, .gopSize = 18, .maxBFrames = 2,
                  .videoBitRate = 1150000, .videoMaxRate = 1150000, .videoMinRate = 1150000,
                  .vbvBufferBits = 40 * 1024 * 8, .scanOffset = false,
                  .audioCodec = AV_CODEC_ID_MP2, .sampleRate = 44100, .channels = 2, .audioBitRate = 224000},
    EncoderPreset{.name = "SVCD PAL", .format = VideoFormat::Svcd, .standard = TvStandard::Pal,
                  .muxer = "svcd", .packetSize = 2324, .muxRate = 0, .preloadMicroseconds = 500000,
                  .videoCodec = AV_CODEC_ID_MPEG2VIDEO, .width = 480, .height = 576, .frameRate = kPalRate,
                  .displayAspect = kFourThree, .gopSize = 15, .maxBFrames = 2,
                  .videoBitRate = 2040000, .videoMaxRate = 2516000, .videoMinRate = 0,
                  .vbvBufferBits = 224 * 1024 * 8, .scanOffset = true,
                  .audioCodec = AV_CODEC_ID_MP2, .sampleRate = 44100, .channels = 2, .audioBitRate = 224000},
    EncoderPreset{.name = "SVCD NTSC", .format = VideoFormat::Svcd, .standard = TvStandard::Ntsc,
                  .muxer = "svcd", .packetSize = 2324, .muxRate = 0, .preloadMicroseconds = 500000,
                  .videoCodec = AV_CODEC_ID_MPEG2VIDEO, .width = 480, .height = 480, .frameRate = kNtscRate,
                  .displayAspect = kFourThree, .gopSize = 18, .maxBFrames = 2,
                  .videoBitRate = 2040000, .videoMaxRate = 2516000, .videoMinRate = 0,
                  .vbvBufferBits = 224 * 1024 * 8, .scanOffset = true,
                  .audioCodec = AV_CODEC_ID_MP2, .sampleRate = 44100, .channels = 2, .audioBitRate = 224000},
    EncoderPreset{.name = "DVD PAL", .format = VideoFormat::Dvd, .standard = TvStandard::Pal,
                  .muxer = "dvd", .packetSize = 2048, .muxRate = 10080000, .preloadMicroseconds = 500000,
                  .videoCodec = AV_CODEC_ID_MPEG2VIDEO, .width = 720, .height = 576, .frameRate = kPalRate,
                  .displayAspect = kFourThree, .gopSize = 15, .maxBFrames = 2,
                  .videoBitRate = 6000000, .videoMaxRate = 9000000, .videoMinRate = 0,
                  .vbvBufferBits = 224 * 1024 * 8, .scanOffset = false, .anamorphicWide = true,
                  .audioCodec = AV_CODEC_ID_AC3, .sampleRate = 48000, .channels = 2, .audioBitRate = 224000},
    EncoderPreset{.name = "DVD NTSC", .format = VideoFormat::Dvd, .standard = TvStandard::Ntsc,
                  .muxer = "dvd", .packetSize = 2048, .muxRate = 10080000, .preloadMicroseconds = 500000,
                  .videoCodec = AV_CODEC_ID_MPEG2VIDEO, .width = 720, .height = 480, .frameRate = kNtscRate,
                  .displayAspect = kFourThree, .gopSize = 18, .maxBFrames = 2,
                  .videoBitRate = 6000000, .videoMaxRate = 9000000, .videoMinRate = 0,
                  .vbvBufferBits = 224 * 1024 * 8, .scanOffset = false, .anamorphicWide = true,
                  .audioCodec = AV_CODEC_ID_AC3, .sampleRate = 48000, .channels = 2, .audioBitRate = 224000},
    EncoderPreset{.name = "MP4 720p PAL", .format = VideoFormat::Mp4_720p, .standard = TvStandard::Pal,
                  .muxer = "mp4", .packetSize = 0, .muxRate = 0, .preloadMicroseconds = 0,
                  .muxerOptions = kMp4MuxerOptions,
                  .videoCodec = AV_CODEC_ID_H264, .width = 1280, .height = 720, .frameRate = kPalRate,
                  .displayAspect = kSixteenNine, .gopSize = 50, .maxBFrames = 3,
                  .videoBitRate = 0, .videoMaxRate = 5000000, .videoMinRate = 0,
                  .vbvBufferBits = 10000000, .scanOffset = false,
                  .encoderName = kX264, .encoderPreset = kX264Preset, .encoderProfile = kX264Profile,
                  .crf = kStandardCrf, .highCrf = kHighCrf, .highMaxRate = 8000000,
                  .audioCodec = AV_CODEC_ID_AAC, .sampleRate = 48000, .channels = 2, .audioBitRate = 192000},
    EncoderPreset{.name = "MP4 720p NTSC", .format = VideoFormat::Mp4_720p, .standard = TvStandard::Ntsc,
                  .muxer = "mp4", .packetSize = 0, .muxRate = 0, .preloadMicroseconds = 0,
                  .muxerOptions = kMp4MuxerOptions,
                  .videoCodec = AV_CODEC_ID_H264, .width = 1280, .height = 720, .frameRate = kNtscRate,
                  .displayAspect = kSixteenNine, .gopSize = 59, .maxBFrames = 3,
                  .videoBitRate = 0, .videoMaxRate = 5000000, .videoMinRate = 0,
                  .vbvBufferBits = 10000000, .scanOffset = false,
                  .encoderName = kX264, .encoderPreset = kX264Preset, .encoderProfile = kX264Profile,
                  .crf = kStandardCrf, .highCrf = kHighCrf, .highMaxRate = 8000000,
                  .audioCodec = AV_CODEC_ID_AAC, .sampleRate = 48000, .channels = 2, .audioBitRate = 192000},
    EncoderPreset{.name = "MP4 1080p PAL", .format = VideoFormat::Mp4_1080p, .standard = TvStandard::Pal,
                  .muxer = "mp4", .packetSize = 0, .muxRate = 0, .preloadMicroseconds = 0,
                  .muxerOptions = kMp4MuxerOptions,
                  .videoCodec = AV_CODEC_ID_H264, .width = 1920, .height = 1080, .frameRate = kPalRate,
                  .displayAspect = kSixteenNine, .gopSize = 50, .maxBFrames = 3,
                  .videoBitRate = 0, .videoMaxRate = 8000000, .videoMinRate = 0,
                  .vbvBufferBits = 16000000, .scanOffset = false,
                  .encoderName = kX264, .encoderPreset = kX264Preset, .encoderProfile = kX264Profile,
                  .crf = kStandardCrf, .highCrf = kHighCrf, .highMaxRate = 11500000,
                  .audioCodec = AV_CODEC_ID_AAC, .sampleRate = 48000, .channels = 2, .audioBitRate = 192000},
    EncoderPreset{.name = "MP4 1080p NTSC", .format = VideoFormat::Mp4_1080p, .standard = TvStandard::Ntsc,
                  .muxer = "mp4", .packetSize = 0, .muxRate = 0, .preloadMicroseconds = 0,
                  .muxerOptions = kMp4MuxerOptions,
                  .videoCodec = AV_CODEC_ID_H264, .width = 1920, .height = 1080, .frameRate = kNtscRate,
                  .displayAspect = kSixteenNine, .gopSize = 59, .maxBFrames = 3,
                  .videoBitRate = 0, .videoMaxRate = 8000000, .videoMinRate = 0,
                  .vbvBufferBits = 16000000, .scanOffset = false,
                  .encoderName = kX264, .encoderPreset = kX264Preset, .encoderProfile = kX264Profile,
                  .crf = kStandardCrf, .highCrf = kHighCrf, .highMaxRate = 11500000,
                  .audioCodec = AV_CODEC_ID_AAC, .sampleRate = 48000, .channels = 2, .audioBitRate = 192000},
    EncoderPreset{.name = "MP4 4K PAL", .format = VideoFormat::Mp4_4k, .standard = TvStandard::Pal,
                  .muxer = "mp4", .packetSize = 0, .muxRate = 0, .preloadMicroseconds = 0,
                  .muxerOptions = kMp4MuxerOptions,
                  .videoCodec = AV_CODEC_ID_H264, .width = 3840, .height = 2160, .frameRate = kPalRate,
                  .displayAspect = kSixteenNine, .gopSize = 50, .maxBFrames = 3,
                  .videoBitRate = 0, .videoMaxRate = 24000000, .videoMinRate = 0,
                  .vbvBufferBits = 48000000, .scanOffset = false,
                  .encoderName = kX264, .encoderPreset = kX264Preset, .encoderProfile = kX264Profile,
                  .crf = kStandardCrf, .highCrf = kHighCrf, .highMaxRate = 38000000,
                  .audioCodec = AV_CODEC_ID_AAC, .sampleRate = 48000, .channels = 2, .audioBitRate = 192000},
    EncoderPreset{.name = "MP4 4K NTSC", .format = VideoFormat::Mp4_4k, .standard = TvStandard::Ntsc,
                  .muxer = "mp4", .packetSize = 0, .muxRate = 0, .preloadMicroseconds = 0,
                  .muxerOptions = kMp4MuxerOptions,
                  .videoCodec = AV_CODEC_ID_H264, .width = 3840, .height = 2160, .frameRate = kNtscRate,
                  .displayAspect = kSixteenNine, .gopSize = 59, .maxBFrames = 3,
                  .videoBitRate = 0, .videoMaxRate = 24000000, .videoMinRate = 0,
                  .vbvBufferBits = 48000000, .scanOffset = false,
                  .encoderName = kX264, .encoderPreset = kX264Preset, .encoderProfile = kX264Profile,
                  .crf = kStandardCrf, .highCrf = kHighCrf, .highMaxRate = 38000000,
                  .audioCodec = AV_CODEC_ID_AAC, .sampleRate = 48000, .channels = 2, .audioBitRate = 192000},
};
// clang-format on

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

std::optional<EncoderPreset> ResolvePreset(int format, int standard, int aspect, int quality) {
    const EncoderPreset* row = FindPreset(format, standard);
    const bool knownAspect = aspect == static_cast<int>(FrameAspect::FormatOwn) ||
                             aspect == static_cast<int>(FrameAspect::Wide) ||
                             aspect == static_cast<int>(FrameAspect::Standard);
    const bool knownQuality = quality == static_cast<int>(VideoQuality::Standard) ||
                              quality == static_cast<int>(VideoQuality::High);
    if (!row || !knownAspect || !knownQuality) return std::nullopt;
    EncoderPreset preset = *row;
    if (!preset.constantQuality()) {
        if (preset.anamorphicWide && aspect == static_cast<int>(FrameAspect::Wide))
            preset.displayAspect = kSixteenNine;
        return preset;
    }
    if (aspect == static_cast<int>(FrameAspect::Standard)) {
        preset.width = preset.height * kFourThree.num / kFourThree.den;
        preset.displayAspect = kFourThree;
    }
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
