// The Preview command: the show in its own window, with its music.
#include "app/MainForm.h"
#include "app/UserDialogs.h"
#include "model/Settings.h"
#include "music/MusicService.h"
#include "screen/FullscreenForm.h"

namespace app {

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
    if (model::Settings.PlayMusic && !model::Settings.Music.empty())
        music::PlayMusicFile(QString::fromStdString(model::Settings.Music.front()));
    if (!previewForm_) previewForm_ = std::make_unique<screen::TFullscreenForm>(this);
    // The television standard plays no part; other formats keep the size.
    const QSize size = PreviewWindowSize(model::Settings.VideoType);
    if (size.isValid()) previewForm_->SetOuterSize(size.width(), size.height());
    Dialogs().RunModal(*previewForm_);
    music::StopMusic(false);
}

}  // namespace app
