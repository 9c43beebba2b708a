// The encoder behind the MclDef.h interface: its settings, and the
// conversion loop that runs on the caller's thread, asks the callbacks for
// frames and music, keeps the sound track sample-exact with the video, and
// hands the work to the encoder thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "video/EncoderPresets.h"
#include "video/MclDef.h"
#include "video/MpegOutput.h"
#include "video/TextOverlay.h"

namespace sound {
class MusicMixer;
}

namespace video {

class EncodeWorker;
struct VideoJob;

class MpegEncoder {
public:
    struct Callbacks {
        MclVideoSourceProc videoSource;
        MclVideoFuncProc videoFunc;
        MclAudioSourceProc audioSource;
        MclAudioFuncProc audioFunc;
        MclProgressProc progress;
        MclErrorProc error;
    };
    // The handles the callbacks are given during one conversion.
    struct Handles {
        MclHandle encoder = 0;
        MclSourceHandle videoSource = 0;
        MclSourceHandle audioSource = 0;
        MclImageHandle image = 0;
    };

    static void EnableMpeg2();

    Callbacks& callbacks() { return callbacks_; }
    void setVideoPath(std::string path) { videoPath_ = std::move(path); }
    void setAudioPath(std::string path) { audioPath_ = std::move(path); }
    bool setPreset(int format, int standard);
    bool setVideoOptions(int aspect, int quality, int rate);
    void addChapter(Chapter chapter) { chapters_.push_back(std::move(chapter)); }
    void setSubtitles(std::vector<SubtitleCue> cues) { subtitles_ = std::move(cues); }
    void setKeepDuration(int milliseconds) { keepDurationMs_ = milliseconds; }
    void setMix(MclAudioMix mix) { mix_ = std::move(mix); }

    bool convert(const Handles& handles);
    void abort() { aborted_ = true; }
    bool converting() const { return converting_; }

    double elapsedSeconds() const;
    double remainingSeconds(int64_t totalFrames, int64_t sampleCount) const;

    // Answers from inside the callbacks; false outside the matching callback.
    bool answerFrame(const raster::Bitmap& frame, bool unchanged = false);
    bool answerFile(const std::string& path);
    bool answerFinished(bool videoSource);
    bool stampText(std::shared_ptr<const TextLayer> layer, int x, int y,
                   int opacity = TextLayer::kFullOpacity);

private:
    enum class Answer { None, Asked, Frame, File, Finished };

    std::string settingsProblem() const;
    int reportError(int code, const std::string& message, int answer);
    bool runFrames(EncodeWorker& worker, const Handles& handles);
    std::optional<std::string> requestMusic(const Handles& handles, int index);
    void sendAudio(EncodeWorker& worker, sound::MusicMixer& feed, const Handles& handles,
                   int64_t upTo, bool lastPiece);

    Callbacks callbacks_;
    std::string videoPath_;
    std::string audioPath_;
    std::optional<EncoderPreset> preset_;
    int format_ = -1;
    int standard_ = 0;
    int aspect_ = kMclAspectFormat;
    int quality_ = kMclQualityStandard;
    int rate_ = kMclRateOfStandard;
    std::vector<Chapter> chapters_;
    std::vector<SubtitleCue> subtitles_;
    int keepDurationMs_ = -1;
    MclAudioMix mix_;

    std::atomic<bool> aborted_{false};
    std::atomic<bool> converting_{false};
    std::atomic<int64_t> framesDone_{0};
    std::atomic<int64_t> startNs_{0};
    std::atomic<int64_t> endNs_{0};

    // State of the callback being answered.
    Answer videoAnswer_ = Answer::None;
    Answer audioAnswer_ = Answer::None;
    std::string audioPathAnswer_;
    bool imageOpen_ = false;
    VideoJob* currentFrame_ = nullptr;
    // The shape of the last frame copied, which an unchanged one must have.
    int lastWidth_ = 0;
    int lastHeight_ = 0;
    size_t lastStride_ = 0;
    EncodeWorker* worker_ = nullptr;
    int64_t audioSent_ = 0;
    bool stoppedByError_ = false;
};

}  // namespace video
