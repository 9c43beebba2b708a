#include "cli/ShowOptions.h"

#include <array>
#include <initializer_list>
#include <span>
#include <utility>

#include "model/CaptionSource.h"
#include "model/FileIo.h"
#include "model/MediaLists.h"
#include "model/MotionFit.h"
#include "model/Project.h"
#include "model/Settings.h"
#include "model/VideoFormatKeys.h"
#include "model/WorkingState.h"
#include "music/MusicLength.h"

namespace cli {

namespace {

std::optional<int> ParseChoice(const std::string& value,
                               std::initializer_list<const char*> choices) {
    int index = 0;
    for (const char* choice : choices) {
        if (value == choice) return index;
        ++index;
    }
    return std::nullopt;
}

// The options whose values are named in the model's tables, as the project
// stores them.
struct NamedOption {
    const char* option;
    std::span<const model::NamedValue> names;
    std::optional<uint8_t> ShowOverrides::*field;
};
const std::array<NamedOption, 6> kNamedOptions{{
    {"--format", model::kVideoFormatNames, &ShowOverrides::videoType},
    {"--aspect", model::kVideoShapeNames, &ShowOverrides::aspect},
    {"--quality", model::kVideoQualityNames, &ShowOverrides::quality},
    {"--fps", model::kVideoRateNames, &ShowOverrides::rate},
    {"--motion-fit", model::kMotionFitNames, &ShowOverrides::motionFit},
    {"--subtitles", model::kSubtitleNames, &ShowOverrides::subtitles},
}};

const NamedOption* NamedOptionOf(const std::string& arg) {
    for (const NamedOption& named : kNamedOptions)
        if (arg == named.option) return &named;
    return nullptr;
}

}  // namespace

base::Fault Usage(std::string reason) {
    return base::MakeFault(std::move(reason), base::FaultKind::Refused);
}

base::Result<bool> TakeShowOption(const std::string& arg,
                                  const std::function<bool(std::string&)>& value,
                                  ShowOverrides& overrides) {
    std::string text;
    if (const auto named = NamedOptionOf(arg)) {
        if (!value(text)) return Usage("option " + arg + " needs a value");
        overrides.*named->field = model::ValueOfName(named->names, text);
        if (!(overrides.*named->field))
            return Usage(arg + " must be " + model::NameList(named->names));
    } else if (arg == "--preset") {
        if (!value(text)) return Usage("option " + arg + " needs a value");
        overrides.preset = model::PresetNamed(text);
        if (!overrides.preset) return Usage("--preset must be " + model::PresetNameList());
    } else if (arg == "--standard") {
        if (!value(text)) return Usage("option " + arg + " needs a value");
        const auto choice = ParseChoice(text, {"pal", "ntsc"});
        if (!choice) return Usage("--standard must be pal or ntsc");
        overrides.tvSet = *choice;
    } else if (arg == "--sync") {
        if (!value(text)) return Usage("option " + arg + " needs a value");
        // In the order of the stored values.
        const auto choice = ParseChoice(text, {"none", "pictures", "music", "stretch", "beats"});
        if (!choice) return Usage("--sync must be none, pictures, music, stretch or beats");
        overrides.musicSync = static_cast<uint8_t>(*choice);
    } else if (arg == "--background") {
        if (!value(text)) return Usage("option " + arg + " needs a value");
        const auto choice = ParseChoice(text, {"color", "picture", "blur"});
        if (!choice) return Usage("--background must be blur, color or picture");
        overrides.background = static_cast<model::BackgroundMode>(*choice);
    } else if (arg == "--motion") {
        if (!value(text)) return Usage("option " + arg + " needs a value");
        overrides.motion = model::ParseMotion(text);
        if (!overrides.motion)
            return Usage(
                "--motion must be none, zoom-in, zoom-out, pan-left, pan-right, pan-up, "
                "pan-down or random, with :1 to :5 for the strength");
    } else if (IsCaptionOption(arg)) {
        if (!value(text)) return Usage("option " + arg + " needs a value");
        if (base::Status taken = ParseCaptionOption(arg, text, overrides.caption); !taken)
            return Usage(taken.message());
    } else if (arg == "--captions") {
        if (!value(text)) return Usage("option " + arg + " needs a value");
        // "own": the pictures' own captions alone; "none" switches them off.
        const std::optional<uint8_t> source =
            text == "own" ? std::optional<uint8_t>(model::kNewShowCaptionSource)
                          : model::ValueOfName(model::kCaptionSourceNames, text);
        if (!source) return Usage("--captions must be own, none, name, date or title");
        overrides.showCaption = text != "none";
        if (text != "none") overrides.captionSource = *source;
    } else if (arg == "--title") {
        if (!value(text)) return Usage("option " + arg + " needs a value");
        if (text.find_first_not_of(' ') == std::string::npos)
            return Usage("--title needs the text of the title");
        overrides.title = text;
    } else if (arg == "--sort") {
        if (!value(text)) return Usage("option " + arg + " needs a value");
        // In the order of imaging::PictureOrder.
        const auto choice = ParseChoice(text, {"none", "taken", "name"});
        if (!choice) return Usage("--sort must be taken, name or none");
        overrides.sort = static_cast<imaging::PictureOrder>(*choice);
    } else if (IsMusicMixOption(arg)) {
        if (!value(text)) return Usage("option " + arg + " needs a value");
        if (base::Status taken = ParseMusicMixOption(arg, text, overrides.mix); !taken)
            return Usage(taken.message());
    } else {
        return false;
    }
    return true;
}

base::Status ApplyShowOverrides(const ShowOverrides& overrides, model::TslSettings& settings) {
    // A preset's rate follows the standard.
    if (overrides.tvSet) settings.TVSet = *overrides.tvSet;
    if (overrides.preset) model::ApplyPreset(settings, *overrides.preset);
    if (overrides.videoType) settings.VideoType = *overrides.videoType;
    if (overrides.aspect && !model::SetBuildAspect(settings, *overrides.aspect)) {
        const char* format = model::NameOfValue(model::kVideoFormatNames, settings.VideoType);
        return Usage(std::string("--aspect ") +
                     model::NameOfValue(model::kVideoShapeNames, *overrides.aspect) +
                     " is not offered for " + (format ? format : "this format") +
                     ", which is made in " + model::NameList(model::ShapesOf(settings.VideoType)));
    }
    if (overrides.quality) settings.VideoQuality = *overrides.quality;
    if (overrides.rate) settings.VideoRate = *overrides.rate;
    if (overrides.musicSync) settings.MusicSync = *overrides.musicSync;
    if (overrides.background) model::SetBackgroundMode(settings, *overrides.background);
    if (overrides.motion) settings.Motion = *overrides.motion;
    if (overrides.motionFit)
        settings.MotionFit = static_cast<model::MotionFit>(*overrides.motionFit);
    if (overrides.subtitles) settings.Subtitles = *overrides.subtitles;
    if (overrides.showCaption) settings.ShowCaption = *overrides.showCaption;
    if (overrides.captionSource) settings.CaptionSource = *overrides.captionSource;
    ApplyMusicMixOverrides(overrides.mix, settings);
    ApplyCaptionOverrides(overrides.caption, settings);
    return {};
}

base::Result<model::IniFile> ShowStore(const std::string& fileName) {
    model::OpenOptionsStore();
    if (fileName.empty()) return model::IniFile(model::OptionsStore());
    if (!model::FileExists(fileName))
        return base::MakeFault("cannot open project \"" + fileName + "\": no such file",
                               base::FaultKind::NotFound);
    base::Result<std::string> text = model::ReadProjectFile(fileName);
    if (!text) return text.fault();
    model::IniFile store;
    store.SetText(text.value());
    return store;
}

void CollectStoredShow(model::IniFile& store, model::Show& show, const ShowOverrides& overrides) {
    model::ImageList images;
    model::MusicList music;
    images.FillFromStore(store);
    music.FillFromStore(store);
    music::MeasureMusicLengths(music);
    model::CollectWorkingState(images, music, nullptr, false, store, show);
    if (overrides.sort) imaging::SortPictures(show.settings.Pictures, *overrides.sort);
    if (overrides.title) OpenWithTitle(show, *overrides.title);
}

void OpenWithTitle(model::Show& show, const std::string& title) {
    std::vector<std::string>& pictures = show.settings.Pictures;
    model::TitleCard card;
    card.title = title;
    if (!pictures.empty()) {
        card.backdrop = model::TitleBackdrop::Blurred;
        card.picture = pictures.front();
    }
    const std::string path = model::NewTitleCardPath(show.notes, pictures);
    model::WriteTitleCard(show.notes, path, card);
    pictures.insert(pictures.begin(), path);
}

}  // namespace cli
