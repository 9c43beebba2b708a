#include "showbuild/ShowPreparation.h"

#include <algorithm>
#include <atomic>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "model/FileIo.h"
#include "model/VideoFormatKeys.h"
#include "showbuild/BuildMusicMix.h"
#include "showbuild/CaptionChecks.h"
#include "showbuild/PictureCaptions.h"
#include "showbuild/ShowSeed.h"

namespace video {

namespace {

// Leaves out of a show list every file the probe refuses; a file listed
// twice is checked once. A whole-picture check decodes each file, so the
// files are checked on as many threads as there are cores; the probe must
// be safe to call from several at once.
std::vector<SkippedFile> LeaveOutUnreadable(std::vector<std::string>& files,
                                            const ProbeFileFunction& probe) {
    std::vector<std::string> distinct;
    std::map<std::string, size_t> slot;
    for (const std::string& path : files)
        if (slot.emplace(path, distinct.size()).second) distinct.push_back(path);
    std::vector<base::Status> found(distinct.size());
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i = next++; i < distinct.size(); i = next++) found[i] = probe(distinct[i]);
    };
    const size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8) - 1;
    std::vector<std::future<void>> helpers;
    for (size_t t = 0; t < threads && t + 1 < distinct.size(); ++t)
        helpers.push_back(std::async(std::launch::async, work));
    work();
    for (std::future<void>& helper : helpers) helper.get();

    std::vector<SkippedFile> skipped;
    for (size_t i = 0; i < distinct.size(); ++i)
        if (!found[i]) skipped.push_back({distinct[i], found[i].message()});
    std::vector<std::string> readable;
    readable.reserve(files.size());
    for (std::string& path : files)
        if (found[slot[path]]) readable.push_back(std::move(path));
    files = std::move(readable);
    return skipped;
}

// The checked music the show will not play: files that are gone and files
// without a usable stored length (the music list never took either), then
// files that do not decode, which leave the list here so that they do not
// count toward its length.
std::vector<SkippedFile> LeaveOutUnplayableMusic(const ShowLoaders& hooks,
                                                 std::vector<std::string>& music,
                                                 const std::vector<model::LeftOutMusic>& leftOut) {
    std::vector<SkippedFile> skipped;
    for (const model::LeftOutMusic& left : leftOut) skipped.push_back({left.path, left.reason});
    std::vector<SkippedFile> undecodable = LeaveOutUnreadable(music, hooks.probeMusic);
    skipped.insert(skipped.end(), undecodable.begin(), undecodable.end());
    return skipped;
}

// A card whose picture is gone shows its colour; the user is told once per card.
void AppendTitleCardWarnings(const std::vector<std::string>& pictures, const model::Show& show,
                             std::vector<std::string>& warnings) {
    std::vector<std::string> named;
    for (const std::string& path : pictures) {
        const std::optional<model::TitleCard> card = show.TitleCardOf(path);
        if (!card || card->backdrop == model::TitleBackdrop::Colour ||
            std::find(named.begin(), named.end(), path) != named.end())
            continue;
        named.push_back(path);
        if (!model::FileExists(card->picture))
            warnings.push_back("The picture \"" + card->picture + "\" of the title card \"" +
                               card->title + "\" is missing; the card shows its colour.");
    }
}

BackgroundSpec BackgroundFromSettings(const model::TslSettings& s, const ShowLoaders& hooks,
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
int64_t VideoSeconds(const ShowLengths& lengths, uint8_t musicSync, FrameRate rate) {
    const ShowTiming& timing = lengths.timing;
    const int64_t show = timing.ShowSeconds;
    if (EndsWithMusic(musicSync)) return std::max<int64_t>(show, lengths.MusicMs / 1000);
    // Stretched, the intervals no longer count: the music does, or the
    // transitions with a frame each when they are longer.
    if (musicSync == static_cast<uint8_t>(MusicSyncMode::StretchToMusic) && lengths.MusicMs > 0) {
        const int64_t shortest =
            static_cast<int64_t>(timing.ImageFrames.size()) * (timing.TransitionFrames + 1);
        return std::max<int64_t>(lengths.MusicMs / 1000, rate.SecondsOfFrames(shortest));
    }
    return show;
}

// Stretched to music shorter than the transitions alone, the show cannot end
// with it: every picture is held a single frame, and the user is told how far
// the video runs past the music.
std::optional<std::string> StretchShortfall(const ShowLengths& lengths, uint8_t musicSync,
                                            FrameRate rate) {
    if (musicSync != static_cast<uint8_t>(MusicSyncMode::StretchToMusic) || lengths.MusicMs <= 0)
        return std::nullopt;
    const int64_t videoMs = rate.MillisecondsOfFrames(lengths.timing.TotalFrames());
    const int64_t musicFrames = rate.FramesCovering(lengths.MusicMs);
    if (lengths.timing.TotalFrames() <= musicFrames) return std::nullopt;
    const auto tenths = [](int64_t ms) {
        return std::to_string(ms / 1000) + "." + std::to_string(ms % 1000 / 100) + " s";
    };
    return "The music (" + tenths(lengths.MusicMs) +
           ") is shorter than the pictures' transitions, so the pictures cannot be stretched "
           "to it: each is held for a single frame, and the video runs " +
           tenths(videoMs - lengths.MusicMs) +
           " past the music. Choose a faster transition speed or longer music.";
}

}  // namespace

int64_t PreparedShow::VideoFrames() const {
    const int64_t timed = lengths.timing.TotalFrames();
    const bool fitsToMusic =
        EndsWithMusic(input.musicSync) && input.playMusic && !input.music.empty();
    if (!fitsToMusic || lengths.MusicMs <= 0) return timed;
    return input.format.rate.FramesCovering(lengths.MusicMs);
}

PreparedShow PrepareShow(model::Show show, const ShowLoaders& loaders,
                         const std::function<base::Status(double videoSeconds)>& approveLength) {
    PreparedShow result;
    model::TslSettings& settings = show.settings;
    const uint8_t aspect = model::BuildAspect(settings);
    const std::optional<FrameFormat> format = FrameFormatOf(settings);
    if (!format) {
        result.message = "Unknown video format (VideoType " + std::to_string(settings.VideoType) +
                         ", shape " + std::to_string(aspect) + ", rate " +
                         std::to_string(settings.VideoRate) +
                         "); choose VCD, SVCD, DVD or MP4, and an MP4 shape its size is made in.";
        return result;
    }

    result.skipped = LeaveOutUnreadable(settings.Pictures, TitleCardProbe(loaders.probePicture));
    if (settings.Pictures.empty()) {
        result.outcome = PreparedShow::Outcome::NoPictures;
        result.message = "No pictures to build.";
        return result;
    }

    // Music that is switched off is neither played nor reported.
    if (settings.PlayMusic)
        result.skippedMusic = LeaveOutUnplayableMusic(loaders, settings.Music, show.leftOutMusic);
    const uint8_t musicSync = EffectiveSync(settings.MusicSync, settings.PlayMusic);

    ShowLengths lengths = ComputeLengths(show);
    if (VideoSeconds(lengths, musicSync, format->rate) > kLongestVideoSeconds) {
        // The frame counts saturate for absurd intervals, so no figure is given.
        result.message = "The show would last longer than a video can, which is " +
                         std::to_string(kLongestVideoSeconds / 3600) +
                         " hours. Shorten the intervals or the music.";
        return result;
    }
    ApplySettingsSync(lengths, show);
    if (std::optional<std::string> shortfall = StretchShortfall(lengths, musicSync, format->rate))
        result.warnings.push_back(std::move(*shortfall));
    if (lengths.OffBeatChanges > 0)
        result.warnings.push_back(
            std::to_string(lengths.OffBeatChanges) +
            " picture change(s) fall where the music has no steady beat (or its beats are not "
            "measured yet); they keep the pictures' intervals.");
    if (approveLength) {
        const double seconds =
            static_cast<double>(lengths.timing.TotalFrames()) / format->rate.perSecond();
        if (const base::Status approved = approveLength(seconds); !approved) {
            if (approved.fault().kind == base::FaultKind::Declined)
                result.outcome = PreparedShow::Outcome::Declined;
            else
                result.message = approved.message();
            return result;
        }
    }

    SessionInput& input = result.input;
    input.format = *format;
    input.tvSet = settings.TVSet;
    input.aspect = aspect;
    input.quality = settings.VideoQuality;
    input.rate = settings.VideoRate;
    input.musicSync = musicSync;
    input.showCaption = settings.ShowCaption;
    input.subtitles = settings.Subtitles;
    input.playMusic = settings.PlayMusic;
    input.pictures = settings.Pictures;
    input.music = settings.Music;
    input.lastMusicMs = input.music.empty() ? 0 : show.MusicLengthMs(input.music.back());
    input.timing = lengths.timing;
    input.mix = MusicMixFor(show, musicSync, lengths.timing);
    input.background = BackgroundFromSettings(settings, loaders, result.warnings);
    input.motion = ShowMotion::Read(input.pictures, show);
    // The session asks from its own thread; it owns the show from here on.
    auto notes = std::make_shared<const model::Show>(std::move(show));
    input.effectsOf = [notes](const std::string& path) { return notes->EffectsOf(path); };
    input.captionOf = CaptionLookup(notes);
    input.captionStyleOf = [notes](const std::string& path) { return notes->CaptionStyleOf(path); };
    input.titleCardOf = [notes](const std::string& path) { return notes->TitleCardOf(path); };
    AppendTitleCardWarnings(input.pictures, *notes, result.warnings);
    // Cards show their words with captions off too.
    std::vector<std::string> worded;
    std::copy_if(
        input.pictures.begin(), input.pictures.end(), std::back_inserter(worded),
        [&](const std::string& path) { return input.showCaption || model::IsTitleCard(path); });
    AppendCaptionWarnings(worded, *notes, input.captionOf, result.warnings);
    input.loadPicture = MotionLoads(TitleCardLoads(loaders.loadPicture, input.titleCardOf, *format),
                                    input.motion, *format);
    input.seed = ShowSeed(input.pictures);
    result.lengths = std::move(lengths);
    result.outcome = PreparedShow::Outcome::Ready;
    return result;
}

}  // namespace video
