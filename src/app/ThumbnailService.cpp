#include "app/ThumbnailService.h"

#include <QFile>

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

QString ThumbnailService::Key(const QString& path, int bucket) {
    return QString::number(bucket) + QLatin1Char(':') + path;
}

ThumbnailService::Answer ThumbnailService::Request(const QString& path, int tileSize) {
    const int bucket = ThumbnailBucket(tileSize);
    const QString key = Key(path, bucket);
    if (const Known* known = memory_.object(key)) return {known->picture, known->problem, true};
    Answer answer;
    // Another size stands in, scaled, while the right one is made.
    for (const int other : kBucketSizes)
        if (const Known* known = memory_.object(Key(path, other)); known && other != bucket) {
            answer.picture = known->picture;
            answer.problem = known->problem;
        }
    if (outstanding_.contains(key)) {
        const auto queued = std::find_if(queued_.begin(), queued_.end(), [&](const auto& entry) {
            return entry.second == bucket && entry.first == path;
        });
        // Asked for again: it is on screen now, so it goes first.
        if (queued != queued_.end() && queued != queued_.begin()) {
            auto entry = *queued;
            queued_.erase(queued);
            queued_.push_front(std::move(entry));
        }
        return answer;
    }
    outstanding_.insert(key);
    queued_.emplace_front(path, bucket);
    Feed();
    return answer;
}

void ThumbnailService::KeepOnly(const QSet<QString>& visible) {
    std::erase_if(queued_, [&](const auto& entry) {
        if (visible.contains(entry.first)) return false;
        outstanding_.remove(Key(entry.first, entry.second));
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
        auto [path, bucket] = std::move(queued_.front());
        queued_.pop_front();
        busy_[worker] = true;
        inFlight_[worker] = Key(path, bucket);
        workers_[worker]->Add({Job{std::move(path), bucket, {}, {}}});
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
        const QString key = Key(job.path, job.bucket);
        outstanding_.remove(key);
        const qsizetype cost = std::max<qsizetype>(job.picture.sizeInBytes() >> 10, 1);
        memory_.insert(key, new Known{std::move(job.picture), std::move(job.problem)}, cost);
        emit Ready(job.path);
    }
    Feed();
}

}  // namespace app
