// The Preview command: the show in its own window, with its music.
#include "app/MainForm.h"
#include "app/UserDialogs.h"
#include "model/Settings.h"
#include "music/MusicService.h"
#include "screen/FullscreenForm.h"
#include "video/BuildMusicMix.h"
#include "video/BuildSettings.h"
#include "video/ShowTiming.h"

namespace app {

namespace {

// The music as the video would have it: the list after the synchronisation
// step, with the same joins, fades and loudness, cut where the video would
// end.
void PlayTheShowsMusic() {
    video::BuildSettings snapshot = video::BuildSettingsFrom(model::Settings);
    video::ShowLengths lengths = video::ComputeLengths(snapshot);
    video::ApplySettingsSync(lengths, snapshot);
    const uint8_t sync = video::EffectiveSync(snapshot.MusicSync, snapshot.PlayMusic);
    video::MclAudioMix mix = video::MusicMixFor(snapshot, sync, lengths.timing);
    music::PlayShowMusic(std::move(snapshot.Music),
                         music::ShowMix{mix.options, mix.cutEndMs, std::move(mix.gainOf)});
}

}  // namespace

QSize PreviewWindowSize(int videoType) {
    switch (videoType) {
        case 0:
            return {320, 288};
        case 1:
            return {480, 576};
        case 2:
            return {720, 576};
        default:
            return {};
    }
}

void TMainForm::previewBClick() {
    Mp3LengthTimerTimer();
    CollectSettings(false);
    // The same words as the Build step's, rather than an empty black window.
    if (model::Settings.Pictures.empty()) {
        ReportError(tr("No pictures to show."));
        return;
    }
    // The video has no music when it is switched off, so neither has its preview.
    if (model::Settings.PlayMusic && !model::Settings.Music.empty()) PlayTheShowsMusic();
    if (!previewForm_) previewForm_ = std::make_unique<screen::TFullscreenForm>(this);
    // The television standard plays no part; other formats keep the size.
    const QSize size = PreviewWindowSize(model::Settings.VideoType);
    if (size.isValid()) previewForm_->SetOuterSize(size.width(), size.height());
    Dialogs().RunModal(*previewForm_);
    music::StopMusic(false);
}

}  // namespace app
