#include "showbuild/BuildDriver.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "model/FileIo.h"
#include "model/MediaLists.h"
#include "model/Show.h"
#include "model/Text.h"
#include "model/VideoFormatKeys.h"
#include "showbuild/ShowPreparation.h"
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
    if (!hooks_.probePicture) hooks_.probePicture = CheckWholePicture;
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
    srtText_.clear();
    const model::TslSettings& settings = show.settings;
    const bool textTrack = model::IsMp4Format(settings.VideoType);
    const auto subtitleMode = static_cast<model::SubtitleMode>(settings.Subtitles);
    result.videoType = settings.VideoType;
    result.tvSet = settings.TVSet;
    result.aspect = model::BuildAspect(settings);
    if (const std::optional<FrameFormat> format = FrameFormatOf(settings)) {
        extension_ = format->extension;
        result.rate = format->rate;
    }

    PreparedShow prepared = PrepareShow(std::move(show),
                                        ShowLoaders{hooks_.loadPicture, hooks_.probePicture,
                                                    hooks_.loadBackground, hooks_.probeMusic},
                                        hooks_.approveLength);
    result.skipped = std::move(prepared.skipped);
    result.skippedMusic = std::move(prepared.skippedMusic);
    result.warnings = std::move(prepared.warnings);
    if (prepared.outcome != PreparedShow::Outcome::Ready) {
        if (prepared.outcome == PreparedShow::Outcome::NoPictures)
            result.status = BuildResult::Status::NoPictures;
        if (prepared.outcome == PreparedShow::Outcome::Declined)
            result.status = BuildResult::Status::Declined;
        result.message = std::move(prepared.message);
        return result;
    }
    result.totalFrames = prepared.lengths.timing.TotalFrames();
    result.pictureStartFrames = PictureStartFrames(prepared.lengths.timing);
    SessionInput input = std::move(prepared.input);

    SessionHooks sessionHooks{hooks_.progress, hooks_.frameShown, hooks_.frameSent};
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
    if (textTrack) {
        // The last caption stays until the video ends, wherever that was.
        for (SubtitleCue& cue : outcome.subtitles) {
            if (cue.start >= result.framesEncoded) break;
            cue.end = std::min(cue.end, result.framesEncoded);
            result.subtitles.push_back(std::move(cue));
        }
        if (subtitleMode == model::SubtitleMode::File && !result.subtitles.empty())
            srtText_ = SrtText(result.subtitles, result.rate);
    }
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
    if (base::Status written = WriteSubtitleFile(target); !written) return written.fault();
    return target;
}

base::Status BuildDriver::WriteSubtitleFile(const std::string& videoName) const {
    if (srtText_.empty()) return {};
    const std::string srt = SubtitleFileName(videoName);
    try {
        model::WriteFileAtomically(srt, srtText_);
    } catch (const model::FileError& error) {
        return base::MakeFault("Cannot write the captions \"" + srt + "\": " + error.what(),
                               base::FaultKind::Failed);
    }
    return {};
}

std::string SubtitleFileName(const std::string& videoName) {
    const size_t slash = videoName.find_last_of('/');
    const size_t dot = videoName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return videoName + ".srt";
    return videoName.substr(0, dot) + ".srt";
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
