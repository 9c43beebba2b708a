#include "showbuild/BuildSettings.h"

#include <utility>

#include "model/Settings.h"

namespace video {

BuildSettings BuildSettingsFrom(const model::TslSettings& s) {
    return BuildSettings{.VideoType = s.VideoType,
                         .VideoAspect = s.VideoAspect,
                         .VideoQuality = s.VideoQuality,
                         .TVSet = s.TVSet,
                         .EffectSpeed2 = s.EffectSpeed2,
                         .MusicSync = s.MusicSync,
                         .PlayMusic = s.PlayMusic,
                         .ShowCaption = s.ShowCaption,
                         .BackgroundColor = s.BackgroundColor,
                         .Back_Mode_UseColor = s.Back_Mode_UseColor,
                         .Back_Mode_Blurred = s.Back_Mode_Blurred,
                         .Back_Image_UseTiled = s.Back_Image_UseTiled,
                         .Back_Image_Filename = s.Back_Image_Filename,
                         .Motion = s.Motion,
                         .Pictures = s.Pictures,
                         .Music = s.Music,
                         .useeffects = s.useeffects,
                         .Mix = {.fadeInMs = s.MusicFadeInMs,
                                 .fadeOutMs = s.MusicFadeOutMs,
                                 .crossfadeMs = s.MusicCrossfadeMs,
                                 .evenLoudness = s.EvenLoudness}};
}

void WriteBackLists(BuildSettings& snapshot, model::TslSettings& settings) noexcept {
    settings.Pictures = std::move(snapshot.Pictures);
    settings.Music = std::move(snapshot.Music);
}

}  // namespace video
