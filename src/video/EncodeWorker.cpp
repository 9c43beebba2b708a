#include "video/EncodeWorker.h"

#include <algorithm>
#include <exception>
#include <string>
#include <utility>

namespace video {
namespace {

// Bytes in flight between the stages: enough frames to ride out a slow one
// on either side (about nine DVD frames, two at 1080p), few enough to keep
// memory flat; at 4K one frame waits at a time.
constexpr size_t kConvertQueueBytes = size_t{12} << 20;
constexpr size_t kEncodeQueueBytes = size_t{8} << 20;
// Copies of encoded frames kept for reuse, at most this much (always one).
constexpr size_t kSpareBytes = size_t{12} << 20;

size_t PlaneBytes(const AVFrame& frame) {
    size_t bytes = 0;
    const int chromaHeight = (frame.height + 1) / 2;
    for (int plane = 0; plane < AV_NUM_DATA_POINTERS && frame.data[plane]; ++plane)
        bytes += static_cast<size_t>(frame.linesize[plane]) *
                 static_cast<size_t>(plane == 0 ? frame.height : chromaHeight);
    return bytes;
}

bool SameStamps(const std::vector<TextStamp>& a, const std::vector<TextStamp>& b) {
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(), [](const TextStamp& x, const TextStamp& y) {
            return x.layer == y.layer && x.x == y.x && x.y == y.y && x.opacity == y.opacity;
        });
}

}  // namespace

EncodeWorker::EncodeWorker(std::unique_ptr<MpegOutput> output)
    : output_(std::move(output)), toConvert_(kConvertQueueBytes), toEncode_(kEncodeQueueBytes) {
    encoder_ = std::thread([this] { runEncoding(); });
    converter_ = std::thread([this] { runConversion(); });
}

EncodeWorker::~EncodeWorker() {
    if (!stopped_) stop(false);
}

void EncodeWorker::pushVideo(VideoJob job) {
    // A repeat counts as the frame it stands for: the frames in flight stay
    // as few as before, which bounds what an abort still has to encode.
    const size_t bytes =
        job.repeat ? job.stride * static_cast<size_t>(job.height) : job.pixels.size();
    toConvert_.push(std::move(job), bytes);
}

void EncodeWorker::pushAudio(AudioJob job) {
    const size_t bytes = job.samples.size() * sizeof(int16_t);
    toConvert_.push(std::move(job), bytes);
}

raster::PixelBuffer EncodeWorker::takeSpareBuffer() {
    std::lock_guard lock(mutex_);
    if (spare_.empty()) return {};
    raster::PixelBuffer buffer = std::move(spare_.back());
    spare_.pop_back();
    spareBytes_ -= buffer.capacity();
    return buffer;
}

void EncodeWorker::keepSpare(raster::PixelBuffer buffer) {
    std::lock_guard lock(mutex_);
    const size_t bytes = buffer.capacity();
    if (bytes == 0 || (!spare_.empty() && spareBytes_ + bytes > kSpareBytes)) return;
    spareBytes_ += bytes;
    spare_.push_back(std::move(buffer));
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
    toConvert_.push(EndJob{keep}, 0);
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
                frame = convertVideo(*video);
            } catch (const std::exception& e) {
                // Out of memory, most likely; nothing may escape a thread.
                setFailed(std::string("Cannot convert the video frames: ") + e.what());
            }
            if (frame) {
                const size_t bytes = PlaneBytes(*frame);
                toEncode_.push(ConvertedFrame{video->index, std::move(frame)}, bytes);
            }
        } else if (auto* audio = std::get_if<AudioJob>(&job)) {
            const size_t bytes = audio->samples.size() * sizeof(int16_t);
            if (!failed_) toEncode_.push(std::move(*audio), bytes);
        } else {
            toEncode_.push(std::get<EndJob>(job), 0);
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

base::FramePtr EncodeWorker::convertVideo(VideoJob& job) {
    std::vector<TextStamp> stamps = std::move(job.stamps);
    if (!job.repeat) {
        keepSpare(std::exchange(lastSource_.pixels, {}));
        lastSource_ = std::move(job);
        lastFrame_.reset();
    } else if (lastFrame_ && SameStamps(stamps, lastStamps_)) {
        // A still shows the same pixels for many frames: they are converted
        // once, and once more only where the captions change.
        base::FramePtr frame(av_frame_clone(lastFrame_.get()));
        if (!frame) setFailed("Cannot convert the video frames: out of memory");
        return frame;
    }
    if (lastSource_.pixels.empty()) {
        setFailed("Cannot convert the video frames: a repeat came before any frame");
        return nullptr;
    }
    base::FramePtr frame = convert(lastSource_, stamps);
    if (!frame) return nullptr;
    // The encoders only read the frames they are given, so the repeats
    // share this one's planes.
    lastFrame_.reset(av_frame_clone(frame.get()));
    lastStamps_ = std::move(stamps);
    return frame;
}

base::FramePtr EncodeWorker::convert(const VideoJob& job, const std::vector<TextStamp>& stamps) {
    const EncoderPreset& preset = output_->preset();
    if (!scaler_ || job.width != scalerWidth_ || job.height != scalerHeight_) {
        // Bicubic, as the ffmpeg program scales by default.
        scaler_.reset(sws_getContext(job.width, job.height, AV_PIX_FMT_BGR24, preset.width,
                                     preset.height, AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr,
                                     nullptr, nullptr));
        scalerWidth_ = job.width;
        scalerHeight_ = job.height;
        // Frames tagged BT.709 get its coefficients; the disc formats keep
        // the scaler's own (BT.601), which their players assume.
        if (scaler_ && preset.constantQuality())
            sws_setColorspaceDetails(scaler_.get(), sws_getCoefficients(SWS_CS_DEFAULT), 1,
                                     sws_getCoefficients(SWS_CS_ITU709), 0, 0, 1 << 16, 1 << 16);
    }
    base::FramePtr frame = output_->newVideoFrame();
    if (!scaler_ || !frame) {
        setFailed("Cannot convert a " + std::to_string(job.width) + " x " +
                  std::to_string(job.height) + " frame to " + preset.name);
        return nullptr;
    }
    const uint8_t* source[1] = {job.pixels.data()};
    const int sourceStride[1] = {static_cast<int>(job.stride)};
    sws_scale(scaler_.get(), source, sourceStride, 0, job.height, frame->data, frame->linesize);
    for (const TextStamp& stamp : stamps)
        stamp.layer->blendInto(frame.get(), stamp.x, stamp.y, stamp.opacity);
    return frame;
}

}  // namespace video
