#include "showbuild/BuildSession.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <utility>

#include "model/VideoFormatKeys.h"
#include "showbuild/ProgressText.h"
#include "video/TextOverlay.h"

namespace video {

double BuildProgress::fraction() const {
    if (kind == kMclProgressFinished) return 1.0;
    if (totalFrames <= 0) return 0.0;
    return std::clamp(static_cast<double>(framesDone) / static_cast<double>(totalFrames), 0.0, 1.0);
}

BuildSession::BuildSession(SessionInput input, SessionHooks hooks)
    : input_(std::move(input)),
      hooks_(std::move(hooks)),
      timeline_(input_.timing.ImageFrames, input_.timing.TransitionFrames),
      feed_(input_.pictures,
            PictureBox{DisplayBoxOf(input_.format).width, DisplayBoxOf(input_.format).height},
            input_.loadPicture) {
    background_ = PrepareBackground(input_.background, input_.format);
    outFrame_ = raster::Bitmap(input_.format.width, input_.format.height);
}

BuildSession::~BuildSession() {
    if (const MclListHandle list = std::exchange(musicList_, 0)) MclListFree(list);
    if (const MclHandle encoder = encoder_.exchange(0)) MclFree(encoder);
}

void BuildSession::Abort() {
    userAborted_ = true;
    if (const MclHandle encoder = encoder_.load()) MclAbort(encoder);
}

SessionOutcome BuildSession::Run(const std::string& outputPath) {
    const MclHandle encoder = MclCreate();
    encoder_ = encoder;
    MclAssignVideoSource(encoder,
                         [this](MclSourceHandle source, intptr_t) { OnVideoSource(source); });
    MclAssignVideoFunc(
        encoder, [this](MclSourceHandle, MclImageHandle image, intptr_t) { OnVideoFunc(image); });
    MclAssignAudioSource(
        encoder, [this](MclSourceHandle source, int index) { OnAudioSource(source, index); });
    MclAssignAudioFunc(encoder, [](MclSourceHandle, int16_t*, int) {});
    MclAssignProgress(
        encoder, [this](MclHandle, int kind, int value, intptr_t) { OnProgress(kind, value); });
    MclAssignError(encoder, [this](int code, const std::string& message, int* answer) {
        OnError(code, message, answer);
    });

    musicList_ = MclListCreate();
    if (input_.playMusic)
        for (const std::string& path : input_.music)
            MclListAdd(musicList_, path, kMclListMusicFile);
    musicSampleCount_ = MclListGetSampleCount(musicList_);
    if (FitsToMusic()) {
        // The last picture is held until the music ends, however short its
        // stored length was; the files' own length, plus a second, bounds
        // the wait should the music never run out.
        const int64_t musicMs = musicSampleCount_ * 1000 / kMclListSampleRate;
        holdLimit_ = std::max(TotalFrames(), input_.format.rate.FramesCovering(musicMs + 1000));
    }

    MclVideoSetFileName(encoder, outputPath);
    MclAudioSetFileName(encoder, outputPath);
    audioRequests_ = 0;
    if (input_.format.videoType != kMclFormatVcd) MclEnableMPEG2();
    MclSetVideoOptions(encoder, input_.aspect, input_.quality, input_.rate);
    MclSetFormatPreset(encoder, input_.format.videoType, IsNtsc(input_.tvSet) ? 1 : 0);
    AddPictureTexts(encoder);
    MclVideoSetKeepDuration(encoder, -1);
    MclAudioSetMix(encoder, input_.mix);

    outcome_.converted = MclConvert(encoder);
    outcome_.userAborted = userAborted_;
    outcome_.elapsedSeconds = MclGetElapsedTime(encoder);
    return std::move(outcome_);
}

void BuildSession::AddPictureTexts(MclHandle encoder) {
    const std::vector<int64_t> starts = PictureStartFrames(input_.timing);
    std::vector<std::string> captions;
    bool cards = false;
    for (size_t i = 0; i < input_.pictures.size() && i < starts.size(); ++i) {
        const std::string& path = input_.pictures[i];
        const bool card = input_.titleCardOf && input_.titleCardOf(path);
        cards = cards || card;
        std::string caption = input_.captionOf(path);
        const std::string chapter = caption.substr(0, caption.find('\n'));
        MclAddChapter(encoder, starts[i],
                      chapter.empty() ? std::filesystem::path(path).filename().string() : chapter);
        // A card's words are on screen whether or not captions are.
        captions.push_back(card || input_.showCaption ? std::move(caption) : std::string());
    }
    // The picture starts are where ShownPicture::Start puts each caption on
    // screen, so the text comes and goes with the drawn caption.
    const auto subtitles = static_cast<model::SubtitleMode>(input_.subtitles);
    if (!(input_.showCaption || cards) || subtitles == model::SubtitleMode::Off) return;
    outcome_.subtitles = CuesOfCaptions(starts, captions, INT64_MAX);
    if (subtitles == model::SubtitleMode::Track) MclSetSubtitles(encoder, outcome_.subtitles);
}

bool BuildSession::StartPicture(size_t index) {
    const std::string& path = input_.pictures[index];
    try {
        shown_.Start(input_, index, feed_.Take(index), background_);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& error) {
        // Read fine when the show was checked, but not now (a damaged file
        // shows only once its pixels are decoded): the show goes on without
        // it, named once however often the show repeats it.
        const bool named = std::any_of(outcome_.skipped.begin(), outcome_.skipped.end(),
                                       [&](const SkippedPicture& s) { return s.path == path; });
        if (!named) outcome_.skipped.push_back({path, error.what()});
        return false;
    }
    return true;
}

void BuildSession::OnVideoSource(MclSourceHandle source) {
    if (musicEndFrame_ >= 0 && outcome_.framesEncoded >= musicEndFrame_) {
        if (const MclHandle encoder = encoder_.load()) MclAbort(encoder);
        return;
    }
    FrameStep step = timeline_.NextFrame();
    while (step.action == FrameAction::StartPicture &&
           !StartPicture(static_cast<size_t>(step.imageIndex)))
        step = timeline_.SkipPicture();
    bool changed = false;
    if (step.action == FrameAction::Finished) {
        // Fitted to the music, the video ends when the music does.
        if (!FitsToMusic() || outcome_.framesEncoded >= holdLimit_) {
            MclSourceFinished(source);
            return;
        }
    } else if (step.action != FrameAction::StartPicture) {
        // A picture's first frame repeats the previous one.
        changed = shown_.DrawStep(step, outFrame_);
    }
    if (step.action != FrameAction::Finished) captionPos_ = step.cyclePos;
    if (changed && hooks_.frameShown) hooks_.frameShown(outFrame_);
    if (hooks_.frameSent) hooks_.frameSent(outcome_.framesEncoded, outFrame_, shown_.captions());
    MclSourceSetDIB(source, outFrame_, !changed);
    ++outcome_.framesEncoded;
}

void BuildSession::OnVideoFunc(MclImageHandle image) {
    const TextStyle& look = shown_.captionLook().text;
    const int opacity = shown_.captionOpacity(captionPos_);
    for (const CaptionLine& line : shown_.captions()) {
        const MclTextHandle text = MclTextCreate();
        MclTextSetFont(text, look.family, line.fontSize, look.bold ? kMclTextBold : 0,
                       kMclTextAntialiased);
        MclTextSetColor(text, look.color, look.shadowColor, look.backColor, look.backOpacity);
        MclTextShadow(text, 1, look.shadowDx, look.shadowDy);
        MclTextOutline(text, look.outlineWidth, look.outlineColor);
        MclTextSetBoxPad(text, look.backPad);
        MclTextSetStretch(text, look.stretch);
        MclImgText(image, text, line.x, line.y, line.text, opacity);
        MclTextFree(text);
    }
}

void BuildSession::OnAudioSource(MclSourceHandle source, int index) {
    std::string name;
    if (MclListGetName(musicList_, index, &name))
        MclSourceSetFile(source, name);
    else
        MclSourceFinished(source);
    ++audioRequests_;
    // Fitted to the music: the request after the last file ends the video.
    // With a crossfade the request comes where the next file would have
    // come in, so the last file's tail still plays to its end.
    if (FitsToMusic() && static_cast<int64_t>(input_.music.size()) < audioRequests_ &&
        !outcome_.endedWithMusic) {
        outcome_.endedWithMusic = true;
        const int64_t tailMs = sound::JoinOverlap(
            input_.lastMusicMs, sound::ClampFadeMs(input_.mix.options.crossfadeMs));
        if (tailMs > 0)
            musicEndFrame_ = outcome_.framesEncoded + input_.format.rate.FramesCovering(tailMs);
        else if (const MclHandle encoder = encoder_.load())
            MclAbort(encoder);
    }
}

bool BuildSession::FitsToMusic() const {
    // A show without music has nothing to end with and is built whole.
    return EndsWithMusic(input_.musicSync) && input_.playMusic && !input_.music.empty();
}

void BuildSession::OnProgress(int kind, int value) {
    timeline_.AdvanceFrameCounter();
    // An abort that came before the conversion started (the encoder forgets
    // it when it starts) takes effect before the first frame.
    if (userAborted_)
        if (const MclHandle encoder = encoder_.load()) MclAbort(encoder);
    if (!hooks_.progress) return;
    BuildProgress progress;
    progress.kind = kind;
    progress.framesDone = value;
    progress.totalFrames = TotalFrames();
    progress.label = ProgressLabelText(kind, value, progress.totalFrames);
    const MclHandle encoder = encoder_.load();
    progress.elapsedSeconds = MclGetElapsedTime(encoder);
    if (kind == kMclProgressEncoding) {
        progress.remainingSeconds =
            MclGetRemainingTime(encoder, progress.totalFrames, musicSampleCount_);
        progress.remaining = RemainingTimeText(progress.remainingSeconds);
    }
    hooks_.progress(progress);
}

void BuildSession::OnError(int code, const std::string& message, int* answer) {
    // Kept and reported once the conversion has returned; the conversion
    // carries on where it can (a music file it cannot play is skipped).
    outcome_.errors.push_back({code, message});
    if (answer) *answer = kMclAnswerContinue;
}

}  // namespace video
