#include "video/BuildSettings.h"

#include <utility>

#include "model/Settings.h"

namespace video {

BuildSettings BuildSettingsFrom(const model::TslSettings& s) {
    BuildSettings b;
    b.VideoType = s.VideoType;
    b.TVSet = s.TVSet;
    b.EffectSpeed2 = s.EffectSpeed2;
    b.MusicSync = s.MusicSync;
    b.PlayMusic = s.PlayMusic;
    b.ShowCaption = s.ShowCaption;
    b.BackgroundColor = s.BackgroundColor;
    b.Back_Mode_UseColor = s.Back_Mode_UseColor;
    b.Back_Image_UseTiled = s.Back_Image_UseTiled;
    b.Back_Image_Filename = s.Back_Image_Filename;
    b.Pictures = s.Pictures;
    b.Music = s.Music;
    return b;
}

void WriteBackLists(BuildSettings& snapshot, model::TslSettings& settings) noexcept {
    settings.Pictures = std::move(snapshot.Pictures);
    settings.Music = std::move(snapshot.Music);
}

}  // namespace video
