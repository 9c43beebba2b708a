// The build: from a show to an MPEG file.
//
// The main window and the headless command drive the same object, each
// handing it the show it collected. A build stops the music, fixes the frame size for the
// video format, leaves out the pictures that cannot be read, times the show
// and applies the synchronisation mode, then runs one conversion into
// "tmp.mpg" in the data folder. Saving copies that file to the name the user
// chose; the video stays for further saves until it is discarded. The Build
// and Abort controls follow State(): Build is usable while idle, Abort while
// building; a second build never starts inside a running one.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "model/Show.h"
#include "raster/Bitmap.h"
#include "showbuild/BuildPictures.h"
#include "showbuild/BuildSession.h"
#include "sound/AudioDecoder.h"

namespace video {

enum class BuildState { Idle, Building };

struct BuildHooks {
    // Stops music playback, if any.
    std::function<void()> stopMusic;
    // Every progress notification of the encoder. The window lets its
    // pending events run here, so that Abort can be pressed.
    std::function<void(const BuildProgress&)> progress;
    // A frame that changed (transition frames and the completed picture).
    std::function<void(const raster::Bitmap&)> frameShown;
    // Every frame handed to the encoder (SessionHooks::frameSent).
    std::function<void(int64_t index, const raster::Bitmap&, const std::vector<CaptionLine>&)>
        frameSent;
    // Build and Abort become usable or not.
    std::function<void(BuildState)> stateChanged;
    // How pictures are read; the imaging module's loaders unless replaced.
    LoadPictureFunction loadPicture = LoadBuildPicture;
    ProbeFileFunction probePicture = CheckWholePicture;
    std::function<raster::Bitmap(const std::string&)> loadBackground = LoadBackgroundPicture;
    // Why a music file cannot be played, or nothing when it can.
    ProbeFileFunction probeMusic = sound::ProbeMusicFile;
    // Once the show is timed, before anything is encoded, with the video's
    // length in seconds: a fault returned stops the build with its message (a
    // disc the show will not fit on, say).
    std::function<base::Status(double videoSeconds)> approveLength;
};

struct BuildResult {
    enum class Status {
        Completed,   // the whole show (or, fitted to the music, until the music ended)
        Aborted,     // stopped by Abort; the video holds what was encoded until then
        NoPictures,  // nothing to build; nothing was encoded
        Failed,      // no usable video; see message and errors
        Busy,        // a build was already running; nothing was done
        Declined,    // the user said No to building it; nothing was done
    };
    Status status = Status::Failed;
    std::string videoFile;  // the temporary video, when there is one
    // The format it was built in (the show's VideoType, TVSet, the shape,
    // model::BuildAspect, and its frame rate), which a disc made from it
    // follows whatever the show says by then.
    uint8_t videoType = 2;
    int32_t tvSet = 0;
    uint8_t aspect = kMclAspectStandard;
    FrameRate rate;
    std::string message;  // one line for a failure, empty otherwise
    std::vector<SkippedPicture> skipped;
    std::vector<SkippedFile> skippedMusic;  // checked music the video does not play
    std::vector<EncoderError> errors;
    std::vector<std::string> warnings;
    int64_t framesEncoded = 0;
    int64_t totalFrames = 0;
    // The first frame of every picture, in show order (the chapter points).
    std::vector<int64_t> pictureStartFrames;
    // The captions as timed text, within the frames encoded, when the MP4
    // video carries them (a subtitle track, or an SRT file saved beside it).
    std::vector<SubtitleCue> subtitles;
    double elapsedSeconds = 0;

    bool hasVideo() const { return status == Status::Completed || status == Status::Aborted; }
    // Everything the user should be told, one line each: the failure, the
    // pictures and the music left out, the encoder's errors, the warnings.
    std::vector<std::string> Problems() const;
};

class BuildDriver {
public:
    explicit BuildDriver(BuildHooks hooks = {});
    ~BuildDriver();
    BuildDriver(const BuildDriver&) = delete;
    BuildDriver& operator=(const BuildDriver&) = delete;

    // The whole build of a show into outputPath (TemporaryVideoPath() when
    // empty). The show's lists are lengthened as its synchronisation mode
    // asks, on this copy. Never throws; every failure is in the result, and
    // the driver is idle again afterwards.
    BuildResult Build(model::Show show, const std::string& outputPath = {});
    // Ends the running conversion after the current frame (Abort button).
    // While the build is still preparing, the conversion ends before its
    // first frame.
    void Abort();

    BuildState State() const { return state_; }
    bool BuildEnabled() const { return state_ == BuildState::Idle; }
    bool AbortEnabled() const { return state_ == BuildState::Building; }

    // DataDir() + "tmp.mpg": every build writes it, and it stays until the
    // next build replaces it or DiscardVideo removes it.
    static std::string TemporaryVideoPath();
    // Removes the temporary video and any part of it a stopped conversion
    // left, or says, naming the file, why it could not.
    [[nodiscard]] static base::Status DiscardVideo();
    // Copies the temporary video to the chosen name (the extension of the
    // format last built, ".mpg" or ".mp4", appended unless it already ends
    // so, in any letter case), replacing the file whole or not at all. Returns the name written, or
    // a fault naming the file and the reason. A build whose captions go to
    // a file writes them beside it too (SubtitleFileName), likewise whole.
    [[nodiscard]] base::Result<std::string> SaveVideo(const std::string& chosenName) const;
    // The SRT file of the last build beside a video saved as 'videoName',
    // when the build's captions go to a file; nothing otherwise.
    [[nodiscard]] base::Status WriteSubtitleFile(const std::string& videoName) const;

private:
    BuildResult RunBuild(model::Show show, const std::string& outputPath);
    void SetState(BuildState state);

    BuildHooks hooks_;
    BuildState state_ = BuildState::Idle;
    const char* extension_ = ".mpg";   // of the format last built
    std::string srtText_;              // of the build last made, when it wants an SRT file
    BuildSession* session_ = nullptr;  // while a conversion runs
    bool abortRequested_ = false;      // during this build
};

// The name a video is saved under: chosenName, with 'extension' (".mpg" or
// ".mp4") appended when its extension, lower-cased, is not that one
// (show.MPG stays, show.mpeg becomes show.mpeg.mpg).
std::string VideoFileName(const std::string& chosenName, std::string_view extension = ".mpg");

// The SRT file beside a video: its name with the extension made ".srt".
std::string SubtitleFileName(const std::string& videoName);

// Copies a file through a temporary file beside the target, then renames it
// over the target, or says, naming the file, why it could not.
[[nodiscard]] base::Status CopyFileWhole(const std::string& from, const std::string& to);

}  // namespace video
