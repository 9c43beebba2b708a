#include "app/MediaListModels.h"

#include <algorithm>

#include <QApplication>
#include <QFileInfo>
#include <QMimeData>
#include <QPalette>
#include <QUrl>

#include "app/Icons.h"
#include "base/WorkQueue.h"
#include "model/FileIo.h"
#include "model/MediaPaths.h"
#include "model/MusicBeats.h"
#include "model/TitleCard.h"
#include "music/LengthWorker.h"
#include "music/MusicLength.h"
#include "showbuild/BuildPictures.h"

namespace app {

namespace {

const QString kUriList = QStringLiteral("text/uri-list");

QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}

// Whether a listed path still exists, resolving names in the sample folder;
// a title card is no file and is always there.
bool EntryExists(const std::string& path) {
    if (model::IsTitleCard(path)) return true;
    std::string resolved = path;
    return model::ResolveMediaPath(resolved) || model::FolderExists(path);
}

QVariant MissingEntryColor() {
    return QApplication::palette().color(QPalette::Disabled, QPalette::Text);
}

}  // namespace

QStringList DroppedPaths(const QMimeData* data, int* notLocal) {
    QStringList paths;
    if (notLocal != nullptr) *notLocal = 0;
    if (data == nullptr || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            paths << url.toLocalFile();
        else if (notLocal != nullptr)
            ++*notLocal;
    }
    return paths;
}

QString NotLocalNote(int notLocal) {
    if (notLocal <= 0) return {};
    return PathDropModel::tr("%n address(es) naming no file on this computer, left out.", nullptr,
                             notLocal);
}

std::string FolderOfFile(const QString& file) {
    QString folder = QFileInfo(file).absolutePath();
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder.toStdString();
}

// --- dropped files ---

QStringList PathDropModel::mimeTypes() const {
    return {kUriList};
}

Qt::DropActions PathDropModel::supportedDropActions() const {
    return Qt::CopyAction | Qt::LinkAction | Qt::MoveAction;
}

bool PathDropModel::canDropMimeData(const QMimeData* data, Qt::DropAction, int, int,
                                    const QModelIndex&) const {
    return !DroppedPaths(data).isEmpty();
}

bool PathDropModel::dropMimeData(const QMimeData* data, Qt::DropAction, int row, int,
                                 const QModelIndex& parent) {
    int notLocal = 0;
    const QStringList paths = DroppedPaths(data, &notLocal);
    if (paths.isEmpty()) return false;
    // Dropped onto a row, the files go before it.
    emit PathsDropped(paths, notLocal, row >= 0 ? row : parent.isValid() ? parent.row() : -1);
    // The window adds the rows itself; the view must not remove anything.
    return false;
}

// --- images ---

ImageListModel::ImageListModel(QObject* parent, PictureProbe probe, SubjectQueue::Find findSubject)
    : EntryListModel(parent),
      probe_(probe ? std::move(probe) : PictureProbe(video::CheckWholePicture)),
      subjects_(std::move(findSubject), [this] {
          // Posted to the model: dropped unread if the model is gone.
          QMetaObject::invokeMethod(
              this,
              [this] {
                  for (const std::string& path : subjects_.TakeFound())
                      emit SubjectFound(ToQt(path));
              },
              Qt::QueuedConnection);
      }) {
    // A new list: checks queued for the old one are no longer wanted.
    connect(this, &QAbstractItemModel::modelReset, this, [this] { DropChecks(); });
}

ImageListModel::~ImageListModel() = default;

void ImageListModel::Append(const model::TImageEntry& entry) {
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    list_.Append(entry);
    endInsertRows();
}

void ImageListModel::Insert(int row, const model::TImageEntry& entry) {
    row = std::clamp(row, 0, rowCount());
    beginInsertRows(QModelIndex(), row, row);
    list_.Insert(static_cast<size_t>(row), entry);
    endInsertRows();
}

bool ImageListModel::Contains(const QString& path) const {
    const std::string wanted = path.toStdString();
    for (const model::TImageEntry& entry : list_.Entries())
        if (model::SamePath(entry.Path, wanted)) return true;
    return false;
}

QString ImageListModel::PathAt(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    return ToQt(list_.At(static_cast<size_t>(row)).Path);
}

int ImageListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1;
}

std::optional<QString> ImageListModel::PictureProblem(const std::string& path) const {
    std::string resolved = path;
    if (path.empty() || path.back() == '/' || !model::ResolveMediaPath(resolved)) return {};
    const QFileInfo file(ToQt(resolved));
    Checked& known = checked_[resolved];
    if (known.modified.isValid() && known.modified == file.lastModified() &&
        known.size == file.size())
        return known.problem;
    known = {file.lastModified(), file.size(), false, {}};
    if (!checker_) {
        auto* self = const_cast<ImageListModel*>(this);
        checker_ = std::make_unique<base::WorkQueue<CheckJob>>(
            "app::ImageListModel",
            [probe = probe_](CheckJob& job, const auto&) {
                if (const base::Status probed = probe(job.path); !probed)
                    job.facts.problem = ToQt(probed.message());
                job.facts.known = true;
            },
            [self] {
                // Posted to the model: dropped unread if the model is gone.
                QMetaObject::invokeMethod(
                    self, [self] { self->TakeChecked(); }, Qt::QueuedConnection);
            },
            std::vector<CheckJob>{}, false, base::Urgency::Background);
    }
    checker_->Add({{resolved, known}});
    return {};
}

std::vector<std::string> ImageListModel::UsablePictures(std::vector<std::string> pictures) const {
    std::erase_if(pictures, [this](const std::string& path) {
        if (model::IsTitleCard(path)) return false;
        std::string resolved = path;
        return !model::ResolveMediaPath(resolved) || PictureProblem(path).has_value();
    });
    return pictures;
}

ImageListModel::PictureProbe ImageListModel::KnownChecks() const {
    auto known = std::make_shared<std::map<std::string, Checked>>();
    for (const auto& [path, facts] : checked_)
        if (facts.known) known->emplace(path, facts);
    return [known, probe = probe_](const std::string& path) -> base::Status {
        std::string resolved = path;
        if (model::ResolveMediaPath(resolved))
            if (const auto found = known->find(resolved); found != known->end()) {
                const QFileInfo file(ToQt(resolved));
                if (found->second.modified == file.lastModified() &&
                    found->second.size == file.size()) {
                    if (!found->second.problem) return {};
                    return base::MakeFault(found->second.problem->toStdString(),
                                           base::FaultKind::BadData);
                }
            }
        return probe(path);
    };
}

bool ImageListModel::Checking() const {
    return std::any_of(checked_.begin(), checked_.end(),
                       [](const auto& entry) { return !entry.second.known; });
}

void ImageListModel::TakeChecked() {
    if (!checker_) return;
    bool learned = false;
    for (CheckJob& job : checker_->TakeFinished()) {
        // What a check found stays true of its file whatever the list is
        // now, unless the file changed again while it was read.
        Checked& known = checked_[job.path];
        if (known.modified.isValid() &&
            (known.known || known.modified != job.facts.modified || known.size != job.facts.size))
            continue;
        known = std::move(job.facts);
        learned = true;
        if (!known.problem) subjects_.Want(job.path);
    }
    // One notice for the batch: a view repaints only the rows it shows, and
    // looking up each checked file's rows would cost the list's length per file.
    if (learned && rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0),
                         {Qt::ToolTipRole, Qt::ForegroundRole});
}

void ImageListModel::DropChecks() {
    if (!checker_) return;
    // The check under way finishes on its own: a picture cannot be stopped
    // midway through its decoding, and waiting for it would hold up the
    // window. The model's end waits for it.
    checker_->DropPending();
    subjects_.DropPending();
    std::erase_if(checked_, [](const auto& entry) { return !entry.second.known; });
}

QVariant ImageListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const model::TImageEntry& entry = list_.At(static_cast<size_t>(index.row()));
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return ToQt(entry.Path);
        case Qt::CheckStateRole:
            return entry.Checked ? Qt::Checked : Qt::Unchecked;
        case Qt::ToolTipRole:
            if (model::IsTitleCard(entry.Path)) return tr("A title card");
            if (!EntryExists(entry.Path)) return tr("%1 (not found)").arg(ToQt(entry.Path));
            if (const auto problem = PictureProblem(entry.Path))
                return tr("%1 (not used in the show)").arg(*problem);
            return ToQt(entry.Path);
        case Qt::ForegroundRole:
            return EntryExists(entry.Path) && !PictureProblem(entry.Path) ? QVariant()
                                                                          : MissingEntryColor();
        case Qt::DecorationRole:
            if (!entry.Path.empty() && entry.Path.back() == '/')
                return PaintedIcon(IconKind::Folder);
            return {};
        default:
            return {};
    }
}

Qt::ItemFlags ImageListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    // Dragging tiles reorders the storyboard; the list view starts no drags.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
           Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

// --- music ---

MusicListModel::MusicListModel(QObject* parent) : EntryListModel(parent) {
    // Rows added or removed, or a new list: the pass under way measures a
    // list that is no more.
    connect(this, &QAbstractItemModel::rowsInserted, this, [this] { StopMeasuring(); });
    connect(this, &QAbstractItemModel::rowsRemoved, this, [this] { StopMeasuring(); });
    connect(this, &QAbstractItemModel::modelReset, this, [this] { StopMeasuring(); });
}

MusicListModel::~MusicListModel() = default;

void MusicListModel::Append(const model::TMusicEntry& entry) {
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    list_.Insert(static_cast<size_t>(row), entry);
    endInsertRows();
}

std::string MusicListModel::UnreadableReason(const model::TMusicEntry& entry) {
    // Rows measured before the reason was kept were MP3 files.
    return entry.Fault.empty() ? "it could not be read as MP3 music" : entry.Fault;
}

bool MusicListModel::Unreadable(const model::TMusicEntry& entry) {
    // The length pass stores -1 for a file the decoder found no length in.
    return entry.HasLength && entry.LengthMs == "-1";
}

void MusicListModel::MeasureLengths() {
    // The background pass measures this very list: letting it finish loses
    // none of its work.
    if (worker_) {
        worker_->Wait();
        TakeMeasured();
    }
    const std::vector<music::LengthJob> pending = music::PendingLengthJobs(list_);
    if (pending.empty()) return;
    music::MeasureMusicLengths(list_);
    emit dataChanged(index(0, kPathColumn), index(rowCount() - 1, kTempoColumn));
}

void MusicListModel::StartMeasuring() {
    if (worker_) return;
    std::vector<music::LengthJob> jobs = music::PendingLengthJobs(list_);
    if (jobs.empty()) return;
    worker_ = std::make_unique<music::LengthWorker>(std::move(jobs), [this] {
        QMetaObject::invokeMethod(
            this, [this] { TakeMeasured(); }, Qt::QueuedConnection);
    });
    emit MeasuringProgress(0, worker_->Total());
}

void MusicListModel::TakeMeasured() {
    if (!worker_) return;
    auto [finished, done] = worker_->TakeFinishedAndDone();
    for (const music::LengthJob& job : finished) music::ApplyLengthJob(list_, job);
    // Loudness shows nowhere, but the tempo does, also of rows measured
    // before beats were kept.
    if (!finished.empty() && rowCount() > 0)
        emit dataChanged(index(0, kPathColumn), index(rowCount() - 1, kTempoColumn));
    emit MeasuringProgress(worker_->Finished(), done ? 0 : worker_->Total());
    if (done) worker_.reset();
}

void MusicListModel::StopMeasuring() {
    if (!worker_) return;
    worker_->Cancel();
    worker_->Wait();
    // What was measured stays: it is written by file, whatever the rows are now.
    TakeMeasured();
    worker_.reset();
    emit MeasuringProgress(0, 0);
    emit MeasuringWanted();
}

int MusicListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant MusicListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const model::TMusicEntry& entry = list_.At(static_cast<size_t>(index.row()));
    if (index.column() == kLengthColumn) {
        if (role == Qt::DisplayRole) return entry.HasLength ? ToQt(entry.LengthText) : QString();
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    if (index.column() == kTempoColumn) {
        const std::optional<model::StoredBeats> beats = model::ParseBeatsText(entry.Beats);
        if (role == Qt::DisplayRole) {
            if (!beats) return QString();
            return beats->tempo > 0 ? tr("%1 bpm").arg(beats->tempo, 0, 'f', 0) : tr("no beat");
        }
        if (role == Qt::ToolTipRole && beats && beats->tempo <= 0)
            return tr("No steady beat: on the beat, the pictures keep their intervals here");
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return ToQt(entry.Path);
        case Qt::CheckStateRole:
            return entry.Checked ? Qt::Checked : Qt::Unchecked;
        case Qt::ToolTipRole:
            if (!EntryExists(entry.Path)) return tr("%1 (not found)").arg(ToQt(entry.Path));
            if (Unreadable(entry))
                return tr("%1 (%2; not used in the show)")
                    .arg(ToQt(entry.Path), ToQt(UnreadableReason(entry)));
            return ToQt(entry.Path);
        case Qt::ForegroundRole:
            return EntryExists(entry.Path) && !Unreadable(entry) ? QVariant() : MissingEntryColor();
        default:
            return {};
    }
}

QVariant MusicListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section == kPathColumn) return tr("Music");
    if (section == kLengthColumn) return tr("Length");
    if (section == kTempoColumn) return tr("Tempo");
    return {};
}

Qt::ItemFlags MusicListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == kPathColumn) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

}  // namespace app
