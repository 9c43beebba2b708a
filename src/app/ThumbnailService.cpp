#include "app/ThumbnailService.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include "app/ThumbnailCache.h"
#include "app/Thumbnails.h"
#include "base/WorkQueue.h"
#include "imaging/PictureError.h"
#include "imaging/PictureLoader.h"

namespace app {

namespace {

// Transparent parts show a neutral grey, which reads as "nothing here" on
// the light and the dark palette alike.
constexpr raster::Color kTileFill = 0x00808080;

constexpr int kBucketSizes[] = {64, 128, 256};

// Decodes a picture no larger than needed and shrinks it into the bucket's
// square, as the previews do; raises PictureError.
QImage DecodeThumbnail(const QString& path, int bucket) {
    return ImageFromBitmap(
               imaging::LoadPictureShrunk(path.toStdString(), bucket, bucket, kTileFill))
        .convertToFormat(QImage::Format_RGB32);
}

}  // namespace

struct ThumbnailService::Job {
    QString path;
    int bucket = 0;
    QString key;
    QImage picture;
    QString problem;
};

ThumbnailService::ThumbnailService(Options options, QObject* parent)
    : QObject(parent), options_(std::move(options)) {
    if (options_.cacheFolder.isEmpty()) options_.cacheFolder = DefaultThumbnailFolder();
    memory_.setMaxCost(static_cast<qsizetype>(std::max<qint64>(options_.memoryBytes >> 10, 1)));
    const int workers = std::max(options_.workers, 1);
    for (int i = 0; i < workers; ++i) {
        const auto worker = static_cast<size_t>(i);
        workers_.push_back(std::make_unique<base::WorkQueue<Job>>(
            "app::ThumbnailService",
            [folder = options_.cacheFolder](Job& job, const auto&) {
                const QString cacheName = ThumbnailCacheName(folder, job.path, job.bucket);
                if (!cacheName.isEmpty()) {
                    QFile cached(cacheName);
                    if (cached.open(QIODevice::ReadOnly)) {
                        job.picture = ReadCachedThumbnail(cached.readAll(), job.bucket);
                        if (!job.picture.isNull()) return;
                    }
                }
                try {
                    job.picture = DecodeThumbnail(job.path, job.bucket);
                    // A cache that cannot be written costs only the next run's time.
                    WriteCachedThumbnail(cacheName, job.picture);
                } catch (const imaging::PictureError& error) {
                    job.problem = QString::fromStdString(error.what());
                }
            },
            [this, worker] {
                // Posted to the service: dropped unread if the service is gone.
                QMetaObject::invokeMethod(
                    this, [this, worker] { TakeFinished(worker); }, Qt::QueuedConnection);
            }));
        busy_.push_back(false);
        inFlight_.emplace_back();
    }
}

ThumbnailService::~ThumbnailService() = default;

QString ThumbnailService::Stamp(const QString& path) {
    const QFileInfo file(path);
    return QString::number(file.size()) + QLatin1Char(':') +
           QString::number(file.lastModified().toMSecsSinceEpoch());
}

QString ThumbnailService::Key(const QString& path, int bucket, const QString& stamp) {
    return QString::number(bucket) + QLatin1Char(':') + stamp + QLatin1Char(':') + path;
}

ThumbnailService::Answer ThumbnailService::Request(const QString& path, int tileSize) {
    const int bucket = ThumbnailBucket(tileSize);
    const QString stamp = Stamp(path);
    const QString key = Key(path, bucket, stamp);
    if (const Known* known = memory_.object(key)) return {known->picture, known->problem, true};
    Answer answer;
    // Another size stands in, scaled, while the right one is made.
    for (const int other : kBucketSizes)
        if (const Known* known = memory_.object(Key(path, other, stamp));
            known && other != bucket) {
            answer.picture = known->picture;
            answer.problem = known->problem;
        }
    if (outstanding_.contains(key)) {
        const auto queued = std::find_if(queued_.begin(), queued_.end(),
                                         [&](const Pending& entry) { return entry.key == key; });
        // Asked for again: it is on screen now, so it goes first.
        if (queued != queued_.end() && queued != queued_.begin()) {
            auto entry = *queued;
            queued_.erase(queued);
            queued_.push_front(std::move(entry));
        }
        return answer;
    }
    outstanding_.insert(key);
    queued_.push_front({path, bucket, key});
    Feed();
    return answer;
}

void ThumbnailService::KeepOnly(const QSet<QString>& visible) {
    std::erase_if(queued_, [&](const Pending& entry) {
        if (visible.contains(entry.path)) return false;
        outstanding_.remove(entry.key);
        return true;
    });
}

int ThumbnailService::Outstanding() const {
    return static_cast<int>(outstanding_.size());
}

void ThumbnailService::Feed() {
    // Each worker gets one job at a time, so the newest request waiting is
    // the next one started.
    for (size_t worker = 0; worker < workers_.size() && !queued_.empty(); ++worker) {
        if (busy_[worker]) continue;
        Pending next = std::move(queued_.front());
        queued_.pop_front();
        busy_[worker] = true;
        inFlight_[worker] = next.key;
        workers_[worker]->Add(
            {Job{std::move(next.path), next.bucket, std::move(next.key), {}, {}}});
    }
}

void ThumbnailService::TakeFinished(size_t worker) {
    std::vector<Job> finished = workers_[worker]->TakeFinished();
    // A job that failed outright (out of memory) is not handed back; the
    // worker is free again either way once its count has caught up, and the
    // request may be made again.
    if (workers_[worker]->Finished() >= workers_[worker]->Total()) {
        busy_[worker] = false;
        outstanding_.remove(std::exchange(inFlight_[worker], QString()));
    }
    for (Job& job : finished) {
        outstanding_.remove(job.key);
        const qsizetype cost = std::max<qsizetype>(job.picture.sizeInBytes() >> 10, 1);
        memory_.insert(job.key, new Known{std::move(job.picture), std::move(job.problem)}, cost);
        emit Ready(job.path);
    }
    Feed();
}

}  // namespace app
