// The Options step: the lengths shown beside the synchronisation modes, and
// the background picture. The radio groups are plain controls read by
// CollectSettings.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>

#include "app/BackgroundPreview.h"
#include "app/MainForm.h"
#include "app/MediaListModels.h"
#include "app/MusicPage.h"
#include "app/UserDialogs.h"
#include "model/FileIo.h"
#include "model/LengthText.h"
#include "model/Settings.h"
#include "video/ShowTiming.h"

namespace app {

void TMainForm::RefreshSyncTexts() {
    Mp3LengthTimerTimer();
    CollectSettings(false);
    UpdateSyncTexts();
}

void TMainForm::UpdateSyncTexts() {
    const video::ShowLengths lengths = video::ComputeLengths();
    showSeconds_ = lengths.timing.ShowSeconds;
    musicSeconds_ = lengths.MusicSeconds;
    ShowSyncTexts();
}

void TMainForm::ShowSyncTexts() {
    const auto text = [](int seconds) {
        return QString::fromStdString(model::FormatSeconds(seconds));
    };
    // Music that is switched off is not in the video, whatever its length.
    const QString music = musicPage_->MusicOn()
                              ? text(musicSeconds_)
                              : tr("%1, but the music is off").arg(text(musicSeconds_));
    syncGroup_->button(0)->setText(tr("Current length:  ") + text(showSeconds_));
    syncGroup_->button(1)->setText(tr("Fit to images:    ") + text(showSeconds_));
    syncGroup_->button(2)->setText(tr("Fit to music:      ") + music);
}

void TMainForm::UpdateMusicNotes() {
    const bool off = !musicPage_->MusicOn();
    musicPage_->ShowMusicOffNote(off);
    buildMusicNote_->setVisible(off);
    // The lengths are computed on entering the Options step; elsewhere they
    // are not shown and may be out of date.
    if (CurrentStep() == kOptionsStep) ShowSyncTexts();
}

void TMainForm::SelectBackgroundPicture() {
    const std::string& initial = model::Settings.Back_Image_Path;
    const QString file = Dialogs().OpenPictureFile(
        this, model::FolderExists(initial) ? QString::fromStdString(initial) : QString());
    if (file.isEmpty()) return;
    model::Settings.Back_Image_Path = FolderOfFile(file);
    backImage_->SetPath(file);
    MarkModified();
    QString error;
    if (!backImage_->LoadPicture(&error)) {
        ReportError(error);
        return;
    }
    // Choosing a picture means using it.
    backImageRadio_->setChecked(true);
}

}  // namespace app
