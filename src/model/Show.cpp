#include "model/Show.h"

#include "base/Swallow.h"
#include "model/MediaPaths.h"
#include "model/PerImage.h"
#include "model/SettingsKeys.h"
#include "model/Text.h"

namespace model {

namespace {

// Replaces the sections' entries; a section keeps its place in the file.
void CopySections(const IniFile& from, IniFile& to, std::span<const char* const> sections) {
    for (const char* section : sections) {
        for (const std::string& key : to.ReadSection(section)) to.DeleteKey(section, key);
        for (const std::string& key : from.ReadSection(section))
            to.WriteString(section, key, from.ReadString(section, key, ""));
    }
}

}  // namespace

int32_t Show::IntervalOf(std::string_view path) const {
    const std::optional<std::string> own = OwnEntry(notes, kIntervalsSection, path);
    return own ? ParseInteger(*own).value_or(settings.ImageInterval) : settings.ImageInterval;
}

bool Show::HasOwnInterval(std::string_view path) const {
    return OwnEntry(notes, kIntervalsSection, path).has_value();
}

StyleSet Show::EffectsOf(std::string_view path) const {
    const std::optional<std::string> own = OwnEntry(notes, kEffectsSection, path);
    return own ? ParseStyleSet(*own) : settings.useeffects;
}

std::optional<std::string> Show::OwnCaption(std::string_view path) const {
    return OwnEntry(notes, kCaptionsSection, path);
}

std::string Show::CaptionOf(std::string_view path) const {
    if (const std::optional<TitleCard> card = TitleCardOf(path)) return card->title;
    return OwnCaption(path).value_or(CaptionDefault(path));
}

MotionSetting Show::MotionOf(std::string_view path) const {
    return OwnMotion(notes, path).value_or(settings.Motion);
}

MotionFit Show::MotionFitOf(std::string_view path) const {
    return OwnMotionFit(notes, path).value_or(settings.MotionFit);
}

std::optional<FocusPoint> Show::FocusOf(std::string_view path) const {
    return OwnFocus(notes, path);
}

CaptionStyle Show::CaptionStyleOf(std::string_view path) const {
    return OwnCaptionStyle(notes, path).value_or(settings.Caption);
}

int64_t Show::MusicLengthMs(const std::string& path) const {
    return notes.ReadInteger("Mp3Length", path, 0);
}

std::optional<StoredLoudness> Show::LoudnessOf(const std::string& path) const {
    return model::LoudnessOf(notes, path);
}

std::optional<StoredBeats> Show::BeatsOf(const std::string& path) const {
    return model::BeatsOf(notes, path);
}

Show LoadShow(const IniFile& store) {
    Show show;
    ReadSettings(store, show.settings);
    TslSettings& s = show.settings;
    LoadShowList(store, "Pictures", s.Pictures, FolderEntries::Expand,
                 FolderTypesOf(s.FolderAllTypes));
    LoadShowList(store, "Music", s.Music, FolderEntries::Keep, FolderTypes::Classic);
    if (ShuffledAtLoad(s)) ShuffleList(s.Pictures);
    CopySections(store, show.notes, PerPictureSections());
    CopySections(store, show.notes, TitleCardSections());
    TakeMusicNotes(store, show);
    return show;
}

void StoreShow(const Show& show, IniFile& store) {
    WriteSettings(store, show.settings);
    CopySections(show.notes, store, PerPictureSections());
    CopySections(show.notes, store, TitleCardSections());
}

bool SaveWorkingShow(const Show& show) noexcept {
    if (!OptionsStoreOpen()) return true;
    return base::Swallow("model::SaveWorkingShow", [&] {
        IniFile& store = OptionsStore();
        StoreShow(show, store);
        store.UpdateFile();
    });
}

void TakeMusicNotes(const IniFile& store, Show& show) {
    CopySections(store, show.notes, MusicNoteSections());
}

}  // namespace model
