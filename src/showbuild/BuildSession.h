// One conversion of the show into an MPEG file: the build state that lives
// while the encoder runs, and the callbacks that answer it (frames, captions,
// music files, progress and errors).
//
// Everything here runs on the thread that called Run(), inside the
// encoder's conversion; only the picture loads run ahead on a helper thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "raster/Bitmap.h"
#include "showbuild/BuildPictures.h"
#include "showbuild/CaptionLayout.h"
#include "showbuild/FrameGeometry.h"
#include "showbuild/FrameTimeline.h"
#include "showbuild/MotionFrames.h"
#include "showbuild/PictureComposer.h"
#include "showbuild/SessionInput.h"
#include "showbuild/ShowTiming.h"
#include "showbuild/ShownPicture.h"
#include "video/MclDef.h"

namespace video {

struct BuildProgress {
    int kind = 0;           // the encoder's progress kind
    std::string label;      // "Progress: 25%", "Preparing...", "" when finished
    std::string remaining;  // "Remaining Time: 0:01:05" while encoding, else ""
    int64_t framesDone = 0;
    int64_t totalFrames = 0;
    double remainingSeconds = 0;
    double elapsedSeconds = 0;
    // Label and remaining time side by side, as shown.
    std::string text() const { return remaining.empty() ? label : label + "    " + remaining; }
    double fraction() const;
};

struct EncoderError {
    int code = 0;
    std::string message;
};

struct SessionHooks {
    std::function<void(const BuildProgress&)> progress;
    std::function<void(const raster::Bitmap&)> frameShown;
    // Every frame handed to the encoder, counted from 0, with the caption
    // lines the encoder stamps on it.
    std::function<void(int64_t index, const raster::Bitmap&, const std::vector<CaptionLine>&)>
        frameSent;
};

struct SessionOutcome {
    bool converted = false;       // MclConvert reported a complete file
    bool userAborted = false;     // Abort() was called
    bool endedWithMusic = false;  // fit to music: the music ran out
    int64_t framesEncoded = 0;
    double elapsedSeconds = 0;
    std::vector<EncoderError> errors;
    std::vector<SkippedPicture> skipped;  // pictures that failed while encoding
    // The captions as timed text when they are on, for an SRT file beside
    // the video; the last one runs to the end however long that is.
    std::vector<SubtitleCue> subtitles;
};

class BuildSession {
public:
    BuildSession(SessionInput input, SessionHooks hooks);
    ~BuildSession();
    BuildSession(const BuildSession&) = delete;
    BuildSession& operator=(const BuildSession&) = delete;

    // Runs the whole conversion into outputPath. Exceptions thrown by the
    // callbacks (out of memory, say) pass through after the encoder is freed.
    SessionOutcome Run(const std::string& outputPath);

    // Ends the running conversion after the current frame; safe from any
    // callback, a nested event handler or another thread.
    void Abort();

    int64_t TotalFrames() const { return input_.timing.TotalFrames(); }

private:
    void OnVideoSource(MclSourceHandle source);
    void OnVideoFunc(MclImageHandle image);
    void OnAudioSource(MclSourceHandle source, int index);
    void OnProgress(int kind, int value);
    void OnError(int code, const std::string& message, int* answer);
    // Loads and composes picture 'index'; false when it cannot be shown.
    bool StartPicture(size_t index);
    bool FitsToMusic() const;
    // A chapter at every picture, named by its caption or its file name,
    // and, with the captions on, the captions as subtitles.
    void AddPictureTexts(MclHandle encoder);

    SessionInput input_;
    SessionHooks hooks_;
    FrameTimeline timeline_;
    PictureFeed feed_;
    raster::Bitmap background_;
    raster::Bitmap outFrame_;
    ShownPicture shown_;
    int64_t captionPos_ = 0;  // the shown picture's place in its cycle, for its caption's fade
    int64_t audioRequests_ = 0;
    int64_t musicSampleCount_ = 0;
    int64_t holdLimit_ = 0;  // fitted to the music: the most frames to hold for it
    // Fitted to crossfaded music: the frame where the last file's tail ends.
    int64_t musicEndFrame_ = -1;
    std::atomic<MclHandle> encoder_{0};
    std::atomic<bool> userAborted_{false};
    MclListHandle musicList_ = 0;
    SessionOutcome outcome_;
};

}  // namespace video
