#include "video/MpegOutput.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libavutil/mem.h>
#include <libavutil/opt.h>
}

#include "base/FfmpegLog.h"

namespace video {
namespace {

// How far the multiplexer may let a stream run ahead of the clock, as the
// players of these formats expect.
constexpr int kMaxMuxDelayMicroseconds = 700000;

}  // namespace

std::unique_ptr<MpegOutput> MpegOutput::Open(const std::string& path, const EncoderPreset& preset,
                                             bool withAudio, std::vector<SubtitleCue> subtitles,
                                             std::string* error) {
    base::RouteFfmpegLog();
    base::TakeFfmpegError();
    std::unique_ptr<MpegOutput> output(new MpegOutput(preset));
    output->path_ = path;
    output->partPath_ = path + ".part";
    const std::string prefix = "Cannot write the video file \"" + path + "\": ";
    if (path.empty()) {
        *error = "No video file name was given.";
        return nullptr;
    }
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (std::filesystem::is_directory(status)) {
        *error = prefix + "it is a folder";
        return nullptr;
    }
    // A read-only video is not replaced behind the user's back.
    if (std::filesystem::exists(status) && access(path.c_str(), W_OK) != 0) {
        *error = prefix + std::strerror(errno);
        return nullptr;
    }

    int result = avformat_alloc_output_context2(&output->format_, nullptr, preset.muxer, nullptr);
    output->packet_.reset(av_packet_alloc());
    if (result < 0 || !output->format_ || !output->packet_) {
        *error = std::string("The multiplexer \"") + preset.muxer + "\" is not available.";
        return nullptr;
    }
    output->subtitles_ = std::move(subtitles);
    if (!output->openVideo() || (withAudio && !output->openAudio()) ||
        (!output->subtitles_.empty() && !output->openSubtitles()) || !output->openFile()) {
        *error = output->error_;
        return nullptr;
    }
    return output;
}

MpegOutput::~MpegOutput() {
    if (!finished_) discard();
    avformat_free_context(format_);
}

bool MpegOutput::fail(const std::string& what, int code) {
    if (error_.empty()) error_ = base::WithFfmpegError(what + ": " + base::AvErrorText(code));
    return false;
}

bool MpegOutput::checkFileError(const char* what) {
    if (format_->pb && format_->pb->error < 0)
        return fail(std::string("Cannot write the video file \"") + path_ + "\" (" + what + ")",
                    format_->pb->error);
    return true;
}

bool MpegOutput::openVideo() {
    const AVCodec* codec = preset_.encoderName ? avcodec_find_encoder_by_name(preset_.encoderName)
                                               : avcodec_find_encoder(preset_.videoCodec);
    if (!codec)
        return fail(std::string("No video encoder") +
                        (preset_.encoderName ? std::string(" ") + preset_.encoderName : ""),
                    AVERROR_ENCODER_NOT_FOUND);
    videoCodec_.reset(avcodec_alloc_context3(codec));
    if (!videoCodec_) return fail("No video encoder", AVERROR(ENOMEM));
    AVCodecContext* c = videoCodec_.get();
    c->width = preset_.width;
    c->height = preset_.height;
    c->framerate = preset_.frameRate;
    c->time_base = av_inv_q(preset_.frameRate);
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    c->gop_size = preset_.gopSize;
    c->max_b_frames = preset_.maxBFrames;
    c->bit_rate = preset_.videoBitRate;
    c->rc_max_rate = preset_.videoMaxRate;
    c->rc_min_rate = preset_.videoMinRate;
    c->rc_buffer_size = preset_.vbvBufferBits;
    c->sample_aspect_ratio = preset_.sampleAspect();
    // 0 lets the encoder use every core: slices of a frame in parallel for
    // MPEG, x264's own frame threads for H.264.
    c->thread_count = 0;
    if (!preset_.constantQuality()) c->thread_type = FF_THREAD_SLICE;
    if (format_->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;

    AVDictionary* options = nullptr;
    if (preset_.scanOffset) av_dict_set(&options, "scan_offset", "1", 0);
    if (!preset_.constantQuality()) {
        // A disc's I pictures are its access points: players and the disc
        // authoring tools index them, in order, by the time of the packet
        // they start in. An I picture put in for a change of scene a few
        // pictures after another can start in the packet of a B picture
        // shown before the earlier one, and is then dropped from the index
        // as out of order. I pictures come only at the start of each group.
        av_dict_set(&options, "sc_threshold", "1000000000", 0);
    }
    if (preset_.constantQuality()) {
        c->color_primaries = AVCOL_PRI_BT709;
        c->color_trc = AVCOL_TRC_BT709;
        c->colorspace = AVCOL_SPC_BT709;
        c->color_range = AVCOL_RANGE_MPEG;
        av_dict_set(&options, "preset", preset_.encoderPreset, 0);
        av_dict_set(&options, "profile", preset_.encoderProfile, 0);
        av_dict_set_int(&options, "crf", preset_.crf, 0);
    }
    int result = avcodec_open2(c, codec, &options);
    av_dict_free(&options);
    if (result < 0) return fail("Cannot open the video encoder", result);

    videoStream_ = avformat_new_stream(format_, nullptr);
    if (!videoStream_) return fail("Cannot add the video stream", AVERROR(ENOMEM));
    videoStream_->time_base = c->time_base;
    videoStream_->avg_frame_rate = preset_.frameRate;
    videoStream_->sample_aspect_ratio = c->sample_aspect_ratio;
    result = avcodec_parameters_from_context(videoStream_->codecpar, c);
    if (result < 0) return fail("Cannot set up the video stream", result);
    // The multiplexer sizes the decoder buffer it announces from the
    // encoder's buffer properties; without them it writes a default that
    // the players of these formats reject.
    for (int i = 0; i < c->nb_coded_side_data; ++i) {
        const AVPacketSideData& side = c->coded_side_data[i];
        uint8_t* copy = av_stream_new_side_data(videoStream_, side.type, side.size);
        if (!copy) return fail("Cannot set up the video stream", AVERROR(ENOMEM));
        std::memcpy(copy, side.data, side.size);
    }
    return true;
}

bool MpegOutput::openAudio() {
    const AVCodec* codec = avcodec_find_encoder(preset_.audioCodec);
    if (!codec) return fail("No audio encoder", AVERROR_ENCODER_NOT_FOUND);
    audioCodec_.reset(avcodec_alloc_context3(codec));
    if (!audioCodec_) return fail("No audio encoder", AVERROR(ENOMEM));
    AVCodecContext* c = audioCodec_.get();
    c->sample_rate = preset_.sampleRate;
    c->time_base = AVRational{1, preset_.sampleRate};
    c->bit_rate = preset_.audioBitRate;
    av_channel_layout_default(&c->ch_layout, preset_.channels);
    c->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    for (const AVSampleFormat* f = codec->sample_fmts; f && *f != AV_SAMPLE_FMT_NONE; ++f) {
        if (*f == AV_SAMPLE_FMT_S16) c->sample_fmt = AV_SAMPLE_FMT_S16;
    }
    int result = avcodec_open2(c, codec, nullptr);
    if (result < 0) return fail("Cannot open the audio encoder", result);

    audioStream_ = avformat_new_stream(format_, nullptr);
    if (!audioStream_) return fail("Cannot add the audio stream", AVERROR(ENOMEM));
    audioStream_->time_base = c->time_base;
    result = avcodec_parameters_from_context(audioStream_->codecpar, c);
    if (result < 0) return fail("Cannot set up the audio stream", result);

    if (c->sample_fmt != AV_SAMPLE_FMT_S16) {
        SwrContext* swr = nullptr;
        result = swr_alloc_set_opts2(&swr, &c->ch_layout, c->sample_fmt, c->sample_rate,
                                     &c->ch_layout, AV_SAMPLE_FMT_S16, c->sample_rate, 0, nullptr);
        if (result >= 0) result = swr_init(swr);
        if (result < 0) {
            swr_free(&swr);
            return fail("Cannot set up the audio conversion", result);
        }
        audioConvert_.reset(swr);
    }
    audioFrame_.reset(av_frame_alloc());
    if (!audioFrame_) return fail("Cannot set up the audio stream", AVERROR(ENOMEM));
    audioFrame_->nb_samples = audioFrameSize();
    audioFrame_->format = c->sample_fmt;
    audioFrame_->sample_rate = c->sample_rate;
    result = av_channel_layout_copy(&audioFrame_->ch_layout, &c->ch_layout);
    if (result >= 0) result = av_frame_get_buffer(audioFrame_.get(), 0);
    if (result < 0) return fail("Cannot set up the audio stream", result);
    return true;
}

bool MpegOutput::openSubtitles() {
    // The track's sample description (its default style and font) is what
    // FFmpeg's own mov_text encoder declares; the samples themselves are the
    // format's plain text and written directly, so no caption is read as
    // styling markup on the way.
    static constexpr char kAssHeader[] =
        "[Script Info]\nScriptType: v4.00+\nPlayResX: 384\nPlayResY: 288\n\n"
        "[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, "
        "OutlineColour, BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, "
        "Spacing, Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, "
        "Encoding\nStyle: Default,Arial,16,&Hffffff,&Hffffff,&H0,&H0,0,0,0,0,100,100,0,0,1,1,0,2,"
        "10,10,10,0\n\n[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, "
        "MarginV, Effect, Text\n";
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MOV_TEXT);
    if (!codec) return fail("No subtitle encoder", AVERROR_ENCODER_NOT_FOUND);
    const base::CodecContextPtr describer(avcodec_alloc_context3(codec));
    if (!describer) return fail("Cannot set up the subtitle track", AVERROR(ENOMEM));
    describer->time_base = av_inv_q(preset_.frameRate);
    // The context frees the header with itself.
    describer->subtitle_header = static_cast<uint8_t*>(av_memdup(kAssHeader, sizeof kAssHeader));
    if (!describer->subtitle_header)
        return fail("Cannot set up the subtitle track", AVERROR(ENOMEM));
    describer->subtitle_header_size = static_cast<int>(sizeof kAssHeader - 1);
    int result = avcodec_open2(describer.get(), codec, nullptr);
    if (result < 0) return fail("Cannot set up the subtitle track", result);
    subtitleStream_ = avformat_new_stream(format_, nullptr);
    if (!subtitleStream_) return fail("Cannot set up the subtitle track", AVERROR(ENOMEM));
    result = avcodec_parameters_from_context(subtitleStream_->codecpar, describer.get());
    if (result < 0) return fail("Cannot set up the subtitle track", result);
    subtitleStream_->time_base = describer->time_base;
    return true;
}

bool MpegOutput::writeSubtitles() {
    const AVRational frameTime = av_inv_q(preset_.frameRate);
    for (const SubtitleCue& cue : subtitles_) {
        if (cue.start >= videoFrames_) break;
        const int64_t end = std::min(cue.end, videoFrames_);
        if (end <= cue.start) continue;
        // A sample is the text's length (16 bits, big-endian) and its bytes.
        const size_t length = std::min<size_t>(cue.text.size(), 0xFFFF);
        base::PacketPtr packet(av_packet_alloc());
        if (!packet || av_new_packet(packet.get(), static_cast<int>(length + 2)) < 0)
            return fail("Cannot write the subtitles", AVERROR(ENOMEM));
        packet->data[0] = static_cast<uint8_t>(length >> 8);
        packet->data[1] = static_cast<uint8_t>(length & 0xFF);
        std::memcpy(packet->data + 2, cue.text.data(), length);
        packet->pts = cue.start;
        packet->dts = cue.start;
        packet->duration = end - cue.start;
        packet->flags |= AV_PKT_FLAG_KEY;
        av_packet_rescale_ts(packet.get(), frameTime, subtitleStream_->time_base);
        packet->stream_index = subtitleStream_->index;
        const int result = av_interleaved_write_frame(format_, packet.get());
        if (result < 0) return fail("Cannot write the video file \"" + path_ + "\"", result);
    }
    return checkFileError("subtitles");
}

bool MpegOutput::openFile() {
    // "file:" keeps a name with a colon from being taken for a protocol.
    const std::string url = "file:" + partPath_;
    int result = avio_open(&format_->pb, url.c_str(), AVIO_FLAG_WRITE);
    if (result < 0) return fail("Cannot write the video file \"" + path_ + "\"", result);
    createdPart_ = true;
    // The MP4 muxer opens the file again by this name to move its index to
    // the front.
    av_freep(&format_->url);
    format_->url = av_strdup(url.c_str());
    if (!format_->url)
        return fail("Cannot write the video file \"" + path_ + "\"", AVERROR(ENOMEM));

    format_->packet_size = preset_.packetSize;
    format_->max_delay = kMaxMuxDelayMicroseconds;
    AVDictionary* options = nullptr;
    if (preset_.muxRate > 0) av_dict_set_int(&options, "muxrate", preset_.muxRate, 0);
    if (preset_.preloadMicroseconds > 0)
        av_dict_set_int(&options, "preload", preset_.preloadMicroseconds, 0);
    if (preset_.muxerOptions) {
        result = av_dict_parse_string(&options, preset_.muxerOptions, "=", ":", 0);
        if (result < 0) {
            av_dict_free(&options);
            return fail("Cannot set up the multiplexer", result);
        }
    }
    result = avformat_write_header(format_, &options);
    av_dict_free(&options);
    if (result < 0) return fail("Cannot write the video file \"" + path_ + "\"", result);
    headerWritten_ = true;
    return checkFileError("header");
}

int MpegOutput::audioFrameSize() const {
    if (!audioCodec_) return 0;
    // Encoders that take any length get whole video frames' worth in pieces.
    return audioCodec_->frame_size > 0 ? audioCodec_->frame_size : 1152;
}

base::FramePtr MpegOutput::newVideoFrame() const {
    base::FramePtr frame(av_frame_alloc());
    if (!frame) return nullptr;
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = preset_.width;
    frame->height = preset_.height;
    if (av_frame_get_buffer(frame.get(), 0) < 0) return nullptr;
    return frame;
}

bool MpegOutput::drain(AVCodecContext* codec, AVStream* stream) {
    for (;;) {
        int result = avcodec_receive_packet(codec, packet_.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return true;
        if (result < 0) return fail("Encoding failed", result);
        av_packet_rescale_ts(packet_.get(), codec->time_base, stream->time_base);
        packet_->stream_index = stream->index;
        result = av_interleaved_write_frame(format_, packet_.get());
        if (result < 0) return fail("Cannot write the video file \"" + path_ + "\"", result);
        if (!checkFileError("data")) return false;
    }
}

bool MpegOutput::writeVideo(AVFrame* frame, int64_t index) {
    if (!headerWritten_ || !error_.empty()) return false;
    frame->pts = index;
    videoFrames_ = std::max(videoFrames_, index + 1);
    int result = avcodec_send_frame(videoCodec_.get(), frame);
    if (result < 0) return fail("Video encoding failed", result);
    return drain(videoCodec_.get(), videoStream_);
}

bool MpegOutput::writeAudio(const int16_t* samples, int64_t position) {
    if (!headerWritten_ || !error_.empty() || !audioCodec_) return false;
    int result = av_frame_make_writable(audioFrame_.get());
    if (result < 0) return fail("Audio encoding failed", result);
    const int count = audioFrameSize();
    if (audioConvert_) {
        const uint8_t* in[1] = {reinterpret_cast<const uint8_t*>(samples)};
        result = swr_convert(audioConvert_.get(), audioFrame_->data, count, in, count);
        if (result < 0) return fail("Audio conversion failed", result);
    } else {
        std::memcpy(audioFrame_->data[0], samples,
                    static_cast<size_t>(count) * preset_.channels * sizeof(int16_t));
    }
    audioFrame_->pts = position;
    result = avcodec_send_frame(audioCodec_.get(), audioFrame_.get());
    if (result < 0) return fail("Audio encoding failed", result);
    return drain(audioCodec_.get(), audioStream_);
}

bool MpegOutput::addChapters() {
    std::vector<Chapter> chapters;
    for (const Chapter& chapter : chapters_)
        if (chapter.frame < videoFrames_) chapters.push_back(chapter);
    std::stable_sort(chapters.begin(), chapters.end(),
                     [](const Chapter& a, const Chapter& b) { return a.frame < b.frame; });
    for (size_t i = 0; i < chapters.size(); ++i) {
        const int64_t end = i + 1 < chapters.size() ? chapters[i + 1].frame : videoFrames_;
        // Two pictures starting on one frame (a skipped picture) make one chapter.
        if (end <= chapters[i].frame) continue;
        AVChapter* chapter = static_cast<AVChapter*>(av_mallocz(sizeof(AVChapter)));
        if (!chapter) return fail("Cannot write the chapters", AVERROR(ENOMEM));
        chapter->id = static_cast<int64_t>(format_->nb_chapters);
        chapter->time_base = av_inv_q(preset_.frameRate);
        chapter->start = chapters[i].frame;
        chapter->end = end;
        // The context owns the chapter (and its title) from here on.
        // nb_chapters is unsigned; the array grows by one here, as
        // av_dynarray_add_nofree would grow it.
        AVChapter** grown = static_cast<AVChapter**>(
            av_realloc_array(format_->chapters, format_->nb_chapters + 1, sizeof(AVChapter*)));
        if (!grown) {
            av_free(chapter);
            return fail("Cannot write the chapters", AVERROR(ENOMEM));
        }
        format_->chapters = grown;
        format_->chapters[format_->nb_chapters++] = chapter;
        if (av_dict_set(&chapter->metadata, "title", chapters[i].title.c_str(), 0) < 0)
            return fail("Cannot write the chapters", AVERROR(ENOMEM));
    }
    return true;
}

bool MpegOutput::finish() {
    if (!headerWritten_ || !error_.empty()) {
        discard();
        return false;
    }
    bool ok = avcodec_send_frame(videoCodec_.get(), nullptr) >= 0 &&
              drain(videoCodec_.get(), videoStream_);
    if (ok && audioCodec_)
        ok = avcodec_send_frame(audioCodec_.get(), nullptr) >= 0 &&
             drain(audioCodec_.get(), audioStream_);
    if (ok && subtitleStream_) ok = writeSubtitles();
    if (ok) ok = addChapters();
    if (ok) {
        int result = av_write_trailer(format_);
        ok = result >= 0 ? checkFileError("trailer")
                         : fail("Cannot write the video file \"" + path_ + "\"", result);
    }
    if (ok) {
        int result = avio_closep(&format_->pb);
        if (result < 0) ok = fail("Cannot write the video file \"" + path_ + "\"", result);
    }
    if (ok) {
        std::error_code ec;
        std::filesystem::rename(partPath_, path_, ec);
        if (ec) {
            error_ = "Cannot write the video file \"" + path_ + "\": " + ec.message();
            ok = false;
        }
    }
    if (!ok) {
        discard();
        return false;
    }
    finished_ = true;
    return true;
}

void MpegOutput::discard() {
    if (format_ && format_->pb) avio_closep(&format_->pb);
    if (createdPart_) {
        std::error_code ec;
        std::filesystem::remove(partPath_, ec);
        createdPart_ = false;
    }
    finished_ = true;
}

}  // namespace video
