#include "music/MusicTestUtil.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

namespace music::testing {

QString ScratchDir() {
    static std::unique_ptr<QTemporaryDir> dir = std::make_unique<QTemporaryDir>();
    return dir->path();
}

bool RunFfmpeg(const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral("ffmpeg"),
                  QStringList{"-hide_banner", "-loglevel", "error", "-nostdin", "-y"} + arguments);
    if (!process.waitForFinished(120'000)) return false;
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

Mp3Fixture MakeMp3(const QString& name, double seconds, int rate, int channels,
                   const QString& source, const QStringList& extra) {
    static QMap<QString, Mp3Fixture> made;
    if (auto found = made.find(name); found != made.end()) return *found;

    const QString duration = QString::number(seconds, 'f', 3);
    const QString filter =
        source == QLatin1String("noise")
            ? QStringLiteral("anoisesrc=duration=%1:sample_rate=%2:amplitude=0.3:seed=7")
                  .arg(duration)
                  .arg(rate)
            : QStringLiteral("sine=frequency=440:duration=%1:sample_rate=%2")
                  .arg(duration)
                  .arg(rate);
    Mp3Fixture fixture{ScratchDir() + "/" + name, rate, channels};
    QStringList arguments{"-f", "lavfi", "-i", filter};
    arguments += extra;
    if (!extra.contains(QStringLiteral("-c:a"))) arguments += QStringList{"-c:a", "libmp3lame"};
    arguments += QStringList{"-ac", QString::number(channels), fixture.path};
    if (!RunFfmpeg(arguments)) fixture.path.clear();
    made.insert(name, fixture);
    return fixture;
}

QString MakeFile(const QString& name, const QByteArray& bytes) {
    const QString path = ScratchDir() + "/" + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return {};
    return path;
}

QByteArray DecodeWithFfmpeg(const QString& path) {
    const QString raw = path + ".ffmpeg.raw";
    if (!RunFfmpeg({"-i", path, "-map", "0:a", "-f", "s16le", "-c:a", "pcm_s16le", raw})) return {};
    return ReadAll(raw);
}

int32_t SamplesToMs(int64_t samples, int rate) {
    return static_cast<int32_t>(samples * 1000 / rate);
}

int MaxSampleDifference(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size()) return -1;
    int worst = 0;
    for (qsizetype i = 0; i + 1 < a.size(); i += 2) {
        int16_t x = 0;
        int16_t y = 0;
        std::memcpy(&x, a.constData() + i, 2);
        std::memcpy(&y, b.constData() + i, 2);
        worst = std::max(worst, std::abs(int(x) - int(y)));
    }
    return worst;
}

bool WaitUntil(const std::function<bool()>& done, int deadlineMs) {
    QDeadlineTimer deadline(deadlineMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

}  // namespace music::testing
