// The Music step's length pass over 1,000 new MP3 files of 3 to 5 minutes,
// measured through the real decoder library.
//
// The files are made once with the ffmpeg command line (libmp3lame): twenty
// distinct encodings, CBR and VBR, copied to 1,000 separate files, so every
// file has its own pages on disk and in the cache. Two passes are timed:
// with the files dropped from the page cache first (as after a reboot, as far
// as the kernel honours the advice) and with them cached.
//
//   bench_music_length [data-folder]
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

#include <cstdio>
#include <string>
#include <vector>

#include "model/MediaLists.h"
#include "music/MusicLength.h"
#include "music/MusicService.h"

namespace {

constexpr int kFileCount = 1000;
constexpr int kDistinct = 20;

struct Encoding {
    int seconds;
    QStringList options;
};

// Ten CBR and ten VBR encodings between 3 and 5 minutes.
Encoding EncodingFor(int index) {
    const int seconds = 180 + index * 6;
    if (index % 2 == 0) {
        static const char* kRates[] = {"128k", "160k", "192k", "128k", "256k"};
        return {seconds, {"-b:a", kRates[(index / 2) % 5]}};
    }
    return {seconds, {"-q:a", QString::number(2 + (index / 2) % 5)}};
}

bool Encode(const QString& path, const Encoding& encoding, int index) {
    // Noise mixed with a tone: a signal that keeps VBR busy.
    const QString source =
        QStringLiteral("anoisesrc=duration=%1:sample_rate=44100:amplitude=0.2:seed=%2")
            .arg(encoding.seconds)
            .arg(index + 1);
    QStringList arguments{"-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f",
                          "lavfi",        "-i",        source,  "-ac",      "2",  "-c:a",
                          "libmp3lame"};
    arguments += encoding.options;
    arguments += path;
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::ForwardedChannels);
    ffmpeg.start("ffmpeg", arguments);
    return ffmpeg.waitForFinished(-1) && ffmpeg.exitCode() == 0;
}

QStringList PrepareFiles(const QString& folder) {
    QDir().mkpath(folder);
    QStringList files;
    for (int i = 0; i < kFileCount; ++i)
        files << QStringLiteral("%1/song%2.mp3").arg(folder).arg(i, 4, 10, QLatin1Char('0'));
    if (QFile::exists(files.last())) return files;

    std::printf("Encoding %d distinct files into %s ...\n", kDistinct, qPrintable(folder));
    std::fflush(stdout);
    for (int i = 0; i < kDistinct; ++i) {
        if (!Encode(files[i], EncodingFor(i), i)) {
            std::fprintf(stderr, "ffmpeg failed on %s\n", qPrintable(files[i]));
            return {};
        }
    }
    for (int i = kDistinct; i < kFileCount; ++i) {
        QFile::remove(files[i]);
        if (!QFile::copy(files[i % kDistinct], files[i])) return {};
    }
    return files;
}

void DropFromCache(const QStringList& files) {
    for (const QString& path : files) {
        int fd = open(QFile::encodeName(path).constData(), O_RDONLY);
        if (fd < 0) continue;
        posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        close(fd);
    }
}

void TimePass(const char* label, const QStringList& files) {
    model::MusicList list;
    for (const QString& path : files) {
        model::TMusicEntry row;
        row.Path = path.toStdString();
        list.Append(row);
    }

    QElapsedTimer timer;
    timer.start();
    const int measured = music::MeasureMusicLengths(list);
    const double seconds = timer.nsecsElapsed() / 1e9;

    int outOfRange = 0;
    int64_t totalMs = 0;
    for (const model::TMusicEntry& row : list.Entries()) {
        const int64_t ms = std::stoll(row.LengthMs);
        if (ms < 180'000 || ms > 300'500) ++outOfRange;
        totalMs += ms;
    }
    std::printf("%-8s %d files in %.3f s (%.2f ms per file), music %s, %d out of range\n", label,
                measured, seconds, seconds * 1000 / files.size(),
                music::FormatMusicLength(static_cast<int32_t>(totalMs)).c_str(), outOfRange);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(VANTO_BENCH_DATA);
    const QStringList files = PrepareFiles(folder);
    if (files.isEmpty()) return 1;

    qint64 bytes = 0;
    for (const QString& path : files) bytes += QFileInfo(path).size();
    std::printf("%d files, %.1f MB\n", static_cast<int>(files.size()), bytes / 1e6);

    if (!music::SharedPlayer().Loaded()) {
        std::fprintf(stderr, "the decoder library did not load\n");
        return 1;
    }
    DropFromCache(files);
    TimePass("uncached", files);
    TimePass("cached", files);
    return 0;
}
