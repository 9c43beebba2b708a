// Qt item models over the model's image list and music list, so the Images
// and Music steps can show them in ordinary views: one row per entry, its
// check box bound to the entry's check mark.
#pragma once

#include <QAbstractTableModel>
#include <QDateTime>
#include <QPersistentModelIndex>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/SubjectQueue.h"
#include "base/Result.h"
#include "model/MediaLists.h"

namespace base {
template <class Job>
class WorkQueue;
}  // namespace base
namespace music {
class LengthWorker;
}  // namespace music

namespace app {

// Local paths of the files and folders in drag-and-drop data; addresses
// that name no local file are counted in notLocal.
QStringList DroppedPaths(const QMimeData* data, int* notLocal = nullptr);
// The status line's note on dropped addresses that name no local file, or
// nothing when there were none.
QString NotLocalNote(int notLocal);
// The folder of an added file, ending with "/", as the folders the add
// dialogs start in are kept.
std::string FolderOfFile(const QString& file);

// What both lists share: files and folders dropped from the file manager
// are announced, not added, since the window applies its own rules for
// additions.
class PathDropModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    QStringList mimeTypes() const override;
    Qt::DropActions supportedDropActions() const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

    // The edits both steps' commands make, whatever the entries are.
    virtual void Remove(int row) = 0;
    virtual void Clear() = 0;
    // Moves one row to another position, keeping all it holds; false when
    // either is out of range or they are the same.
    virtual bool Move(int from, int to) = 0;
    // Moves several rows, keeping their order, to stand together before the
    // row 'before' (rowCount: at the end); rows out of range are ignored.
    // Gives the rows where they landed.
    virtual std::vector<int> MoveRows(std::vector<int> rows, int before) = 0;

signals:
    // row: the row the drop landed before, -1 for the end of the list.
    void PathsDropped(const QStringList& paths, int notLocal, int row);
};

// What both lists' models share: the entries, their reload from the store,
// removal, moves, the row count and the check boxes.
template <class EntryList>
class EntryListModel : public PathDropModel {
public:
    using PathDropModel::PathDropModel;

    const EntryList& List() const { return list_; }

    // Replaces every row with the list's entries in the store.
    void FillFromStore(const model::IniFile& store) {
        beginResetModel();
        list_.FillFromStore(store);
        endResetModel();
    }
    void Remove(int row) override {
        if (row < 0 || row >= rowCount()) return;
        beginRemoveRows(QModelIndex(), row, row);
        list_.Remove(static_cast<size_t>(row));
        endRemoveRows();
    }
    void Clear() override {
        beginResetModel();
        list_.Clear();
        endResetModel();
    }
    bool Move(int from, int to) override {
        if (from < 0 || to < 0 || from >= rowCount() || to >= rowCount() || from == to)
            return false;
        // Qt names the destination as the row the item is inserted before.
        beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
        list_.Move(static_cast<size_t>(from), static_cast<size_t>(to));
        endMoveRows();
        return true;
    }

    std::vector<int> MoveRows(std::vector<int> rows, int before) override {
        std::erase_if(rows, [this](int row) { return row < 0 || row >= rowCount(); });
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        before = std::clamp(before, 0, rowCount());
        // Each moved row goes just before the first row not moved at or after
        // 'before', so they line up there in their order whatever their
        // positions do meanwhile.
        int anchor = before;
        while (anchor < rowCount() && std::binary_search(rows.begin(), rows.end(), anchor))
            ++anchor;
        const QPersistentModelIndex anchorIndex =
            anchor < rowCount() ? index(anchor, 0) : QModelIndex();
        std::vector<QPersistentModelIndex> moving;
        for (const int row : rows) moving.emplace_back(index(row, 0));
        for (const QPersistentModelIndex& row : moving) {
            const int from = row.row();
            const int destination = anchorIndex.isValid() ? anchorIndex.row() : rowCount();
            const int to = from < destination ? destination - 1 : destination;
            if (from == to) continue;
            beginMoveRows(QModelIndex(), from, from, QModelIndex(), destination);
            list_.Move(static_cast<size_t>(from), static_cast<size_t>(to));
            endMoveRows();
        }
        std::vector<int> landed;
        for (const QPersistentModelIndex& row : moving) landed.push_back(row.row());
        return landed;
    }

    // Puts the rows in a new order ('order' names, for each row, the row its
    // entry was in); views keep their selection on the same entries. False
    // unless 'order' names every row once.
    bool Reorder(const std::vector<size_t>& order) {
        if (order.size() != list_.Count()) return false;
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        if (!list_.Reorder(order)) {
            emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
            return false;
        }
        std::vector<int> rowOf(order.size());
        for (size_t to = 0; to < order.size(); ++to) rowOf[order[to]] = static_cast<int>(to);
        QModelIndexList before = persistentIndexList(), after;
        for (const QModelIndex& index : before)
            after << this->index(rowOf[static_cast<size_t>(index.row())], index.column());
        changePersistentIndexList(before, after);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
        return true;
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(list_.Count());
    }
    // The check box in the first column is the only thing a view may change.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (!index.isValid() || role != Qt::CheckStateRole || index.column() != 0 ||
            index.row() >= rowCount())
            return false;
        list_.SetChecked(static_cast<size_t>(index.row()),
                         value.value<Qt::CheckState>() == Qt::Checked);
        emit dataChanged(index, index, {Qt::CheckStateRole});
        return true;
    }

protected:
    EntryList list_;
};

// One column: the entry's path with its check box. Whether a picture can be
// read is found on a thread of its own (some kinds are read only by decoding
// them whole), so a row is drawn as readable until its check is back. A
// readable picture's subject is then found on another (SubjectQueue), for
// its motion to aim at.
class ImageListModel : public EntryListModel<model::ImageList> {
    Q_OBJECT

public:
    // Reads a picture file as the build would, its pixels included (a
    // cut-off file passes a look at its header); called on the checking thread.
    using PictureProbe = std::function<base::Status(const std::string& path)>;

    // Without a probe, pictures are checked as the build checks them; without
    // 'findSubject', subjects are found into the user's cache.
    explicit ImageListModel(QObject* parent = nullptr, PictureProbe probe = {},
                            SubjectQueue::Find findSubject = {});
    ~ImageListModel() override;

    void Append(const model::TImageEntry& entry);
    // Inserts before row (past the end: appends).
    void Insert(int row, const model::TImageEntry& entry);
    // Whether an entry with this path is listed (paths compare as the file
    // system does).
    bool Contains(const QString& path) const;
    QString PathAt(int row) const;
    // Why the picture file of an entry cannot be read, as the build would
    // find it; nothing for a readable picture, a folder, a missing file or
    // one whose check is not back yet (it is queued then). Each file is
    // read once until it changes on disk.
    std::optional<QString> PictureProblem(const std::string& path) const;
    // The show's pictures less those whose checks found them unusable, as
    // the build would leave them out; pictures not checked yet are kept
    // (and queued), so the caller counts them until the checks are back.
    std::vector<std::string> UsablePictures(std::vector<std::string> pictures) const;
    // Whether checks asked for are still under way.
    bool Checking() const;

signals:
    // A picture's subject was found and cached.
    void SubjectFound(const QString& path);

public:
    // A probe that answers from the checks made so far, for files unchanged
    // since, and reads the others itself: a show prepared with it does not
    // decode again what the list has decoded. Safe on any thread (it holds
    // a copy of the results).
    PictureProbe KnownChecks() const;

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Checked {
        QDateTime modified;
        qint64 size = 0;
        bool known = false;  // false while the check is under way
        std::optional<QString> problem;
    };
    struct CheckJob {
        std::string path;  // the file itself
        Checked facts;
    };
    // Writes the checks that are back into the cache and repaints the list.
    void TakeChecked();
    // The list is replaced: the checks queued for it are dropped.
    void DropChecks();

    PictureProbe probe_;
    mutable std::map<std::string, Checked> checked_;
    mutable std::unique_ptr<base::WorkQueue<CheckJob>> checker_;
    SubjectQueue subjects_;
};

// Two columns: the path with its check box, and the length.
class MusicListModel : public EntryListModel<model::MusicList> {
    Q_OBJECT

public:
    enum Column { kPathColumn = 0, kLengthColumn = 1, kTempoColumn = 2, kColumnCount = 3 };

    explicit MusicListModel(QObject* parent = nullptr);

    void Append(const model::TMusicEntry& entry);
    const model::TMusicEntry& EntryAt(int row) const { return list_.At(static_cast<size_t>(row)); }
    // A file the length pass found no MP3 stream in: it plays no part.
    static bool Unreadable(const model::TMusicEntry& entry);
    // Why an unreadable row cannot be played, as the length pass found.
    static std::string UnreadableReason(const model::TMusicEntry& entry);
    ~MusicListModel() override;
    // The length pass, waited for: every row whose file exists and that has
    // no length is measured now (what the background pass has done is kept).
    void MeasureLengths();
    // The length pass in the background: the files are decoded on a thread
    // of its own and each row's length shown as it comes; a change to the
    // list cancels it and asks for a new one (MeasuringWanted).
    void StartMeasuring();

signals:
    // 'finished' of 'total' files measured; total 0 once the pass is over.
    void MeasuringProgress(int finished, int total);
    void MeasuringWanted();

public:
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // Writes what the background pass has decoded into the rows.
    void TakeMeasured();
    void StopMeasuring();

    std::unique_ptr<music::LengthWorker> worker_;
};

}  // namespace app
