// Helpers of the music tests: small MP3 files made with the ffmpeg command
// line (libmp3lame from sine and noise sources), ffmpeg's own decoding of them
// as the reference the library is measured against, and waiting for the
// player with a generous deadline.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

namespace music::testing {

struct Mp3Fixture {
    QString path;
    int rate = 0;
    int channels = 0;
};

// Encodes `seconds` of audio into the test's scratch folder (once per name).
// `source` is "sine" or "noise"; `extra` adds encoder or muxer options.
Mp3Fixture MakeMp3(const QString& name, double seconds, int rate, int channels,
                   const QString& source, const QStringList& extra = {});

// Writes arbitrary bytes into the scratch folder.
QString MakeFile(const QString& name, const QByteArray& bytes);

// Runs ffmpeg with the arguments; true on success.
bool RunFfmpeg(const QStringList& arguments);

// The scratch folder, removed when the test program ends.
QString ScratchDir();

// ffmpeg's decoding of a file: signed 16-bit little-endian, interleaved.
QByteArray DecodeWithFfmpeg(const QString& path);

// Milliseconds of a sample count, truncated, as the library reports lengths.
int32_t SamplesToMs(int64_t samples, int rate);

// Largest difference between two sample buffers of equal length (in 16-bit
// steps), or -1 when their lengths differ.
int MaxSampleDifference(const QByteArray& a, const QByteArray& b);

// Runs the event loop (so the position timer ticks) until `done` holds or
// the deadline passes; returns whether it held. Never a measure of speed.
bool WaitUntil(const std::function<bool()>& done, int deadlineMs = 60'000);

// The whole content of a file, empty when it cannot be read.
QByteArray ReadAll(const QString& path);

}  // namespace music::testing
