#include "video/EncoderTestUtil.h"

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

#include "raster/Bitmap.h"
#include "video/EncoderPresets.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/intreadwrite.h>
}

namespace video::test {

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vanto-video-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    // Kept for a look when asked to.
    if (std::getenv("VANTO_KEEP_SCRATCH")) return;
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

int RunCommand(const std::string& command, std::string* output) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return -1;
    std::string text;
    std::array<char, 4096> buffer{};
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) text.append(buffer.data(), n);
    const int status = pclose(pipe);
    if (output) *output = std::move(text);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void MakeSineMp3(const std::string& path, double seconds, int frequency, int sampleRate) {
    // Not std::to_string: the test programs run under the user's locale (Qt
    // sets it), where a decimal comma would split the filter's options.
    std::array<char, 32> duration{};
    const auto written = std::to_chars(duration.data(), duration.data() + duration.size() - 1,
                                       seconds, std::chars_format::fixed, 6);
    const std::string command =
        "ffmpeg -nostdin -v error -y -f lavfi -i sine=frequency=" + std::to_string(frequency) +
        ":sample_rate=" + std::to_string(sampleRate) +
        ":duration=" + std::string(duration.data(), written.ptr) + " -c:a libmp3lame -b:a 128k '" +
        path + "'";
    std::string output;
    if (RunCommand(command, &output) != 0) throw std::runtime_error("ffmpeg failed: " + output);
}

std::pair<int, int> RenderedFrameSize(int format) {
    switch (format) {
        case kMclFormatSvcd:
            return {480, 576};
        case kMclFormatDvd:
            return {720, 576};
        default:
            return {320, 288};
    }
}

namespace {

// A dark frame with a light block that moves, so the encoder has work and
// the bottom rows stay dark for the caption.
void PaintFrame(raster::Bitmap& frame, int index) {
    const int w = frame.width(), h = frame.height();
    const int boxLeft = (index * 7) % std::max(1, w - w / 4);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = frame.row(y);
        for (int x = 0; x < w; ++x) {
            const bool box = y > h / 8 && y < h / 2 && x >= boxLeft && x < boxLeft + w / 4;
            row[3 * x + 0] = box ? 200 : 60;                                           // blue
            row[3 * x + 1] = box ? 180 : static_cast<uint8_t>(20 + (x + index) % 16);  // green
            row[3 * x + 2] = box ? 120 : 25;                                           // red
        }
    }
}

}  // namespace

ConversionLog RunConversion(const ConversionSpec& spec) {
    ConversionLog log;
    const std::thread::id caller = std::this_thread::get_id();
    const auto [width, height] = RenderedFrameSize(spec.format);
    const EncoderPreset* preset = FindPreset(spec.format, spec.standard);
    raster::Bitmap frame(width, height);

    const MclHandle handle = MclCreate();
    const MclListHandle list = MclListCreate();
    for (const std::string& file : spec.music) MclListAdd(list, file, kMclListMusicFile, 0, 0);
    int progressSinceRequest = 0;
    auto onCaller = [&] {
        if (std::this_thread::get_id() != caller) log.allOnCallingThread = false;
    };

    MclAssignVideoSource(handle, [&](MclSourceHandle source, intptr_t) {
        onCaller();
        if (progressSinceRequest != 1) log.oneProgressPerRequest = false;
        progressSinceRequest = 0;
        ++log.videoRequests;
        if (spec.frames >= 0 && log.framesGiven >= spec.frames) {
            MclSourceFinished(source);
            return;
        }
        PaintFrame(frame, log.framesGiven);
        if (MclSourceSetDIB(source, frame)) ++log.framesGiven;
    });
    MclAssignVideoFunc(handle, [&](MclSourceHandle, MclImageHandle image, intptr_t) {
        onCaller();
        if (spec.caption.empty() || !preset) return;
        const int size = spec.format == kMclFormatVcd    ? 17
                         : spec.format == kMclFormatSvcd ? 24
                                                         : 36;
        const MclTextHandle text = MclTextCreate();
        MclTextSetFont(text, "Fixedsys", size, 1, 1);
        MclTextSetColor(text, MclRGB(225, 225, 225), MclRGB(96, 96, 96), 0x808080, -1);
        MclTextShadow(text, 2, 1, 1);
        MclImgText(image, text, 8, preset->height - size - 12, spec.caption);
        MclTextFree(text);
    });
    MclAssignAudioSource(handle, [&](MclSourceHandle source, int index) {
        onCaller();
        log.audioIndices.push_back(index);
        std::string name;
        if (MclListGetName(list, index, &name))
            MclSourceSetFile(source, name);
        else
            MclSourceFinished(source);
        if (spec.abortWhenMusicEnds && static_cast<size_t>(index) >= spec.music.size())
            MclAbort(handle);
    });
    MclAssignAudioFunc(handle, [&](MclSourceHandle, int16_t*, int count) {
        onCaller();
        log.audioSamplesSeen += count;
    });
    MclAssignProgress(handle, [&](MclHandle, int kind, int value, intptr_t) {
        onCaller();
        ++progressSinceRequest;
        log.progress.emplace_back(kind, value);
        if (kind == kMclProgressEncoding && value == spec.abortAtFrame) MclAbort(handle);
    });
    MclAssignError(handle, [&](int code, const std::string& message, int* answer) {
        onCaller();
        log.errors.emplace_back(code, message);
        *answer = spec.errorAnswer;
    });

    MclVideoSetFileName(handle, spec.output);
    MclAudioSetFileName(handle, spec.withAudio ? spec.output : std::string());
    if (spec.format != kMclFormatVcd) MclEnableMPEG2();
    MclSetFormatPreset(handle, spec.format, spec.standard);
    MclVideoSetKeepDuration(handle, spec.keepDurationMs);
    MclAudioSetMix(handle, spec.mix);
    log.result = MclConvert(handle);
    log.elapsed = MclGetElapsedTime(handle);
    MclListFree(list);
    MclFree(handle);
    return log;
}

std::optional<FileInfo> ProbeFile(const std::string& path) {
    AVFormatContext* context = nullptr;
    if (avformat_open_input(&context, path.c_str(), nullptr, nullptr) < 0) return std::nullopt;
    FileInfo info;
    if (avformat_find_stream_info(context, nullptr) < 0) {
        avformat_close_input(&context);
        return std::nullopt;
    }
    info.format = context->iformat->name;
    std::vector<StreamInfo*> streams(context->nb_streams, nullptr);
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* st = context->streams[i];
        const AVCodecParameters* par = st->codecpar;
        StreamInfo s;
        s.codec = avcodec_get_name(par->codec_id);
        s.start = 1e30;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO && !info.video) {
            s.width = par->width;
            s.height = par->height;
            s.frameRate = av_q2d(st->avg_frame_rate.num ? st->avg_frame_rate : st->r_frame_rate);
            AVRational sar =
                av_guess_sample_aspect_ratio(context, const_cast<AVStream*>(st), nullptr);
            if (sar.num == 0) sar = AVRational{1, 1};
            s.displayAspect = av_q2d(sar) * par->width / std::max(1, par->height);
            info.video = s;
            streams[i] = &*info.video;
        } else if (par->codec_type == AVMEDIA_TYPE_AUDIO && !info.audio) {
            s.sampleRate = par->sample_rate;
            s.channels = par->ch_layout.nb_channels;
            info.audio = s;
            streams[i] = &*info.audio;
        }
    }
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(context, packet) >= 0) {
        StreamInfo* s = streams[packet->stream_index];
        if (s && packet->pts != AV_NOPTS_VALUE) {
            const double tb = av_q2d(context->streams[packet->stream_index]->time_base);
            // Samples the decoder drops from the start of the packet (the
            // encoder's priming, which an MP4 edit list cuts) are not heard.
            double skipped = 0;
            size_t size = 0;
            if (const uint8_t* skip =
                    av_packet_get_side_data(packet, AV_PKT_DATA_SKIP_SAMPLES, &size);
                skip && size >= 4 && s->sampleRate > 0)
                skipped = static_cast<double>(AV_RL32(skip)) / s->sampleRate;
            s->start = std::min(s->start, packet->pts * tb + skipped);
            s->lastTimedEnd = std::max(s->lastTimedEnd, (packet->pts + packet->duration) * tb);
        }
        if (s) ++s->packets;
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&context);
    if (info.video)
        info.video->end =
            info.video->start + info.video->packets / std::max(1.0, info.video->frameRate);
    if (info.audio) info.audio->end = info.audio->lastTimedEnd;
    return info;
}

std::vector<int16_t> DecodeAudio(const std::string& path, int rate) {
    const std::string command = "ffmpeg -nostdin -v error -i '" + path + "' -map 0:a:0 -ac 1 -ar " +
                                std::to_string(rate) + " -f s16le - 2>/dev/null";
    std::vector<int16_t> samples;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return samples;
    std::array<int16_t, 4096> buffer{};
    size_t n;
    while ((n = fread(buffer.data(), sizeof(int16_t), buffer.size(), pipe)) > 0)
        samples.insert(samples.end(), buffer.begin(), buffer.begin() + static_cast<ptrdiff_t>(n));
    pclose(pipe);
    return samples;
}

double LastSoundTime(const std::vector<int16_t>& samples, int rate, int threshold) {
    for (size_t i = samples.size(); i > 0; --i) {
        if (std::abs(samples[i - 1]) > threshold) return static_cast<double>(i) / rate;
    }
    return 0;
}

double MusicEndTime(const std::string& path, const FileInfo& info) {
    if (!info.audio || !info.video) return 0;
    return LastSoundTime(DecodeAudio(path, 8000), 8000) + info.audio->start - info.video->start;
}

namespace {

std::vector<uint8_t> DecodeFrame(const std::string& path, int width, int height, int index,
                                 const char* pixelFormat, int bytesPerPixel) {
    const std::string pick =
        index == kLastFrame ? std::string()
                            : " -vf 'select=eq(n\\," + std::to_string(index) + ")' -frames:v 1";
    const std::string command = "ffmpeg -nostdin -v error -i '" + path + "' -map 0:v:0" + pick +
                                " -f rawvideo -pix_fmt " + pixelFormat + " - 2>/dev/null";
    const size_t frameBytes = static_cast<size_t>(width) * height * bytesPerPixel;
    std::vector<uint8_t> all, chunk(frameBytes);
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {};
    for (size_t n; (n = fread(chunk.data(), 1, chunk.size(), pipe)) > 0;)
        all.insert(all.end(), chunk.begin(), chunk.begin() + static_cast<ptrdiff_t>(n));
    pclose(pipe);
    if (all.size() < frameBytes || all.size() % frameBytes != 0) return {};
    return std::vector<uint8_t>(all.end() - static_cast<ptrdiff_t>(frameBytes), all.end());
}

}  // namespace

std::vector<uint8_t> DecodeFrameLuma(const std::string& path, int width, int height, int index) {
    return DecodeFrame(path, width, height, index, "gray", 1);
}

std::vector<uint8_t> DecodeFrameRgb(const std::string& path, int width, int height, int index) {
    return DecodeFrame(path, width, height, index, "rgb24", 3);
}

InkBox BrightBox(const std::vector<uint8_t>& luma, int width, int threshold, int firstRow,
                 int lastRow) {
    InkBox box{width, -1, lastRow + 1, -1};
    for (int y = firstRow; y <= lastRow; ++y)
        for (int x = 0; x < width; ++x)
            if (luma[static_cast<size_t>(y) * width + x] > threshold) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void ExpectEndsTogether(const FileInfo& info) {
    ASSERT_TRUE(info.video && info.audio);
    const double frame = 1.0 / info.video->frameRate + 1e-6;
    EXPECT_NEAR(info.audio->start, info.video->start, frame);
    EXPECT_NEAR(info.audio->end, info.video->end, frame)
        << "audio ends at " << info.audio->end << " s, video at " << info.video->end << " s";
}

void ExpectAuthoringAccepts(const std::string& path, int format, int standard,
                            const ScratchDir& dir) {
    std::string output;
    if (format == kMclFormatDvd) {
        const std::string env =
            standard == kMclStandardNtsc ? "VIDEO_FORMAT=NTSC " : "VIDEO_FORMAT=PAL ";
        const std::string disc = dir.file("dvd");
        std::filesystem::remove_all(disc);
        ASSERT_EQ(RunCommand(env + "dvdauthor -o '" + disc + "' -t '" + path + "'", &output), 0)
            << output;
        EXPECT_EQ(output.find("ERR:"), std::string::npos) << output;
        EXPECT_EQ(output.find("unknown mpeg2 aspect"), std::string::npos) << output;
        ASSERT_EQ(RunCommand(env + "dvdauthor -o '" + disc + "' -T", &output), 0) << output;
        EXPECT_TRUE(std::filesystem::exists(disc + "/VIDEO_TS/VIDEO_TS.IFO"));
    } else {
        const char* type = format == kMclFormatVcd ? "vcd2" : "svcd";
        ASSERT_EQ(RunCommand("cd '" + dir.path().string() + "' && vcdimager -t " + type +
                                 " -c disc.cue -b disc.bin '" + path + "'",
                             &output),
                  0)
            << output;
        EXPECT_NE(output.find("finished ok"), std::string::npos) << output;
        EXPECT_EQ(output.find("ERROR"), std::string::npos) << output;
        EXPECT_EQ(output.find("WARN"), std::string::npos) << output;
    }
}

}  // namespace video::test
