#include "video/EncodeWorker.h"

#include <exception>
#include <string>
#include <utility>

namespace video {
namespace {

// Frames (and audio pieces) in flight between the stages: enough to ride
// out a slow frame on either side, few enough to keep memory flat.
constexpr size_t kConvertQueueCapacity = 8;
constexpr size_t kEncodeQueueCapacity = 6;
constexpr size_t kMaxSpareBuffers = 4;

}  // namespace

EncodeWorker::EncodeWorker(std::unique_ptr<MpegOutput> output)
    : output_(std::move(output)),
      toConvert_(kConvertQueueCapacity),
      toEncode_(kEncodeQueueCapacity) {
    encoder_ = std::thread([this] { runEncoding(); });
    converter_ = std::thread([this] { runConversion(); });
}

EncodeWorker::~EncodeWorker() {
    if (!stopped_) stop(false);
}

void EncodeWorker::pushVideo(VideoJob job) {
    toConvert_.push(std::move(job));
}

void EncodeWorker::pushAudio(AudioJob job) {
    toConvert_.push(std::move(job));
}

std::vector<uint8_t> EncodeWorker::takeSpareBuffer() {
    std::lock_guard lock(mutex_);
    if (spare_.empty()) return {};
    std::vector<uint8_t> buffer = std::move(spare_.back());
    spare_.pop_back();
    return buffer;
}

std::string EncodeWorker::error() const {
    std::lock_guard lock(mutex_);
    return error_;
}

void EncodeWorker::setFailed(const std::string& message) {
    {
        std::lock_guard lock(mutex_);
        if (error_.empty()) error_ = message;
    }
    failed_ = true;
}

bool EncodeWorker::finish() {
    return stop(true);
}

void EncodeWorker::discard() {
    stop(false);
}

bool EncodeWorker::stop(bool keep) {
    if (stopped_) return finishedOk_;
    toConvert_.push(EndJob{keep});
    converter_.join();
    encoder_.join();
    stopped_ = true;
    return finishedOk_;
}

void EncodeWorker::runConversion() {
    for (;;) {
        Job job = toConvert_.pop();
        if (auto* video = std::get_if<VideoJob>(&job)) {
            // After a failure nothing more is converted, but the queue is
            // still emptied, so the producer never waits on a full queue.
            if (failed_) continue;
            base::FramePtr frame;
            try {
                frame = convert(*video);
                std::lock_guard lock(mutex_);
                if (spare_.size() < kMaxSpareBuffers) spare_.push_back(std::move(video->pixels));
            } catch (const std::exception& e) {
                // Out of memory, most likely; nothing may escape a thread.
                setFailed(std::string("Cannot convert the video frames: ") + e.what());
            }
            if (frame) toEncode_.push(ConvertedFrame{video->index, std::move(frame)});
        } else if (auto* audio = std::get_if<AudioJob>(&job)) {
            if (!failed_) toEncode_.push(std::move(*audio));
        } else {
            toEncode_.push(std::get<EndJob>(job));
            return;
        }
    }
}

void EncodeWorker::runEncoding() {
    for (;;) {
        EncodeJob job = toEncode_.pop();
        if (auto* end = std::get_if<EndJob>(&job)) {
            if (end->keep && !failed_) {
                if (output_->finish()) {
                    finishedOk_ = true;
                } else {
                    setFailed(output_->error());
                }
            } else {
                output_->discard();
            }
            return;
        }
        if (failed_) continue;
        if (auto* video = std::get_if<ConvertedFrame>(&job)) {
            if (!output_->writeVideo(video->frame.get(), video->index)) setFailed(output_->error());
        } else if (auto* audio = std::get_if<AudioJob>(&job)) {
            if (!output_->writeAudio(audio->samples.data(), audio->position))
                setFailed(output_->error());
        }
    }
}

base::FramePtr EncodeWorker::convert(VideoJob& job) {
    const EncoderPreset& preset = output_->preset();
    // Bicubic, as the ffmpeg program scales by default.
    scaler_.reset(sws_getCachedContext(scaler_.release(), job.width, job.height, AV_PIX_FMT_BGR24,
                                       preset.width, preset.height, AV_PIX_FMT_YUV420P, SWS_BICUBIC,
                                       nullptr, nullptr, nullptr));
    base::FramePtr frame = output_->newVideoFrame();
    if (!scaler_ || !frame) {
        setFailed("Cannot convert a " + std::to_string(job.width) + " x " +
                  std::to_string(job.height) + " frame to " + preset.name);
        return nullptr;
    }
    const uint8_t* source[1] = {job.pixels.data()};
    const int sourceStride[1] = {static_cast<int>(job.stride)};
    sws_scale(scaler_.get(), source, sourceStride, 0, job.height, frame->data, frame->linesize);
    for (const TextStamp& stamp : job.stamps) stamp.layer->blendInto(frame.get(), stamp.x, stamp.y);
    return frame;
}

}  // namespace video
