// The output file of a conversion: the video and audio encoders of a preset
// and the MPEG multiplexer, writing into a temporary file beside the target
// that replaces the target only once it is complete. Every write is checked;
// an output that fails leaves no file behind and the target as it was.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/FfmpegUtil.h"
#include "video/EncoderPresets.h"
#include "video/SubtitleCues.h"

namespace video {

// A chapter of the video: from frame 'frame' to the next chapter's.
struct Chapter {
    int64_t frame = 0;
    std::string title;
};

class MpegOutput {
public:
    // Sets up encoders and multiplexer and opens the temporary file. Returns
    // nullptr with a message in *error when that fails.
    // 'subtitles', when there are any, go into a subtitle track (mov_text).
    static std::unique_ptr<MpegOutput> Open(const std::string& path, const EncoderPreset& preset,
                                            bool withAudio, std::vector<SubtitleCue> subtitles,
                                            std::string* error);
    ~MpegOutput();
    MpegOutput(const MpegOutput&) = delete;
    MpegOutput& operator=(const MpegOutput&) = delete;

    const EncoderPreset& preset() const { return preset_; }
    // Chapters written when the file is finished, those that start before
    // its last frame; the last one ends with the video.
    void setChapters(std::vector<Chapter> chapters) { chapters_ = std::move(chapters); }
    bool hasAudio() const { return audioCodec_ != nullptr; }
    // Samples per channel in one encoded audio frame.
    int audioFrameSize() const;

    // A YUV 4:2:0 frame of the encoded size to convert a picture into.
    base::FramePtr newVideoFrame() const;
    // Encodes video frame number 'index' and writes what the encoder returns.
    bool writeVideo(AVFrame* frame, int64_t index);
    // Encodes one audio frame of audioFrameSize() interleaved 16-bit samples
    // starting at sample 'position' of the track.
    bool writeAudio(const int16_t* samples, int64_t position);

    // Drains the encoders, writes the trailer, closes the file and puts it in
    // place of the target.
    bool finish();
    // Closes and removes the temporary file.
    void discard();

    const std::string& error() const { return error_; }

private:
    explicit MpegOutput(const EncoderPreset& preset) : preset_(preset) {}
    bool addChapters();
    bool writeSubtitles();
    bool openVideo();
    bool openAudio();
    bool openSubtitles();
    bool openFile();
    bool drain(AVCodecContext* codec, AVStream* stream);
    bool fail(const std::string& what, int code);
    bool checkFileError(const char* what);

    const EncoderPreset preset_;
    std::vector<Chapter> chapters_;
    std::vector<SubtitleCue> subtitles_;
    int64_t videoFrames_ = 0;  // frames handed to the encoder
    std::string path_;
    std::string partPath_;
    AVFormatContext* format_ = nullptr;
    base::CodecContextPtr videoCodec_;
    base::CodecContextPtr audioCodec_;
    AVStream* videoStream_ = nullptr;
    AVStream* audioStream_ = nullptr;
    AVStream* subtitleStream_ = nullptr;
    base::SwrPtr audioConvert_;
    base::FramePtr audioFrame_;
    base::PacketPtr packet_;
    bool createdPart_ = false;
    bool headerWritten_ = false;
    bool finished_ = false;
    std::string error_;
};

}  // namespace video
