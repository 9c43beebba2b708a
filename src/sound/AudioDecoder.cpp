#include "sound/AudioDecoder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libavutil/intreadwrite.h>
#include <libavutil/mathematics.h>
}

namespace sound {
namespace {

// Demuxers of plain audio files (and the audio of common media files).
// Playlists, concatenation lists and image sequences are left out: they
// would open further files that the user never chose.
const char* const kAudioFormats =
    "mp3,wav,flac,ogg,aiff,aac,mov,mp4,m4a,3gp,3g2,mj2,matroska,webm,asf,ac3,eac3,w64,caf,ape,"
    "wv,tta,au,amr";

// Said of a named pipe or a device given as music: opening one would wait
// for a writer, or read without end.
constexpr int kNotAFile = FFERRTAG('N', 'F', 'I', 'L');

base::Fault Unreadable(std::string why) {
    return base::MakeFault(std::move(why), base::FaultKind::BadData);
}

// Containers that state a track's exact length in samples, encoder delay
// and padding left out: MP4's edit list, Ogg's last granule position (less
// Opus's pre-skip). FFmpeg trims the start of these as declared, but leaves
// MP4's padding on and cuts Ogg Vorbis's end short; playing to the declared
// length mends both, so albums cut from one recording join without a gap.
struct DeclaredLengthRule {
    const char* demuxer;
    // FFmpeg's own end trimming is wrong for the codec: skip samples by
    // hand, the start as the file declares it, the end by the length.
    AVCodecID trimByHand;
    // The iTunes gapless tag may end the track where no edit list does.
    bool itunesTag;
};
constexpr DeclaredLengthRule kDeclaredLengths[] = {
    {"mov,mp4,m4a,3gp,3g2,mj2", AV_CODEC_ID_NONE, true},
    {"ogg", AV_CODEC_ID_VORBIS, false},
};

const DeclaredLengthRule* DeclaredLengthRuleOf(const AVFormatContext* format) {
    for (const DeclaredLengthRule& rule : kDeclaredLengths)
        if (std::string_view(format->iformat->name) == rule.demuxer) return &rule;
    return nullptr;
}

// The iTunes gapless tag (" 00000000 DELAY PADDING VALID ...", hex) of an MP4
// file without an edit list: FFmpeg skips the delay it states but plays the
// padding, so the track ends after its count of valid samples, at the stream's
// rate. FFmpeg reports the delay as the stream's start only when no edit list
// overrode the tag; a file with an edit list keeps the length the edit list
// gives, which FFmpeg already trims to.
std::optional<int64_t> ItunesValidSamples(const AVFormatContext* format, const AVStream* stream) {
    const AVDictionaryEntry* tag = av_dict_get(stream->metadata, "iTunSMPB", nullptr, 0);
    if (!tag) tag = av_dict_get(format->metadata, "iTunSMPB", nullptr, 0);
    const int rate = stream->codecpar->sample_rate;
    if (!tag || rate <= 0) return std::nullopt;
    unsigned long long skipped = 0, delay = 0, padding = 0, valid = 0;
    if (std::sscanf(tag->value, "%llx %llx %llx %llx", &skipped, &delay, &padding, &valid) != 4 ||
        valid == 0 || valid > static_cast<unsigned long long>(INT64_MAX / 2))
        return std::nullopt;
    const int64_t start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    if (start != av_rescale_q(static_cast<int64_t>(delay), AVRational{1, rate}, stream->time_base))
        return std::nullopt;
    return static_cast<int64_t>(valid);
}

}  // namespace

int OpenAudioInput(const std::string& path, base::InputFormatPtr* format) {
    base::RouteFfmpegLog();
    base::TakeFfmpegError();
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return kNotAFile;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    av_dict_set(&options, "format_whitelist", kAudioFormats, 0);
    AVFormatContext* context = nullptr;
    // "file:" keeps a name with a colon from being taken for a protocol.
    const std::string url = "file:" + path;
    int result = avformat_open_input(&context, url.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (result < 0) return result;
    format->reset(context);
    result = avformat_find_stream_info(context, nullptr);
    return result < 0 ? result : 0;
}

base::Result<std::unique_ptr<AudioDecoder>> AudioDecoder::Open(const std::string& path,
                                                               int sampleRate, int channels) {
    std::unique_ptr<AudioDecoder> decoder(new AudioDecoder);
    decoder->sampleRate_ = sampleRate;
    decoder->channels_ = channels;
    int result = OpenAudioInput(path, &decoder->format_);
    if (result < 0) {
        return Unreadable(result == kNotAFile ? "it is not a regular file"
                                              : base::WithFfmpegError(base::AvErrorText(result)));
    }
    const AVCodec* codec = nullptr;
    result = av_find_best_stream(decoder->format_.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (result < 0 || codec == nullptr) {
        return Unreadable(result == AVERROR_DECODER_NOT_FOUND ? "no decoder for its audio"
                                                              : "it holds no audio");
    }
    decoder->streamIndex_ = result;
    decoder->codec_.reset(avcodec_alloc_context3(codec));
    decoder->frame_.reset(av_frame_alloc());
    decoder->packet_.reset(av_packet_alloc());
    if (!decoder->codec_ || !decoder->frame_ || !decoder->packet_) {
        return base::MakeFault("out of memory", base::FaultKind::OutOfMemory);
    }
    AVStream* stream = decoder->format_->streams[decoder->streamIndex_];
    result = avcodec_parameters_to_context(decoder->codec_.get(), stream->codecpar);
    const DeclaredLengthRule* rule = DeclaredLengthRuleOf(decoder->format_.get());
    if (rule && rule->trimByHand == stream->codecpar->codec_id) {
        decoder->codec_->flags2 |= AV_CODEC_FLAG2_SKIP_MANUAL;
        decoder->trimByHand_ = true;
    }
    if (result >= 0) result = avcodec_open2(decoder->codec_.get(), codec, nullptr);
    if (result < 0) {
        return Unreadable(base::AvErrorText(result));
    }
    if (decoder->sampleRate_ <= 0) decoder->sampleRate_ = decoder->codec_->sample_rate;
    if (decoder->sampleRate_ <= 0) {
        return Unreadable("its audio has no sample rate");
    }
    if (rule && stream->duration > 0 && stream->duration != AV_NOPTS_VALUE) {
        const int64_t declared =
            stream->duration -
            av_rescale_q(stream->codecpar->initial_padding,
                         AVRational{1, std::max(stream->codecpar->sample_rate, 1)},
                         stream->time_base);
        if (declared > 0)
            decoder->sampleLimit_ =
                av_rescale_q(declared, stream->time_base, AVRational{1, decoder->sampleRate_});
    }
    if (rule && rule->itunesTag)
        if (const std::optional<int64_t> valid = ItunesValidSamples(decoder->format_.get(), stream))
            decoder->sampleLimit_ =
                av_rescale(*valid, decoder->sampleRate_, stream->codecpar->sample_rate);
    return decoder;
}

AudioDecoder::~AudioDecoder() {
    av_channel_layout_uninit(&swrInLayout_);
}

bool AudioDecoder::decodeInto(AVAudioFifo* fifo) {
    for (;;) {
        int result = avcodec_receive_frame(codec_.get(), frame_.get());
        if (result == 0) {
            if (trimByHand_) SkipDeclaredStart(frame_.get());
            const bool ok = resample(frame_.get(), fifo);
            av_frame_unref(frame_.get());
            if (!ok) return false;
            return samplesDecoded_ < sampleLimit_;
        }
        if (result == AVERROR(EAGAIN) && !flushing_) {
            result = av_read_frame(format_.get(), packet_.get());
            if (result < 0) {
                // End of file, or a read error: either way the file ends
                // here and what was decoded plays.
                flushing_ = true;
                avcodec_send_packet(codec_.get(), nullptr);
                continue;
            }
            if (packet_->stream_index == streamIndex_) {
                // A damaged frame is skipped; the decoder resynchronises.
                avcodec_send_packet(codec_.get(), packet_.get());
            }
            av_packet_unref(packet_.get());
            continue;
        }
        if (result == AVERROR(EAGAIN)) {
            // Flushing and still asked for input: nothing more will come.
            drainResampler(fifo);
            return false;
        }
        if (result == AVERROR_EOF || flushing_) {
            drainResampler(fifo);
            return false;
        }
        // A decoding error: drop what the decoder holds and read on.
        avcodec_flush_buffers(codec_.get());
    }
}

namespace {

// The frame's channel layout, with a plain default order when the file names
// only a channel count.
bool FrameLayout(const AVFrame* frame, AVChannelLayout* layout) {
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || frame->ch_layout.nb_channels <= 0) {
        av_channel_layout_default(layout, std::max(frame->ch_layout.nb_channels, 1));
        return true;
    }
    return av_channel_layout_copy(layout, &frame->ch_layout) >= 0;
}

}  // namespace

bool AudioDecoder::configureResampler(const AVFrame* frame, AVChannelLayout* inLayout,
                                      AVAudioFifo* fifo) {
    if (swr_ && swrInRate_ == frame->sample_rate && swrInFormat_ == frame->format &&
        av_channel_layout_compare(&swrInLayout_, inLayout) == 0)
        return true;
    // A new resampler; one that ran before (the stream changed its format)
    // first plays out what it holds.
    drainResampler(fifo);

    AVChannelLayout outLayout{};
    av_channel_layout_default(&outLayout, channels_);
    SwrContext* swr = nullptr;
    int result = swr_alloc_set_opts2(&swr, &outLayout, AV_SAMPLE_FMT_S16, sampleRate_, inLayout,
                                     static_cast<AVSampleFormat>(frame->format), frame->sample_rate,
                                     0, nullptr);
    av_channel_layout_uninit(&outLayout);
    if (result >= 0) result = swr_init(swr);
    if (result < 0) {
        swr_free(&swr);
        return false;
    }
    swr_.reset(swr);
    swrInRate_ = frame->sample_rate;
    swrInFormat_ = frame->format;
    av_channel_layout_uninit(&swrInLayout_);
    swrInLayout_ = *inLayout;
    *inLayout = AVChannelLayout{};
    return true;
}

bool AudioDecoder::resample(const AVFrame* frame, AVAudioFifo* fifo) {
    if (frame->nb_samples <= 0 || frame->sample_rate <= 0) return true;
    AVChannelLayout inLayout{};
    if (!FrameLayout(frame, &inLayout)) return false;
    const bool configured = configureResampler(frame, &inLayout, fifo);
    av_channel_layout_uninit(&inLayout);
    if (!configured) return false;
    const int capacity = swr_get_out_samples(swr_.get(), frame->nb_samples);
    if (capacity <= 0) return true;
    std::vector<int16_t> out(static_cast<size_t>(capacity) * channels_);
    uint8_t* outPlanes[1] = {reinterpret_cast<uint8_t*>(out.data())};
    const int converted =
        swr_convert(swr_.get(), outPlanes, capacity,
                    const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
    if (converted < 0) return false;
    appendToFifo(fifo, outPlanes[0], converted);
    return true;
}

void AudioDecoder::drainResampler(AVAudioFifo* fifo) {
    if (!swr_) return;
    const int capacity = swr_get_out_samples(swr_.get(), 0);
    if (capacity > 0) {
        std::vector<int16_t> out(static_cast<size_t>(capacity) * channels_);
        uint8_t* outPlanes[1] = {reinterpret_cast<uint8_t*>(out.data())};
        const int converted = swr_convert(swr_.get(), outPlanes, capacity, nullptr, 0);
        if (converted > 0) appendToFifo(fifo, outPlanes[0], converted);
    }
    swr_.reset();
}

void AudioDecoder::SkipDeclaredStart(AVFrame* frame) {
    const AVFrameSideData* side = av_frame_get_side_data(frame, AV_FRAME_DATA_SKIP_SAMPLES);
    if (!side || side->size < 4) return;
    const int skip = std::min<int>(static_cast<int>(AV_RL32(side->data)), frame->nb_samples);
    if (skip <= 0) return;
    // Moved forward in place: the frame's planes are its own.
    const int bytes = av_get_bytes_per_sample(static_cast<AVSampleFormat>(frame->format));
    const bool planar = av_sample_fmt_is_planar(static_cast<AVSampleFormat>(frame->format));
    const int channels = frame->ch_layout.nb_channels;
    const int stride = bytes * (planar ? 1 : channels);
    for (int plane = 0; plane < (planar ? channels : 1); ++plane)
        std::memmove(frame->extended_data[plane], frame->extended_data[plane] + skip * stride,
                     static_cast<size_t>(frame->nb_samples - skip) * stride);
    frame->nb_samples -= skip;
}

void AudioDecoder::appendToFifo(AVAudioFifo* fifo, const uint8_t* data, int samples) {
    samples = static_cast<int>(std::min<int64_t>(samples, sampleLimit_ - samplesDecoded_));
    if (samples <= 0) return;
    void* planes[1] = {const_cast<uint8_t*>(data)};
    // Only a full memory refuses a write; the music must not end early
    // without a word.
    if (av_audio_fifo_write(fifo, planes, samples) < samples) throw std::bad_alloc();
    samplesDecoded_ += samples;
}

int64_t ProbeAudioSamples(const std::string& path, int sampleRate) {
    base::InputFormatPtr format;
    if (OpenAudioInput(path, &format) < 0) return 0;
    const int index = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (index < 0) return 0;
    const AVStream* stream = format->streams[index];
    // Container lengths include the encoder's start-up delay, which the
    // decoder skips: leave it out when the file says how long it is.
    int64_t samples = 0;
    if (stream->duration > 0 && stream->duration != AV_NOPTS_VALUE) {
        int64_t length = stream->duration;
        if (stream->start_time > 0 && stream->start_time != AV_NOPTS_VALUE &&
            stream->start_time < length)
            length -= stream->start_time;
        samples = av_rescale_q(length, stream->time_base, AVRational{1, sampleRate});
    } else if (format->duration > 0 && format->duration != AV_NOPTS_VALUE) {
        samples = av_rescale(format->duration, sampleRate, AV_TIME_BASE);
    }
    const DeclaredLengthRule* rule = DeclaredLengthRuleOf(format.get());
    if (rule && rule->itunesTag)
        if (const std::optional<int64_t> valid = ItunesValidSamples(format.get(), stream))
            samples = av_rescale(*valid, sampleRate, stream->codecpar->sample_rate);
    if (samples > 0) return samples;
    return 0;
}

base::Status ProbeMusicFile(const std::string& path) {
    // Any rate does: only whether samples come out matters.
    constexpr int kRate = 44100, kChannels = 2;
    base::Result<std::unique_ptr<AudioDecoder>> opened = AudioDecoder::Open(path, kRate, kChannels);
    if (!opened) return opened.fault();
    const std::unique_ptr<AudioDecoder> decoder = std::move(opened).value();
    const base::AudioFifoPtr fifo(av_audio_fifo_alloc(AV_SAMPLE_FMT_S16, kChannels, kRate));
    if (!fifo) throw std::bad_alloc();
    while (decoder->samplesDecoded() == 0 && decoder->decodeInto(fifo.get())) {
    }
    if (decoder->samplesDecoded() == 0)
        return base::MakeFault("it holds no playable audio", base::FaultKind::BadData);
    return {};
}

}  // namespace sound
