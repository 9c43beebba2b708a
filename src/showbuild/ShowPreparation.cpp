#include "showbuild/ShowPreparation.h"

#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "model/FileIo.h"
#include "showbuild/BuildMusicMix.h"
#include "showbuild/ShowSeed.h"

namespace video {

namespace {

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
std::vector<SkippedFile> LeaveOutUnplayableMusic(const ShowLoaders& hooks,
                                                 std::vector<std::string>& music,
                                                 const std::vector<model::LeftOutMusic>& leftOut) {
    std::vector<SkippedFile> skipped;
    for (const model::LeftOutMusic& left : leftOut) skipped.push_back({left.path, left.reason});
    std::vector<SkippedFile> undecodable = LeaveOutUnreadable(music, hooks.probeMusic);
    skipped.insert(skipped.end(), undecodable.begin(), undecodable.end());
    return skipped;
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
int64_t VideoSeconds(const ShowLengths& lengths, uint8_t musicSync) {
    const int64_t show = lengths.timing.ShowSeconds;
    if (musicSync == static_cast<uint8_t>(MusicSyncMode::FitToMusic))
        return std::max<int64_t>(show, lengths.MusicMs / 1000);
    return show;
}

}  // namespace

int64_t PreparedShow::VideoFrames() const {
    const int64_t timed = lengths.timing.TotalFrames();
    const bool fitsToMusic = input.musicSync == static_cast<uint8_t>(MusicSyncMode::FitToMusic) &&
                             input.playMusic && !input.music.empty();
    if (!fitsToMusic || lengths.MusicMs <= 0) return timed;
    return input.format.rate.FramesCovering(lengths.MusicMs);
}

PreparedShow PrepareShow(model::Show show, const ShowLoaders& loaders,
                         const std::function<base::Status(double videoSeconds)>& approveLength) {
    PreparedShow result;
    model::TslSettings& settings = show.settings;
    const std::optional<FrameFormat> format = FrameFormatOf(settings);
    if (!format) {
        result.message = "Unknown video format (VideoType " + std::to_string(settings.VideoType) +
                         ", shape " + std::to_string(settings.VideoAspect) + ", rate " +
                         std::to_string(settings.VideoRate) +
                         "); choose VCD, SVCD, DVD or MP4, and an MP4 shape its size is made in.";
        return result;
    }

    result.skipped = LeaveOutUnreadable(settings.Pictures, loaders.probePicture);
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
    if (VideoSeconds(lengths, musicSync) > kLongestVideoSeconds) {
        // The frame counts saturate for absurd intervals, so no figure is given.
        result.message = "The show would last longer than a video can, which is " +
                         std::to_string(kLongestVideoSeconds / 3600) +
                         " hours. Shorten the intervals or the music.";
        return result;
    }
    ApplySettingsSync(lengths, show);
    if (approveLength) {
        const double seconds =
            static_cast<double>(lengths.timing.TotalFrames()) / format->rate.perSecond();
        if (const base::Status approved = approveLength(seconds); !approved) {
            result.message = approved.message();
            return result;
        }
    }

    SessionInput& input = result.input;
    input.format = *format;
    input.tvSet = settings.TVSet;
    input.aspect = settings.VideoAspect;
    input.quality = settings.VideoQuality;
    input.rate = settings.VideoRate;
    input.musicSync = musicSync;
    input.showCaption = settings.ShowCaption;
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
    input.captionOf = [notes](const std::string& path) { return notes->CaptionOf(path); };
    input.loadPicture = MotionLoads(loaders.loadPicture, input.motion, *format);
    input.seed = ShowSeed(input.pictures);
    result.lengths = std::move(lengths);
    result.outcome = PreparedShow::Outcome::Ready;
    return result;
}

}  // namespace video
