// How soon the storyboard shows 1,000 12-megapixel JPEGs: the time to the
// first screenful of thumbnails and to all of them, with an empty disk cache
// and again with a filled one (a new service, as after a restart), and the
// longest the window's event loop went without turning meanwhile.
//
//   cmake -S . -B build -G Ninja -DVANTO_BUILD_BENCH=ON
//   cmake --build build --target bench_storyboard && build/bin/bench_storyboard [count]
//
// The photos are one generated 4000 x 3000 picture (quality 90) copied under
// a thousand names: each is decoded on its own, and making them takes seconds.
// They are measured twice: as a camera writes them, with a 160 x 120
// thumbnail in their EXIF block, and as an editor that drops it does.
// "All" pages down through the grid, a screen at a time as soon as the one
// shown is complete.
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <utility>

#include "app/MediaListModels.h"
#include "app/StoryboardView.h"
#include "app/ThumbnailService.h"
#include "model/Show.h"

namespace {

QString LoadAverage() {
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("?");
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

// A photo-like picture: gradients under fine noise, so it compresses as a
// photo does (several megabytes), not as a flat colour.
QString MakePhoto(const QString& folder) {
    QImage photo(4000, 3000, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < photo.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            const int noise = static_cast<int>(random.bounded(24));
            line[x] = qRgb((x / 16 + noise) & 255, (y / 12 + noise) & 255, ((x + y) / 28) & 255);
        }
    }
    const QString path = folder + QStringLiteral("/photo.jpg");
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    writer.write(photo);
    return path;
}

// The photo with the EXIF block a camera writes in front of its pixels:
// IFD0 empty, IFD1 holding a 160 x 120 JPEG thumbnail.
QString WithCameraThumbnail(const QString& photo) {
    QByteArray thumbnail;
    QBuffer buffer(&thumbnail);
    buffer.open(QIODevice::WriteOnly);
    QImage(photo)
        .scaled(160, 120, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .save(&buffer, "jpeg", 80);
    QByteArray exif("Exif\0\0II\x2a\0\x08\0\0\0", 14);
    auto put = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) exif.append(static_cast<char>(value >> (8 * i)));
    };
    put(0, 2);   // IFD0: no entries
    put(14, 4);  // IFD1 follows it, 14 bytes into the TIFF data
    put(2, 2);
    put(0x0201, 2), put(4, 2), put(1, 4), put(44, 4);  // JPEGInterchangeFormat
    put(0x0202, 2), put(4, 2), put(1, 4), put(static_cast<uint32_t>(thumbnail.size()), 4);
    put(0, 4);
    exif.append(thumbnail);
    QFile file(photo);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    const auto length = static_cast<uint16_t>(exif.size() + 2);
    QByteArray out = bytes.left(2);
    out.append('\xFF').append('\xE1');
    out.append(static_cast<char>(length >> 8)).append(static_cast<char>(length & 0xFF));
    out.append(exif).append(bytes.mid(2));
    const QString path =
        QString(photo).replace(QStringLiteral(".jpg"), QStringLiteral("-exif.jpg"));
    QFile written(path);
    if (!written.open(QIODevice::WriteOnly) || written.write(out) != out.size()) return {};
    return path;
}

struct Figures {
    double firstScreenMs = 0;
    double allMs = 0;
    double longestStallMs = 0;
    int screenful = 0;
};

Figures Measure(const QStringList& photos, const QString& cacheFolder) {
    model::Show show;
    app::ImageListModel model;
    app::ThumbnailService thumbnails({cacheFolder, 2, 256LL << 20});
    app::StoryboardView view(show, thumbnails);
    view.setModel(&model);
    view.SetTileSize(128);
    view.resize(1200, 800);
    view.show();

    // The event loop's pulse: the longest gap between two turns.
    QElapsedTimer pulse;
    double longest = 0;
    QTimer ticker;
    ticker.setInterval(2);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, pulse.nsecsElapsed() / 1e6);
        pulse.restart();
    });

    QElapsedTimer clock;
    clock.start();
    for (const QString& photo : photos) model.Append({photo.toStdString(), true});
    QCoreApplication::processEvents();
    // Listing the rows and the first layout are the list's, not the thumbnails'.
    pulse.start();
    ticker.start();

    // Pages down through the grid, a screen at a time, each once its
    // thumbnails are all there: what the view asks for is what a user sees.
    Figures figures;
    for (bool first = true;; first = false) {
        QSet<QString> screen = view.VisiblePaths();
        if (first) figures.screenful = static_cast<int>(screen.size());
        while (!screen.isEmpty()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
            for (auto path = screen.begin(); path != screen.end();)
                path = thumbnails.Request(*path, view.TileSize()).final ? screen.erase(path)
                                                                        : std::next(path);
        }
        if (first) figures.firstScreenMs = clock.nsecsElapsed() / 1e6;
        QScrollBar* scroll = view.verticalScrollBar();
        if (scroll->value() >= scroll->maximum()) break;
        scroll->setValue(scroll->value() + scroll->pageStep());
        QCoreApplication::processEvents();
    }
    figures.allMs = clock.nsecsElapsed() / 1e6;
    figures.longestStallMs = longest;
    return figures;
}

void Print(const char* what, const Figures& figures, int count) {
    std::printf(
        "%-6s first screen (%d tiles) %8.0f ms   all %d %8.0f ms (%.1f ms each)   "
        "longest event-loop stall %5.1f ms   load %s\n",
        what, figures.screenful, figures.firstScreenMs, count, figures.allMs, figures.allMs / count,
        figures.longestStallMs, qPrintable(LoadAverage()));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    setvbuf(stdout, nullptr, _IOLBF, 0);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;

    QTemporaryDir folder;
    const QString plain = MakePhoto(folder.path());
    const QString camera = WithCameraThumbnail(plain);
    for (const auto& [what, photo] : {std::pair{"camera JPEGs, with their EXIF thumbnail", camera},
                                      std::pair{"JPEGs without an EXIF thumbnail", plain}}) {
        const QString set = folder.path() + QLatin1Char('/') + QFileInfo(photo).baseName();
        QDir().mkpath(set);
        QStringList photos;
        for (int i = 0; i < count; ++i) {
            photos << set + QStringLiteral("/photo-%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
            QFile::copy(photo, photos.back());
        }
        // The copies are written out first, so the disk is not busy with
        // them while the thumbnails are timed.
        sync();
        std::printf("%d %s: 4000 x 3000, %lld bytes each, 2 workers, tiles of 128 px\n", count,
                    what, static_cast<long long>(QFileInfo(photo).size()));
        const QString cache = set + QStringLiteral("/cache");
        Print("cold", Measure(photos, cache), count);
        Print("warm", Measure(photos, cache), count);
    }
    return 0;
}
