// The encoder threads of a conversion. The thread that runs the conversion
// hands over copies of the rendered frames (with the captions to stamp on
// them), or word that a frame repeats the previous one, and pieces of the
// sound track. One thread scales and converts the
// frames and stamps the captions; another encodes (with FFmpeg's slice
// threads) and writes; both run while the next frame is being rendered.
// Work stays in order from one stage to the next. Failures are kept for the
// conversion thread to report: no callback ever runs here.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "raster/PixelBuffer.h"
#include "video/BoundedQueue.h"
#include "video/MpegOutput.h"
#include "video/TextOverlay.h"

namespace video {

struct VideoJob {
    int64_t index = 0;
    int width = 0;
    int height = 0;
    size_t stride = 0;
    raster::PixelBuffer pixels;  // 24-bit blue-green-red rows, top row first
    std::vector<TextStamp> stamps;
    // The pixels are the previous frame's (and 'pixels' is empty): its
    // conversion is reused, or redone from its copy for other captions.
    bool repeat = false;
};

struct AudioJob {
    int64_t position = 0;          // first sample's number in the track
    std::vector<int16_t> samples;  // one audio frame, interleaved
};

class EncodeWorker {
public:
    explicit EncodeWorker(std::unique_ptr<MpegOutput> output);
    // Stops the thread; an output not finished by then is discarded.
    ~EncodeWorker();
    EncodeWorker(const EncodeWorker&) = delete;
    EncodeWorker& operator=(const EncodeWorker&) = delete;

    const MpegOutput& output() const { return *output_; }

    // Queue work; these wait while the queue holds more bytes than its
    // capacity (a few frames at HD, one at 4K).
    void pushVideo(VideoJob job);
    void pushAudio(AudioJob job);

    // A pixel buffer of a frame already encoded, to reuse for the next copy.
    raster::PixelBuffer takeSpareBuffer();

    // Encodes what is queued, completes the file and stops the thread.
    // Returns false (see error()) when anything could not be written.
    bool finish();
    // Drops what is queued, removes the file and stops the thread.
    void discard();

    // True once a write or encode failed; the rest of the work is then
    // skipped.
    bool failed() const { return failed_.load(); }
    std::string error() const;

private:
    struct EndJob {
        bool keep = false;
    };
    struct ConvertedFrame {
        int64_t index = 0;
        base::FramePtr frame;
    };
    using Job = std::variant<VideoJob, AudioJob, EndJob>;
    using EncodeJob = std::variant<ConvertedFrame, AudioJob, EndJob>;

    void runConversion();
    void runEncoding();
    base::FramePtr convert(const VideoJob& source, const std::vector<TextStamp>& stamps);
    base::FramePtr convertVideo(VideoJob& job);
    void keepSpare(raster::PixelBuffer buffer);
    void setFailed(const std::string& message);
    bool stop(bool keep);

    std::unique_ptr<MpegOutput> output_;
    BoundedQueue<Job> toConvert_;
    BoundedQueue<EncodeJob> toEncode_;
    std::thread converter_;
    std::thread encoder_;
    std::atomic<bool> failed_{false};
    bool stopped_ = false;
    bool finishedOk_ = false;
    mutable std::mutex mutex_;
    std::string error_;
    std::vector<raster::PixelBuffer> spare_;
    size_t spareBytes_ = 0;
    // The converter's last frame that was not a repeat (its pixels), and
    // its last result with the captions stamped on it, for repeats.
    VideoJob lastSource_;
    base::FramePtr lastFrame_;
    std::vector<TextStamp> lastStamps_;
    base::SwsPtr scaler_;
    int scalerWidth_ = 0;
    int scalerHeight_ = 0;
};

}  // namespace video
