// The Preview command: the show in a player window whose frames are the
// video's, with its music.
#include <QGuiApplication>
#include <QScreen>

#include <optional>

#include "app/MainForm.h"
#include "app/MediaListModels.h"
#include "app/PlayerWindow.h"
#include "app/UserDialogs.h"
#include "model/Show.h"
#include "model/VideoFormatKeys.h"
#include "music/MusicService.h"
#include "showbuild/BuildMusicMix.h"
#include "showbuild/FrameGeometry.h"
#include "showbuild/ShowPreparation.h"
#include "showbuild/ShowTiming.h"

namespace app {

namespace {

// The music as the video would have it, from 'seconds' into the show: the
// list after the synchronisation step, with the same joins, fades and
// loudness, cut where the video would end.
base::Status PlayTheShowsMusic(model::Show show, double seconds) {
    model::TslSettings& s = show.settings;
    video::ShowLengths lengths = video::ComputeLengths(show);
    video::ApplySettingsSync(lengths, show);
    const uint8_t sync = video::EffectiveSync(s.MusicSync, s.PlayMusic);
    video::MclAudioMix mix = video::MusicMixFor(show, sync, lengths.timing);
    return music::PlayShowMusic(std::move(s.Music),
                                music::ShowMix{mix.options, mix.cutEndMs, std::move(mix.gainOf)},
                                static_cast<int64_t>(seconds * 1000));
}

// The most of the screen's free area a preview window takes.
constexpr double kPreviewScreenShare = 0.9;

}  // namespace

QSize PreviewWindowSize(int videoType, int aspect, const QSize& room) {
    const std::optional<video::FrameFormat> format = video::FrameFormatFor(videoType, aspect);
    if (!format) return {};
    // The frame at its display size: a disc frame's pixels are not square.
    const video::DisplayBox display = video::DisplayBoxOf(*format);
    QSize size(display.width, display.height);
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
    const model::TslSettings& s = show_.settings;
    if (s.Pictures.empty()) {
        ReportError(tr("No pictures to show."));
        return;
    }
    // The show the video is built from, less the pictures the image list
    // found unusable, which a build skips.
    model::Show show = show_;
    show.settings.Pictures = Images().UsablePictures(std::move(show.settings.Pictures));
    // The pictures the list has decoded already are not decoded again.
    video::ShowLoaders loaders;
    loaders.probePicture = Images().KnownChecks();
    video::PreparedShow prepared = video::PrepareShow(show, loaders);
    if (prepared.outcome != video::PreparedShow::Outcome::Ready) {
        ReportError(QString::fromStdString(prepared.message));
        return;
    }
    PlayerMusic music;
    // The video has no music when it is switched off, so neither has its preview.
    if (s.PlayMusic && !s.Music.empty()) {
        music.start = [this, show](double seconds) {
            if (const base::Status played = PlayTheShowsMusic(show, seconds); !played)
                ReportNoSound(QString::fromStdString(played.message()));
        };
        music.stop = [] { music::StopMusic(false); };
        music.position = []() -> std::optional<double> {
            const std::optional<int64_t> played = music::ShowMusicPlayedMs();
            if (!played) return std::nullopt;
            return static_cast<double>(*played) / 1000;
        };
    }
    previewForm_ = std::make_unique<PlayerWindow>(std::move(prepared), std::move(music), this);
    // The television standard plays no part; other formats keep the size.
    // The window frame and the desktop's panels take some of the screen.
    const QScreen* screen =
        window()->screen() ? window()->screen() : QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableGeometry().size() * kPreviewScreenShare : QSize();
    const QSize size = PreviewWindowSize(s.VideoType, model::BuildAspect(s), room);
    if (size.isValid()) previewForm_->SetPictureSize(size);
    Dialogs().RunModal(*previewForm_);
    previewForm_->Pause();
}

}  // namespace app
