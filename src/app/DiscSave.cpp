#include "app/DiscSave.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "disc/DiscAuthor.h"
#include "model/Settings.h"
#include "showbuild/ProgressText.h"
#include "showbuild/ShowTiming.h"
#include "video/EncoderPresets.h"

namespace app {

namespace {

constexpr int kDvd = 2;

QString MpegFilter() {
    return QObject::tr("MPEG video (*.mpg *.MPG)");
}
QString FolderFilter() {
    return QObject::tr("DVD-Video folder (VIDEO_TS, AUDIO_TS)");
}

// The disc each format is written to; capacity is checked for it. An MP4
// video goes on no disc, so there is nothing to fill.
disc::DiscKind DiscOfFormat(int videoType) {
    if (!video::IsDiscFormat(videoType)) return disc::DiscKind::Mpeg;
    return videoType == kDvd ? disc::DiscKind::Folder : disc::DiscKind::BinCue;
}

}  // namespace

QStringList VideoSaveFilters(int videoType) {
    if (!video::IsDiscFormat(videoType)) return {QObject::tr("MP4 video (*.mp4 *.MP4)")};
    if (videoType == kDvd) return {MpegFilter(), FolderFilter(), QObject::tr("DVD image (*.iso)")};
    return {MpegFilter(), QObject::tr("CD image (*.cue *.bin)")};
}

QString NameForSaveFilter(const QString& typedName, const QString& filter) {
    if (filter == FolderFilter() && !typedName.endsWith(QLatin1Char('/')))
        return typedName + QLatin1Char('/');
    return typedName;
}

disc::DiscKind DiscKindOfSaveName(const QString& name) {
    if (name.endsWith(QLatin1Char('/'))) return disc::DiscKind::Folder;
    return disc::KindOfOutputName(name.toStdString());
}

std::optional<QString> CapacityQuestion(const model::TslSettings& settings, double seconds) {
    const disc::CapacityCheck check =
        disc::CheckCapacity(DiscOfFormat(settings.VideoType), settings.VideoType,
                            disc::EstimatedVideoBytes(settings.VideoType, settings.TVSet, seconds));
    if (check.fits) return std::nullopt;
    return QString::fromStdString(check.message) + QStringLiteral("\n\n") +
           QObject::tr("The video can still be saved as an MPEG file. Build it anyway?");
}

DiscSaveOutcome SaveDisc(const DiscSaveView& view, const std::string& video,
                         const video::BuildResult& built, const QString& chosenName,
                         QString& message) {
    const std::string chosen = chosenName.toStdString();
    disc::AuthorRequest request;
    request.kind = DiscKindOfSaveName(chosenName);
    if (const base::Status suits = disc::CheckKindForFormat(request.kind, built.videoType);
        !suits) {
        message = QString::fromStdString(suits.message());
        return DiscSaveOutcome::Failed;
    }
    request.videoType = built.videoType;
    request.tvSet = built.tvSet;
    request.wide = built.aspect == video::kMclAspectWide;
    request.mpegFile = video;
    request.output = disc::DiscOutputName(request.kind, chosen);
    // The window keeps no project name; the name chosen for the disc stands in.
    request.label = disc::VolumeLabel(
        QFileInfo(QString::fromStdString(request.output)).completeBaseName().toStdString());
    request.chapters =
        disc::ChapterSeconds(built.pictureStartFrames, built.framesEncoded, built.rate.perSecond());

    bool aborted = false;
    view.abort->setEnabled(true);
    const QMetaObject::Connection abortConnection =
        QObject::connect(view.abort, &QPushButton::clicked, [&aborted] { aborted = true; });
    disc::AuthorHooks hooks;
    hooks.aborted = [&aborted] {
        QApplication::processEvents();
        return aborted;
    };
    hooks.progress = [&view](const disc::AuthorProgress& progress) {
        view.label->setText(
            QStringLiteral("%1: %2%    %3")
                .arg(QString::fromStdString(progress.stage))
                .arg(static_cast<int>(progress.fraction * 100))
                .arg(QString::fromStdString(video::RemainingTimeText(progress.remainingSeconds))));
        view.bar->setValue(static_cast<int>(progress.fraction * view.barSteps));
    };
    const disc::AuthorResult result = disc::AuthorDisc(request, hooks);
    QObject::disconnect(abortConnection);
    view.abort->setEnabled(false);

    switch (result.status) {
        case disc::AuthorResult::Status::Written:
            message = QString::fromStdString(result.written);
            view.label->setText(QObject::tr("Done: %1 written.").arg(message));
            return DiscSaveOutcome::Written;
        case disc::AuthorResult::Status::Aborted:
            view.label->setText(QObject::tr("Aborted; no disc was written."));
            return DiscSaveOutcome::Aborted;
        case disc::AuthorResult::Status::Failed:
            break;
    }
    message = QString::fromStdString(result.message);
    view.label->setText(QObject::tr("No disc was made."));
    return DiscSaveOutcome::Failed;
}

}  // namespace app
