// The Build step: runs the build with its progress, lets Abort end it, and
// offers to save the video.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "app/DiscSave.h"
#include "app/FolderBrowser.h"
#include "app/MainForm.h"
#include "app/PictureView.h"
#include "app/Thumbnails.h"
#include "app/UserDialogs.h"
#include "model/RecentProjects.h"
#include "music/MusicService.h"
#include "video/BuildDriver.h"
#include "video/MclDef.h"

namespace app {

namespace {

// Fine enough that the bar moves every frame of a short show.
constexpr int kProgressSteps = 1000;

}  // namespace

void TMainForm::EnableForBuild(bool building) {
    building_ = building;
    buildButton_->setEnabled(!building);
    abortButton_->setEnabled(building);
    // These would change the working store or stall the conversion while it
    // runs; switching steps and editing stay possible.
    previewB_->setEnabled(!building);
    for (QAction* action : waitForBuildActions_) action->setEnabled(!building);
    for (QPushButton* button : waitForBuildButtons_) button->setEnabled(!building);
    if (building) {
        abortButton_->setFocus();
        bLabel_->show();
        buildProgress_->setValue(0);
        buildProgress_->show();
    }
}

void TMainForm::buildButtonClick() {
    if (building_) return;
    if (!buildDriver_) {
        video::BuildHooks hooks;
        hooks.collectSettings = [this] {
            Mp3LengthTimerTimer();
            CollectSettings(true);
        };
        hooks.stopMusic = [] { music::StopMusic(false); };
        hooks.progress = [this](const video::BuildProgress& progress) {
            bLabel_->setText(QString::fromStdString(progress.text()));
            // The encoder reports "finished" after an abort too; a completed
            // build fills the bar once it has returned, an aborted one keeps
            // it where it stopped.
            if (progress.kind != video::kMclProgressFinished)
                buildProgress_->setValue(static_cast<int>(progress.fraction() * kProgressSteps));
            // Lets Abort, Exit and the other steps work during the conversion.
            QApplication::processEvents();
        };
        hooks.frameShown = [this](const raster::Bitmap& frame) {
            // Video frames fill a 4:3 screen.
            bImage_->SetPicture(ImageFromBitmap(frame), 4.0 / 3.0);
            bImage_->repaint();
        };
        hooks.stateChanged = [this](video::BuildState state) {
            EnableForBuild(state == video::BuildState::Building);
        };
        hooks.approveLength = [this](double seconds) -> std::optional<std::string> {
            const std::optional<QString> question = CapacityQuestion(seconds);
            if (!question || Dialogs().Confirm(this, *question)) return std::nullopt;
            return tr("The build was not started.").toStdString();
        };
        buildDriver_ = std::make_unique<video::BuildDriver>(std::move(hooks));
        buildProgress_->setRange(0, kProgressSteps);
    }

    // Ends a busy spell; true when the user asked to leave during it.
    auto leftWhileBusy = [this] {
        EnableForBuild(false);
        if (exiting_) return true;
        if (!closeAfterBuild_) return false;
        closeAfterBuild_ = false;
        close();
        return true;
    };
    QApplication::setOverrideCursor(Qt::BusyCursor);
    const video::BuildResult result = buildDriver_->Build();
    QApplication::restoreOverrideCursor();
    if (leftWhileBusy()) return;

    switch (result.status) {
        case video::BuildResult::Status::Completed:
            bLabel_->setText(
                tr("Done: %n frame(s) encoded.", nullptr, static_cast<int>(result.framesEncoded)));
            buildProgress_->setValue(kProgressSteps);
            break;
        case video::BuildResult::Status::Aborted:
            bLabel_->setText(tr("Aborted."));
            break;
        default:
            bLabel_->setText(tr("No video was made."));
            break;
    }
    QStringList problems;
    for (const std::string& line : result.Problems()) problems << QString::fromStdString(line);
    if (!problems.isEmpty()) ReportError(problems.join(QLatin1Char('\n')));
    if (!result.hasVideo()) return;

    // A place that cannot take the video (a read-only folder, a full disk)
    // must not cost the build: ask again until it is saved or the user
    // gives up.
    for (;;) {
        const QString name = Dialogs().SaveVideoName(this, SuggestedVideoName());
        if (name.isEmpty()) return;
        if (DiscKindOfSaveName(name) != disc::DiscKind::Mpeg) {
            QString message;
            const DiscSaveView view{this, bLabel_, buildProgress_, kProgressSteps, abortButton_};
            // Build stays unusable while the tools read the video.
            EnableForBuild(true);
            const DiscSaveOutcome outcome =
                SaveDisc(view, video::BuildDriver::TemporaryVideoPath(), result, name, message);
            if (leftWhileBusy()) return;
            if (outcome == DiscSaveOutcome::Written) {
                statusBar()->showMessage(tr("The disc was written as %1.").arg(message), 15000);
                return;
            }
            // The video itself is still there to be saved another way.
            if (outcome == DiscSaveOutcome::Failed)
                ReportError(message + QStringLiteral("\n\n") +
                            tr("Choose another place or save the MPEG file."));
            continue;
        }
        if (!MayWrite(name, video::VideoFileName(name.toStdString()))) continue;
        const base::Result<std::string> saved = buildDriver_->SaveVideo(name.toStdString());
        if (!saved) {
            ReportError(QString::fromStdString(saved.message()) + QStringLiteral("\n\n") +
                        tr("Choose another place for the video."));
            continue;
        }
        model::NoteLastFolder(
            "Video", QFileInfo(QString::fromStdString(*saved)).absolutePath().toStdString());
        statusBar()->showMessage(
            tr("The video was saved as %1.").arg(QString::fromStdString(*saved)), 15000);
        return;
    }
}

QString TMainForm::SuggestedVideoName() const {
    // The desktop, or the home folder on a system without one, until a video
    // has been saved somewhere that still exists.
    QString folder = QString::fromStdString(model::LastFolder("Video"));
    if (!QFileInfo(folder).isDir()) folder = DesktopFolder();
    const QString name = projectFile_.isEmpty() ? QStringLiteral("slideshow")
                                                : QFileInfo(projectFile_).completeBaseName();
    return QString::fromStdString(
        video::VideoFileName((folder + QLatin1Char('/') + name).toStdString()));
}

void TMainForm::abortButtonClick() {
    if (buildDriver_) buildDriver_->Abort();
    // Build becomes usable again only once the conversion has returned, so a
    // second build never starts inside the first.
    abortButton_->setEnabled(false);
}

}  // namespace app
