#include "showbuild/BuildDriver.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <map>
#include <optional>
#include <utility>

#include "model/FileIo.h"
#include "model/MediaLists.h"
#include "model/Show.h"
#include "model/Text.h"
#include "showbuild/BuildMusicMix.h"
#include "showbuild/ShowTiming.h"

namespace video {

namespace {

std::string FileLine(const SkippedFile& skipped) {
    if (skipped.reason.find(skipped.path) != std::string::npos) return "  " + skipped.reason;
    return "  \"" + skipped.path + "\": " + skipped.reason;
}

// A heading and one line per file, when there are any.
void AppendFileLines(std::vector<std::string>& lines, const std::vector<SkippedFile>& files,
                     const std::string& one, const std::string& many) {
    if (files.empty()) return;
    lines.push_back(files.size() == 1 ? one : std::to_string(files.size()) + many);
    for (const SkippedFile& file : files) lines.push_back(FileLine(file));
}

// Leaves out of a show list every file the probe refuses; a file listed
// twice is checked once.
std::vector<SkippedFile> LeaveOutUnreadable(std::vector<std::string>& files,
                                            const ProbeFileFunction& probe) {
    std::vector<SkippedFile> skipped;
    std::map<std::string, base::Status> checked;
    std::vector<std::string> readable;
    readable.reserve(files.size());
    for (std::string& path : files) {
        auto found = checked.find(path);
        if (found == checked.end()) {
            found = checked.emplace(path, probe(path)).first;
            if (!found->second) skipped.push_back({path, found->second.message()});
        }
        if (found->second) readable.push_back(std::move(path));
    }
    files = std::move(readable);
    return skipped;
}

// The checked music the show will not play: files that are gone and files
// without a usable stored length (the music list never took either), then
// files that do not decode, which leave the list here so that they do not
// count toward its length.
std::vector<SkippedFile> LeaveOutUnplayableMusic(const BuildHooks& hooks,
                                                 std::vector<std::string>& music,
                                                 const std::vector<model::LeftOutMusic>& leftOut) {
    std::vector<SkippedFile> skipped;
    for (const model::LeftOutMusic& left : leftOut) skipped.push_back({left.path, left.reason});
    std::vector<SkippedFile> undecodable = LeaveOutUnreadable(music, hooks.probeMusic);
    skipped.insert(skipped.end(), undecodable.begin(), undecodable.end());
    return skipped;
}

BackgroundSpec BackgroundFromSettings(const model::TslSettings& s, const BuildHooks& hooks,
                                      std::vector<std::string>& warnings) {
    BackgroundSpec spec;
    spec.colour = s.BackgroundColor & 0xFFFFFF;
    if (s.Back_Mode_Blurred) {
        spec.kind = BackgroundSpec::Kind::Blurred;
        return spec;
    }
    if (s.Back_Mode_UseColor || !model::FileExists(s.Back_Image_Filename)) return spec;
    try {
        spec.picture = hooks.loadBackground(s.Back_Image_Filename);
        spec.kind =
            s.Back_Image_UseTiled ? BackgroundSpec::Kind::Tiled : BackgroundSpec::Kind::Stretched;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& error) {
        warnings.push_back(std::string(error.what()) + " The background colour is used instead.");
    }
    if (spec.picture.isEmpty()) spec.kind = BackgroundSpec::Kind::Colour;
    return spec;
}

// An MPEG stream's 90 kHz clock counts 2^33 ticks, a little over 26 hours,
// before it wraps; a longer show cannot be played back, and lengthening the
// music list to cover it could take gigabytes first.
constexpr int64_t kLongestVideoSeconds = (int64_t{1} << 33) / 90000;

// How long the video would last once the sync mode has lengthened a list.
int64_t VideoSeconds(const ShowLengths& lengths, uint8_t musicSync) {
    const int64_t show = lengths.timing.ShowSeconds;
    if (musicSync == static_cast<uint8_t>(MusicSyncMode::FitToMusic))
        return std::max<int64_t>(show, lengths.MusicMs / 1000);
    return show;
}

}  // namespace

std::vector<std::string> BuildResult::Problems() const {
    std::vector<std::string> lines;
    if (!message.empty()) lines.push_back(message);
    AppendFileLines(lines, skipped, "1 picture could not be read and was left out:",
                    " pictures could not be read and were left out:");
    AppendFileLines(lines, skippedMusic,
                    "1 music file was left out:", " music files were left out:");
    // The failure line quotes the first error already.
    for (const EncoderError& error : errors)
        if (message.find(error.message) == std::string::npos) lines.push_back(error.message);
    lines.insert(lines.end(), warnings.begin(), warnings.end());
    return lines;
}

BuildDriver::BuildDriver(BuildHooks hooks) : hooks_(std::move(hooks)) {
    if (!hooks_.loadPicture) hooks_.loadPicture = LoadBuildPicture;
    if (!hooks_.probePicture) hooks_.probePicture = ProbeBuildPicture;
    if (!hooks_.loadBackground) hooks_.loadBackground = LoadBackgroundPicture;
    if (!hooks_.probeMusic) hooks_.probeMusic = sound::ProbeMusicFile;
}

BuildDriver::~BuildDriver() = default;

std::string BuildDriver::TemporaryVideoPath() {
    return model::DataDir() + "tmp.mpg";
}

base::Status BuildDriver::DiscardVideo() {
    for (const std::string& path : {TemporaryVideoPath(), TemporaryVideoPath() + ".part"})
        if (!model::RemoveFile(path))
            return base::MakeFault("Cannot remove the temporary video \"" + path + "\".");
    return {};
}

void BuildDriver::SetState(BuildState state) {
    if (state_ == state) return;
    state_ = state;
    if (hooks_.stateChanged) hooks_.stateChanged(state);
}

void BuildDriver::Abort() {
    if (state_ != BuildState::Building) return;
    abortRequested_ = true;
    if (session_) session_->Abort();
}

BuildResult BuildDriver::Build(model::Show show, const std::string& outputPath) {
    if (state_ != BuildState::Idle) {
        BuildResult busy;
        busy.status = BuildResult::Status::Busy;
        busy.message = "A build is already running.";
        return busy;
    }
    abortRequested_ = false;
    BuildResult result;
    try {
        result = RunBuild(std::move(show), outputPath.empty() ? TemporaryVideoPath() : outputPath);
    } catch (const std::exception& error) {
        result.status = BuildResult::Status::Failed;
        result.message = std::string("The build failed: ") + error.what();
    } catch (...) {
        result.status = BuildResult::Status::Failed;
        result.message = "The build failed.";
    }
    session_ = nullptr;
    SetState(BuildState::Idle);
    return result;
}

BuildResult BuildDriver::RunBuild(model::Show show, const std::string& outputPath) {
    if (hooks_.stopMusic) hooks_.stopMusic();
    SetState(BuildState::Building);

    BuildResult result;
    model::TslSettings& settings = show.settings;
    const std::optional<FrameFormat> format =
        FrameFormatFor(settings.VideoType, settings.VideoAspect);
    if (!format) {
        result.message = "Unknown video format (VideoType " + std::to_string(settings.VideoType) +
                         ", aspect " + std::to_string(settings.VideoAspect) +
                         "); choose VCD, SVCD, DVD or MP4.";
        return result;
    }
    extension_ = format->extension;
    result.videoType = settings.VideoType;
    result.tvSet = settings.TVSet;

    result.skipped = LeaveOutUnreadable(settings.Pictures, hooks_.probePicture);
    if (settings.Pictures.empty()) {
        result.status = BuildResult::Status::NoPictures;
        result.message = "No pictures to build.";
        return result;
    }

    // Music that is switched off is neither played nor reported.
    if (settings.PlayMusic)
        result.skippedMusic = LeaveOutUnplayableMusic(hooks_, settings.Music, show.leftOutMusic);
    const uint8_t musicSync = EffectiveSync(settings.MusicSync, settings.PlayMusic);

    ShowLengths lengths = ComputeLengths(show);
    if (VideoSeconds(lengths, musicSync) > kLongestVideoSeconds) {
        // The frame counts saturate for absurd intervals, so no figure is given.
        result.message = "The show would last longer than a video can, which is " +
                         std::to_string(kLongestVideoSeconds / 3600) +
                         " hours. Shorten the intervals or the music.";
        return result;
    }
    ApplySettingsSync(lengths, show);
    if (hooks_.approveLength) {
        const double seconds = static_cast<double>(lengths.timing.TotalFrames()) /
                               (IsNtsc(settings.TVSet) ? 30000.0 / 1001 : 25.0);
        if (const base::Status approved = hooks_.approveLength(seconds); !approved) {
            result.message = approved.message();
            return result;
        }
    }

    SessionInput input;
    input.format = *format;
    input.tvSet = settings.TVSet;
    input.aspect = settings.VideoAspect;
    input.quality = settings.VideoQuality;
    input.musicSync = musicSync;
    input.showCaption = settings.ShowCaption;
    input.playMusic = settings.PlayMusic;
    input.pictures = settings.Pictures;
    input.music = settings.Music;
    input.lastMusicMs = input.music.empty() ? 0 : show.MusicLengthMs(input.music.back());
    input.timing = lengths.timing;
    input.mix = MusicMixFor(show, musicSync, lengths.timing);
    input.background = BackgroundFromSettings(settings, hooks_, result.warnings);
    input.motion = ShowMotion::Read(input.pictures, show);
    // The session asks from its own thread; it owns the show from here on.
    auto notes = std::make_shared<const model::Show>(std::move(show));
    input.effectsOf = [notes](const std::string& path) { return notes->EffectsOf(path); };
    input.captionOf = [notes](const std::string& path) { return notes->CaptionOf(path); };
    input.loadPicture = MotionLoads(hooks_.loadPicture, input.motion, *format);
    result.totalFrames = lengths.timing.TotalFrames();
    result.pictureStartFrames = PictureStartFrames(lengths.timing);

    SessionHooks sessionHooks{hooks_.progress, hooks_.frameShown};
    SessionOutcome outcome;
    {
        // The frames and the encoder live only as long as the conversion.
        BuildSession session(std::move(input), std::move(sessionHooks));
        session_ = &session;
        // Abort pressed while the show was being prepared.
        if (abortRequested_) session.Abort();
        outcome = session.Run(outputPath);
        session_ = nullptr;
    }

    result.framesEncoded = outcome.framesEncoded;
    result.elapsedSeconds = outcome.elapsedSeconds;
    result.errors = std::move(outcome.errors);
    result.skipped.insert(result.skipped.end(), outcome.skipped.begin(), outcome.skipped.end());
    if (outcome.converted) {
        result.status =
            outcome.userAborted ? BuildResult::Status::Aborted : BuildResult::Status::Completed;
        result.videoFile = outputPath;
    } else {
        result.status = BuildResult::Status::Failed;
        result.message = result.errors.empty()
                             ? "The video could not be made."
                             : "The video could not be made: " + result.errors.front().message;
    }
    return result;
}

base::Result<std::string> BuildDriver::SaveVideo(const std::string& chosenName) const {
    const std::string target = VideoFileName(chosenName, extension_);
    if (base::Status copied = CopyFileWhole(TemporaryVideoPath(), target); !copied)
        return copied.fault();
    return target;
}

std::string VideoFileName(const std::string& chosenName, std::string_view wanted) {
    const size_t slash = chosenName.find_last_of('/');
    const std::string name = slash == std::string::npos ? chosenName : chosenName.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
    return model::ToLower(extension) == wanted ? chosenName : chosenName + std::string(wanted);
}

base::Status CopyFileWhole(const std::string& from, const std::string& to) {
    const QString source = QString::fromStdString(from);
    const QString target = QString::fromStdString(to);
    auto fail = [&](const QString& reason) {
        return base::MakeFault("Cannot save the video as \"" + to + "\": " + reason.toStdString());
    };
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read ") + source + ": " + in.errorString());
    if (QFileInfo(target).isDir()) return fail(QStringLiteral("it is a folder"));
    QSaveFile out(target);
    // The copy goes to a temporary file beside the target, renamed at the end.
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly)) return fail(out.errorString());
    QByteArray block;
    constexpr qint64 kBlock = 1 << 20;
    for (;;) {
        block = in.read(kBlock);
        if (block.isEmpty()) break;
        if (out.write(block) != block.size()) {
            const QString reason = out.errorString();
            out.cancelWriting();
            return fail(reason);
        }
    }
    if (in.error() != QFileDevice::NoError) {
        out.cancelWriting();
        return fail(QStringLiteral("cannot read ") + source + ": " + in.errorString());
    }
    if (!out.commit()) return fail(out.errorString());
    return {};
}

}  // namespace video
