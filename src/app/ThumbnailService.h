// Thumbnails for the storyboard's tiles, made without the window ever
// waiting: a request is answered at once from memory, or else queued and
// announced (Ready) when its thumbnail is there. Queued requests are served
// newest first, since the tiles asked for last are the ones on screen, and
// the view drops the requests of tiles scrolled away (KeepOnly). A picture
// is read from the disk cache when it has been made before, else decoded at
// reduced size (JPEG's DCT scaling, HEIF's thumbnail, a RAW file's preview)
// on worker threads, and the result written to the disk cache.
#pragma once

#include <QCache>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>

#include <deque>
#include <memory>
#include <vector>

namespace base {
template <class Job>
class WorkQueue;
}  // namespace base

namespace app {

class ThumbnailService : public QObject {
    Q_OBJECT

public:
    struct Options {
        QString cacheFolder;  // empty: the user's cache folder
        int workers = 2;
        qint64 memoryBytes = 128LL << 20;
    };
    // A thumbnail as it stands: the picture (maybe of another tile size while
    // the right one is made), or why the file cannot be shown.
    struct Answer {
        QImage picture;
        QString problem;
        bool final = false;  // nothing more will come for this request
    };

    explicit ThumbnailService(Options options, QObject* parent = nullptr);
    ~ThumbnailService() override;

    // The thumbnail of a picture for a tile of tileSize pixels; queued when
    // it is not in memory yet.
    Answer Request(const QString& path, int tileSize);
    // Drops the queued requests of pictures not in visible; those under way
    // finish and are kept.
    void KeepOnly(const QSet<QString>& visible);
    // Requests queued or under way.
    int Outstanding() const;

signals:
    // A requested thumbnail (or its problem) is now in memory.
    void Ready(const QString& path);

private:
    struct Job;
    struct Known {
        QImage picture;
        QString problem;
    };
    // A request waiting for a worker.
    struct Pending {
        QString path;
        int bucket = 0;
        QString key;
    };
    // Names a thumbnail by the picture's path, size and time, so a picture
    // changed on disk is made again; stamp is Stamp(path).
    static QString Stamp(const QString& path);
    static QString Key(const QString& path, int bucket, const QString& stamp);
    void Feed();
    void TakeFinished(size_t worker);

    Options options_;
    QCache<QString, Known> memory_;
    std::deque<Pending> queued_;  // newest first
    QSet<QString> outstanding_;   // keys queued or under way
    std::vector<std::unique_ptr<base::WorkQueue<Job>>> workers_;
    std::vector<bool> busy_;
    std::vector<QString> inFlight_;  // each worker's job under way
};

}  // namespace app
