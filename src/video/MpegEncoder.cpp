#include "video/MpegEncoder.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>
#include <utility>

#include "raster/Bitmap.h"
#include "sound/FileTrack.h"
#include "sound/MusicMixer.h"
#include "video/EncodeWorker.h"

extern "C" {
#include <libavutil/mathematics.h>
}

namespace video {
namespace {

std::atomic<bool> gMpeg2Enabled{false};

int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

void MpegEncoder::EnableMpeg2() {
    gMpeg2Enabled = true;
}

bool MpegEncoder::setPreset(int format, int standard) {
    std::optional<EncoderPreset> preset = ResolvePreset(format, standard, aspect_, quality_, rate_);
    if (!preset) return false;
    preset_ = preset;
    format_ = format;
    standard_ = standard;
    return true;
}

bool MpegEncoder::setVideoOptions(int aspect, int quality, int rate) {
    // Checked against an MP4 format, which takes all three, until one is
    // chosen: 1080p, which is made in every shape.
    const int format = format_ < 0 ? kMclFormatMp4_1080p : format_;
    std::optional<EncoderPreset> preset = ResolvePreset(format, standard_, aspect, quality, rate);
    if (!preset) return false;
    aspect_ = aspect;
    quality_ = quality;
    rate_ = rate;
    if (format_ >= 0) preset_ = preset;
    return true;
}

double MpegEncoder::elapsedSeconds() const {
    const int64_t start = startNs_;
    if (start == 0) return 0.0;
    const int64_t end = endNs_ != 0 ? endNs_.load() : NowNs();
    return static_cast<double>(end - start) / 1e9;
}

double MpegEncoder::remainingSeconds(int64_t totalFrames, int64_t sampleCount) const {
    const int64_t done = framesDone_;
    int64_t total = totalFrames;
    if (total <= 0 && sampleCount > 0 && preset_)
        total = av_rescale(sampleCount, preset_->frameRate.num,
                           int64_t{preset_->frameRate.den} * kMclListSampleRate);
    if (done <= 0 || total <= done) return 0.0;
    return elapsedSeconds() * static_cast<double>(total - done) / static_cast<double>(done);
}

std::string MpegEncoder::settingsProblem() const {
    if (!preset_) return "No output format was chosen.";
    if (preset_->needsMpeg2() && !gMpeg2Enabled)
        return std::string("MPEG-2 encoding is not enabled, which the ") + preset_->name +
               " format needs.";
    if (videoPath_.empty()) return "No video file name was given.";
    if (!audioPath_.empty() && audioPath_ != videoPath_)
        return "The sound track can only be written into the video file.";
    if (!callbacks_.videoSource) return "No video source was assigned.";
    return {};
}

int MpegEncoder::reportError(int code, const std::string& message, int answer) {
    if (callbacks_.error) callbacks_.error(code, message, &answer);
    return answer;
}

bool MpegEncoder::convert(const Handles& handles) {
    if (converting_.exchange(true)) return false;
    aborted_ = false;
    stoppedByError_ = false;
    framesDone_ = 0;
    audioSent_ = 0;
    lastWidth_ = lastHeight_ = 0;
    lastStride_ = 0;
    endNs_ = 0;
    startNs_ = NowNs();
    // Whatever way the conversion ends, the encoder is idle again afterwards.
    struct Idle {
        MpegEncoder* self;
        ~Idle() {
            self->videoAnswer_ = Answer::None;
            self->audioAnswer_ = Answer::None;
            self->imageOpen_ = false;
            self->currentFrame_ = nullptr;
            self->worker_ = nullptr;
            self->endNs_ = NowNs();
            self->converting_ = false;
        }
    } idle{this};

    auto finishedProgress = [&] {
        if (callbacks_.progress)
            callbacks_.progress(handles.encoder, kMclProgressFinished,
                                static_cast<int>(std::min<int64_t>(framesDone_, INT_MAX)), 0);
    };

    if (std::string problem = settingsProblem(); !problem.empty()) {
        reportError(kMclErrorSettings, problem, kMclAnswerStop);
        finishedProgress();
        return false;
    }
    std::string error;
    // Disc formats have no subtitle track to hold them.
    auto output = MpegOutput::Open(
        videoPath_, *preset_, !audioPath_.empty(),
        preset_->holdsSubtitles() ? subtitles_ : std::vector<SubtitleCue>{}, &error);
    if (!output) {
        reportError(kMclErrorOutput, error, kMclAnswerStop);
        finishedProgress();
        return false;
    }
    output->setChapters(chapters_);

    EncodeWorker worker(std::move(output));
    worker_ = &worker;
    bool ok = false;
    try {
        ok = runFrames(worker, handles);
    } catch (...) {
        worker.discard();
        throw;
    }
    if (worker.failed()) {
        worker.discard();
        ok = false;
    } else if (!worker.finish()) {
        ok = false;
    }
    if (worker.failed()) reportError(kMclErrorOutput, worker.error(), kMclAnswerStop);
    endNs_ = NowNs();
    finishedProgress();
    return ok && !stoppedByError_;
}

std::optional<std::string> MpegEncoder::requestMusic(const Handles& handles, int index) {
    if (!callbacks_.audioSource) return std::nullopt;
    audioAnswer_ = Answer::Asked;
    audioPathAnswer_.clear();
    callbacks_.audioSource(handles.audioSource, index);
    const Answer answer = audioAnswer_;
    audioAnswer_ = Answer::None;
    // A source that gives no answer has no more music.
    if (answer == Answer::File) return audioPathAnswer_;
    return std::nullopt;
}

void MpegEncoder::sendAudio(EncodeWorker& worker, sound::MusicMixer& feed, const Handles& handles,
                            int64_t upTo, bool lastPiece) {
    const int frameSize = worker.output().audioFrameSize();
    const int channels = worker.output().preset().channels;
    // Whole audio frames only; the last one is completed with silence so
    // that the track covers the video's last frame.
    while (lastPiece ? audioSent_ < upTo : audioSent_ + frameSize <= upTo) {
        AudioJob job;
        job.position = audioSent_;
        job.samples.assign(static_cast<size_t>(frameSize) * channels, 0);
        const int wanted = static_cast<int>(std::min<int64_t>(frameSize, upTo - audioSent_));
        feed.Take(job.samples.data(), wanted);
        if (callbacks_.audioFunc)
            callbacks_.audioFunc(handles.audioSource, job.samples.data(), frameSize);
        worker.pushAudio(std::move(job));
        audioSent_ += frameSize;
    }
}

bool MpegEncoder::runFrames(EncodeWorker& worker, const Handles& handles) {
    const EncoderPreset& preset = *preset_;
    const int64_t maxFrames = keepDurationMs_ < 0
                                  ? INT64_MAX
                                  : av_rescale(keepDurationMs_, preset.frameRate.num,
                                               int64_t{preset.frameRate.den} * 1000);

    std::optional<sound::MusicMixer> feed;
    if (worker.output().hasAudio()) {
        sound::MusicMixer::Hooks hooks;
        hooks.requestFile = [&](int index) { return requestMusic(handles, index); };
        hooks.openFile = [&](const std::string& path) {
            return sound::OpenFileTrack(path, preset.sampleRate, preset.channels);
        };
        hooks.gainOf = mix_.gainOf;
        hooks.reportError = [&](const std::string& message) {
            if (reportError(kMclErrorMusicFile, message, kMclAnswerContinue) == kMclAnswerContinue)
                return true;
            stoppedByError_ = true;
            return false;
        };
        hooks.stopping = [&] { return aborted_.load(); };
        const int64_t cutEnd =
            mix_.cutEndMs < 0 ? -1 : sound::MsToSamples(mix_.cutEndMs, preset.sampleRate);
        feed.emplace(preset.sampleRate, preset.channels, mix_.options, cutEnd, std::move(hooks));
    }

    int64_t frame = 0;
    for (;; ++frame) {
        // The sound of every frame encoded so far. Music runs out here, in
        // stream time, so a source that stops the conversion when the music
        // ends stops the video within a frame of it.
        if (feed) {
            if (!feed->FillTo(preset.samplesBeforeFrame(frame))) break;
            sendAudio(worker, *feed, handles, preset.samplesBeforeFrame(frame), false);
        }
        if (aborted_ || worker.failed() || frame >= maxFrames) break;

        if (callbacks_.progress)
            callbacks_.progress(handles.encoder, kMclProgressEncoding,
                                static_cast<int>(std::min<int64_t>(frame, INT_MAX)), 0);
        if (aborted_) break;

        VideoJob job;
        job.index = frame;
        currentFrame_ = &job;
        videoAnswer_ = Answer::Asked;
        callbacks_.videoSource(handles.videoSource, 0);
        const Answer answer = videoAnswer_;
        videoAnswer_ = Answer::None;
        // A source that neither gives a frame nor says it has finished would
        // otherwise be asked forever.
        if (answer != Answer::Frame) break;

        if (callbacks_.videoFunc) {
            imageOpen_ = true;
            callbacks_.videoFunc(handles.videoSource, handles.image, 0);
            imageOpen_ = false;
        }
        currentFrame_ = nullptr;
        worker.pushVideo(std::move(job));
        framesDone_ = frame + 1;
        if (aborted_) break;
    }
    currentFrame_ = nullptr;

    // The sound track ends with the last frame: cut, or padded with silence.
    if (feed && !worker.failed())
        sendAudio(worker, *feed, handles, preset.samplesBeforeFrame(framesDone_), true);
    return !worker.failed();
}

bool MpegEncoder::answerFrame(const raster::Bitmap& frame, bool unchanged) {
    if (videoAnswer_ == Answer::None || !currentFrame_ || frame.isEmpty()) return false;
    VideoJob& job = *currentFrame_;
    job.width = frame.width();
    job.height = frame.height();
    job.stride = frame.stride();
    videoAnswer_ = Answer::Frame;
    if (unchanged && job.width == lastWidth_ && job.height == lastHeight_ &&
        job.stride == lastStride_) {
        job.repeat = true;
        return true;
    }
    lastWidth_ = job.width;
    lastHeight_ = job.height;
    lastStride_ = job.stride;
    if (job.pixels.empty() && worker_) job.pixels = worker_->takeSpareBuffer();
    job.pixels.resize(job.stride * static_cast<size_t>(job.height));
    std::memcpy(job.pixels.data(), frame.bits(), job.pixels.size());
    return true;
}

bool MpegEncoder::answerFile(const std::string& path) {
    if (audioAnswer_ == Answer::None) return false;
    audioPathAnswer_ = path;
    audioAnswer_ = Answer::File;
    return true;
}

bool MpegEncoder::answerFinished(bool videoSource) {
    Answer& answer = videoSource ? videoAnswer_ : audioAnswer_;
    if (answer == Answer::None) return false;
    answer = Answer::Finished;
    return true;
}

bool MpegEncoder::stampText(std::shared_ptr<const TextLayer> layer, int x, int y, int opacity) {
    if (!imageOpen_ || !currentFrame_) return false;
    if (layer && opacity > 0)
        currentFrame_->stamps.push_back(TextStamp{std::move(layer), x, y, opacity});
    return true;
}

}  // namespace video
