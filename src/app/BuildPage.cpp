#include "app/BuildPage.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "app/DiscSave.h"
#include "app/FolderBrowser.h"
#include "app/Icons.h"
#include "app/PictureView.h"
#include "app/SubtitleChoice.h"
#include "app/Thumbnails.h"
#include "app/UserDialogs.h"
#include "app/WidgetFactory.h"
#include "base/Swallow.h"
#include "model/RecentProjects.h"
#include "model/Settings.h"
#include "model/VideoFormatKeys.h"
#include "music/MusicService.h"
#include "showbuild/BuildDriver.h"
#include "showbuild/FrameGeometry.h"
#include "video/MclDef.h"

namespace app {

namespace {

// Fine enough that the bar moves every frame of a short show.
constexpr int kProgressSteps = 1000;
// How often the frame view and the progress follow a build: often enough to
// look live, seldom enough to cost the build nothing worth measuring.
constexpr int kViewIntervalMs = 100;

QImage DecorativePicture() {
    QImage picture(360, 240, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, 0, 240);
    sky.setColorAt(0, QColor(0x1c, 0x3f, 0x8f));
    sky.setColorAt(1, QColor(0x6a, 0xa7, 0xe8));
    painter.fillRect(picture.rect(), sky);
    PaintedIcon(IconKind::Build).paint(&painter, QRect(100, 40, 160, 160));
    return picture;
}

}  // namespace

BuildPage::BuildPage(model::Show& show, QWidget* parent) : QWidget(parent), show_(show) {
    setObjectName(QStringLiteral("BuildTab"));

    buildButton_ = Button("buildButton", tr("Build"), tr("Make the video"));
    QFont bold = buildButton_->font();
    bold.setBold(true);
    buildButton_->setFont(bold);
    abortButton_ = Button("abortButton", tr("Abort"), tr("Stop the running build"));
    abortButton_->setEnabled(false);
    saveButton_ = Button("saveVideoButton", tr("Save Video..."),
                         tr("Save the video just built, or write it to a disc"));
    saveButton_->hide();

    bLabel_ = Label("bLabel", tr("Progress: 0%    Remaining Time: 00:00:00"));
    bLabel_->setAlignment(Qt::AlignCenter);
    bLabel_->hide();
    buildProgress_ = Named(new QProgressBar, "buildProgress");
    buildProgress_->setRange(0, 100);
    buildProgress_->setValue(0);
    buildProgress_->setTextVisible(false);  // the label below says it
    buildProgress_->hide();
    buildMusicNote_ =
        Label("buildMusicNote", tr("Background music is off: the video will be silent."));
    buildMusicNote_->setAlignment(Qt::AlignCenter);
    subtitles_ = new SubtitleChoice;
    connect(subtitles_, &SubtitleChoice::Chosen, this, [this](uint8_t mode) {
        show_.settings.Subtitles = mode;
        emit Changed();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(buildButton_);
    buttons->addWidget(abortButton_);
    buttons->addWidget(saveButton_);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CreatePicture(), 1);
    layout->addWidget(buildProgress_);
    layout->addWidget(bLabel_);
    layout->addWidget(buildMusicNote_);
    layout->addWidget(subtitles_);
    layout->addLayout(buttons);

    // The bar follows a build and a disc being written alike; the window's
    // title follows the bar.
    connect(buildProgress_, &QProgressBar::valueChanged, this, [this](int value) {
        if (building_) emit ProgressShown(value * 100 / std::max(1, buildProgress_->maximum()));
    });

    viewTimer_ = new QTimer(this);
    viewTimer_->setInterval(kViewIntervalMs);
    connect(viewTimer_, &QTimer::timeout, this, &BuildPage::ShowLatest);

    connect(buildButton_, &QPushButton::clicked, this, &BuildPage::buildButtonClick);
    connect(abortButton_, &QPushButton::clicked, this, &BuildPage::abortButtonClick);
    connect(saveButton_, &QPushButton::clicked, this, &BuildPage::saveButtonClick);
}

BuildPage::~BuildPage() {
    // The kept video lives until the program ends; a build still running
    // removes its own when it returns.
    if (!building_ && built_)
        base::IgnoreFault("app::BuildPage::~BuildPage", video::BuildDriver::DiscardVideo());
}

void BuildPage::RefreshFromSettings(const model::TslSettings& s) {
    subtitles_->Follow(s);
}

QWidget* BuildPage::CreatePicture() {
    auto* frame = Named(new QFrame, "Panel3");
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Sunken);
    bImage_ = Named(new PictureView, "bImage");
    bImage_->setMinimumSize(160, 120);
    bImage_->SetPicture(DecorativePicture());
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(2, 2, 2, 2);
    frameLayout->addWidget(bImage_);
    return frame;
}

void BuildPage::StartBuild() {
    if (buildButton_->isEnabled()) buildButton_->click();
}

void BuildPage::Abort() {
    if (abortButton_->isEnabled()) abortButton_->click();
}

bool BuildPage::MayStop() {
    if (building_)
        return Dialogs().Confirm(window(), tr("A video is being built. Stop the build and exit?\n\n"
                                              "What was made so far is not kept."));
    if (built_ && !builtSaved_)
        return Dialogs().Confirm(
            window(), tr("The video just built has not been saved. Exit and discard it?"));
    return true;
}

void BuildPage::CloseWhenDone() {
    closeAfterBuild_ = true;
    Abort();
}

void BuildPage::Leave() {
    leaving_ = true;
    Abort();
}

void BuildPage::ShowMusicOffNote(bool off) {
    buildMusicNote_->setVisible(off);
}

void BuildPage::ReportError(const QString& text) {
    Dialogs().ShowError(window(), text);
}

void BuildPage::EnableForBuild(bool building) {
    building_ = building;
    buildButton_->setEnabled(!building);
    abortButton_->setEnabled(building);
    saveButton_->setEnabled(!building);
    // The window holds back what would change the working store or stall
    // the conversion while it runs; switching steps and editing stay possible.
    emit BuildingChanged(building);
    if (building) {
        abortButton_->setFocus();
        bLabel_->show();
        buildProgress_->setValue(0);
        buildProgress_->show();
        viewTimer_->start();
    } else {
        // The last frame and step are shown even when the build ended
        // between two ticks.
        viewTimer_->stop();
        ShowLatest();
    }
}

void BuildPage::ShowLatest() {
    if (const std::optional<video::BuildProgress> progress = latestProgress_.Take()) {
        bLabel_->setText(QString::fromStdString(progress->text()));
        // The encoder reports "finished" after an abort too; a completed
        // build fills the bar once it has returned, an aborted one keeps
        // it where it stopped.
        if (progress->kind != video::kMclProgressFinished)
            buildProgress_->setValue(static_cast<int>(progress->fraction() * kProgressSteps));
    }
    if (const std::optional<raster::Bitmap> frame = latestFrame_.Take()) {
        // Disc frames fill a 4:3 or 16:9 screen; MP4 frames have square pixels.
        const auto format = video::FrameFormatOf(show_.settings);
        bImage_->SetPicture(
            ImageFromBitmap(*frame),
            format ? double(format->displayWidth) / format->displayHeight : 4.0 / 3.0);
        bImage_->update();
    }
}

void BuildPage::MakeDriver() {
    video::BuildHooks hooks;
    hooks.stopMusic = [] { music::StopMusic(false); };
    hooks.progress = [this](const video::BuildProgress& progress) {
        latestProgress_.Put(progress);
        // Lets Abort, Exit, the other steps and the view's timer work during
        // the conversion.
        QApplication::processEvents();
    };
    hooks.frameShown = [this](const raster::Bitmap& frame) { latestFrame_.Put(frame); };
    hooks.stateChanged = [this](video::BuildState state) {
        EnableForBuild(state == video::BuildState::Building);
    };
    hooks.approveLength = [this](double seconds) -> base::Status {
        const std::optional<QString> question = CapacityQuestion(show_.settings, seconds);
        if (question && !Dialogs().Confirm(window(), *question))
            return base::MakeFault("declined", base::FaultKind::Declined);
        // The new build replaces the video kept from the last one; should it
        // fail, no older video is left lying about. Declined, the kept one stays.
        ForgetKeptVideo();
        return {};
    };
    buildDriver_ = std::make_unique<video::BuildDriver>(std::move(hooks));
    buildProgress_->setRange(0, kProgressSteps);
}

bool BuildPage::LeftWhileBusy() {
    EnableForBuild(false);
    if (!leaving_ && !closeAfterBuild_) return false;
    // What was built is not kept past the end of the program.
    built_.reset();
    base::IgnoreFault("app::BuildPage::LeftWhileBusy", video::BuildDriver::DiscardVideo());
    if (leaving_) return true;
    closeAfterBuild_ = false;
    window()->close();
    return true;
}

void BuildPage::buildButtonClick() {
    if (building_) return;
    if (!buildDriver_) MakeDriver();
    // What the step shows now, for a build the user declines at its start.
    const QString label = bLabel_->text();
    const bool labelShown = bLabel_->isVisibleTo(this);
    const int progress = buildProgress_->value();
    const bool progressShown = buildProgress_->isVisibleTo(this);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    // The window collects its show; the build works on a copy of it.
    emit SettingsWanted();
    const video::BuildResult result = buildDriver_->Build(show_);
    QApplication::restoreOverrideCursor();
    if (LeftWhileBusy()) return;
    if (result.status == video::BuildResult::Status::Declined) {
        bLabel_->setText(label);
        bLabel_->setVisible(labelShown);
        buildProgress_->setValue(progress);
        buildProgress_->setVisible(progressShown);
        return;
    }
    ShowResult(result);
    if (!result.hasVideo()) return;
    built_ = std::make_unique<video::BuildResult>(result);
    builtSaved_ = false;
    saveButton_->show();
    SaveBuiltVideo(result);
}

void BuildPage::ForgetKeptVideo() {
    built_.reset();
    saveButton_->hide();
    base::IgnoreFault("app::BuildPage::ForgetKeptVideo", video::BuildDriver::DiscardVideo());
}

void BuildPage::saveButtonClick() {
    // A copy: discarding the video forgets the kept result.
    if (built_) SaveBuiltVideo(video::BuildResult(*built_));
}

void BuildPage::DiscardBuiltVideo() {
    built_.reset();
    saveButton_->hide();
    if (const base::Status removed = video::BuildDriver::DiscardVideo(); !removed)
        ReportError(QString::fromStdString(removed.message()));
}

void BuildPage::ShowResult(const video::BuildResult& result) {
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
}

void BuildPage::SaveBuiltVideo(const video::BuildResult& result) {
    // A place that cannot take the video (a read-only folder, a full disk)
    // must not cost the build: ask again until it is saved or the user
    // gives up.
    for (;;) {
        const QString name =
            Dialogs().SaveVideoName(window(), SuggestedVideoName(), result.videoType);
        if (name.isEmpty()) {
            if (!builtSaved_ &&
                Dialogs().Confirm(window(),
                                  tr("Discard the video just built? It has not been saved.\n\n"
                                     "No keeps it: Save Video... saves it later.")))
                DiscardBuiltVideo();
            return;
        }
        if (DiscKindOfSaveName(name) != disc::DiscKind::Mpeg) {
            QString message;
            const DiscSaveView view{window(), bLabel_, buildProgress_, kProgressSteps,
                                    abortButton_};
            // Build stays unusable while the tools read the video.
            EnableForBuild(true);
            const DiscSaveOutcome outcome =
                SaveDisc(view, video::BuildDriver::TemporaryVideoPath(), result, name, message);
            if (LeftWhileBusy()) return;
            if (outcome == DiscSaveOutcome::Written) {
                builtSaved_ = true;
                emit StatusMessage(tr("The disc was written as %1.").arg(message));
                return;
            }
            // The video itself is still there to be saved another way.
            if (outcome == DiscSaveOutcome::Failed)
                ReportError(message + QStringLiteral("\n\n") +
                            tr("Choose another place or save the MPEG file."));
            continue;
        }
        if (!MayReplace(window(), name, video::VideoFileName(name.toStdString(), VideoExtension())))
            continue;
        const base::Result<std::string> saved = buildDriver_->SaveVideo(name.toStdString());
        if (!saved) {
            ReportError(QString::fromStdString(saved.message()) + QStringLiteral("\n\n") +
                        tr("Choose another place for the video."));
            continue;
        }
        builtSaved_ = true;
        model::NoteLastFolder(
            "Video", QFileInfo(QString::fromStdString(*saved)).absolutePath().toStdString());
        emit StatusMessage(tr("The video was saved as %1.").arg(QString::fromStdString(*saved)));
        return;
    }
}

QString BuildPage::SuggestedVideoName() const {
    // The desktop, or the home folder on a system without one, until a video
    // has been saved somewhere that still exists.
    QString folder = QString::fromStdString(model::LastFolder("Video"));
    if (!QFileInfo(folder).isDir()) folder = DesktopFolder();
    const QString name = projectFile_.isEmpty() ? QStringLiteral("slideshow")
                                                : QFileInfo(projectFile_).completeBaseName();
    return QString::fromStdString(
        video::VideoFileName((folder + QLatin1Char('/') + name).toStdString(), VideoExtension()));
}

const char* BuildPage::VideoExtension() const {
    // Once built, the video's own format names it.
    const auto format =
        video::FrameFormatFor(built_ ? built_->videoType : show_.settings.VideoType);
    return format ? format->extension : ".mpg";
}

void BuildPage::abortButtonClick() {
    if (buildDriver_) buildDriver_->Abort();
    // Build becomes usable again only once the conversion has returned, so a
    // second build never starts inside the first.
    abortButton_->setEnabled(false);
}

}  // namespace app
