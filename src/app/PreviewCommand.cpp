// The Preview command: the show in its own window, with its music.
#include <QGuiApplication>
#include <QScreen>

#include <optional>

#include "app/MainForm.h"
#include "app/MediaListModels.h"
#include "app/UserDialogs.h"
#include "model/Settings.h"
#include "music/MusicService.h"
#include "screen/FullscreenForm.h"
#include "showbuild/BuildMusicMix.h"
#include "showbuild/BuildSettings.h"
#include "showbuild/FrameGeometry.h"
#include "showbuild/ShowTiming.h"

namespace app {

namespace {

// The music as the video would have it: the list after the synchronisation
// step, with the same joins, fades and loudness, cut where the video would
// end (without the pictures the image list found unusable, which the show
// leaves out).
base::Status PlayTheShowsMusic(const ImageListModel& images) {
    video::BuildSettings snapshot = video::BuildSettingsFrom(model::Settings);
    snapshot.Pictures = images.UsablePictures(std::move(snapshot.Pictures));
    video::ShowLengths lengths = video::ComputeLengths(snapshot);
    video::ApplySettingsSync(lengths, snapshot);
    const uint8_t sync = video::EffectiveSync(snapshot.MusicSync, snapshot.PlayMusic);
    video::MclAudioMix mix = video::MusicMixFor(snapshot, sync, lengths.timing);
    return music::PlayShowMusic(std::move(snapshot.Music),
                                music::ShowMix{mix.options, mix.cutEndMs, std::move(mix.gainOf)});
}

// The most of the screen's free area a preview window takes.
constexpr double kPreviewScreenShare = 0.9;

}  // namespace

QSize PreviewWindowSize(int videoType, int aspect, const QSize& room) {
    const std::optional<video::FrameFormat> format = video::FrameFormatFor(videoType, aspect);
    if (!format) return {};
    QSize size(format->width, format->height);
    // A video larger than the screen (1080p on a laptop) is previewed at
    // the largest size that fits, in its own proportions.
    if (room.isValid() && (size.width() > room.width() || size.height() > room.height()))
        size.scale(room, Qt::KeepAspectRatio);
    return size;
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
        if (const base::Status played = PlayTheShowsMusic(Images()); !played)
            ReportNoSound(QString::fromStdString(played.message()));
    if (!previewForm_) previewForm_ = std::make_unique<screen::TFullscreenForm>(this);
    // The television standard plays no part; other formats keep the size.
    // The window frame and the desktop's panels take some of the screen.
    const QScreen* screen =
        window()->screen() ? window()->screen() : QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableGeometry().size() * kPreviewScreenShare : QSize();
    const QSize size =
        PreviewWindowSize(model::Settings.VideoType, model::Settings.VideoAspect, room);
    if (size.isValid()) previewForm_->SetOuterSize(size.width(), size.height());
    Dialogs().RunModal(*previewForm_);
    music::StopMusic(false);
}

}  // namespace app
