#include "music/MusicLength.h"

#include <QFile>
#include <QString>

#include <cmath>

#include "model/FileIo.h"
#include "model/LengthText.h"
#include "model/MediaPaths.h"
#include "model/MusicMixSettings.h"
#include "model/Text.h"
#include "music/MusicService.h"
#include "sound/MusicFormats.h"
#include "sound/TrackMeasure.h"

namespace music {

std::string FormatMusicLength(int32_t milliseconds) {
    return model::FormatLengthText(milliseconds);
}

bool HasMusicLength(const model::TMusicEntry& entry) {
    // A garbled stored length is measured again rather than kept forever:
    // the show would never take the file.
    return entry.HasLength && entry.LengthMs != "0" && model::ParseInteger(entry.LengthMs);
}

namespace {

// A file that could not be measured may have been replaced or repaired
// since; one that has not changed would only fail again.
bool StoredLengthHolds(const model::TMusicEntry& entry, const std::string& path) {
    return entry.LengthMs != "-1" || entry.Stamp == model::FileStamp(path);
}

}  // namespace

namespace {

std::string LoudnessTextOf(const sound::TrackFacts& facts) {
    if (!std::isfinite(facts.lufs)) return model::LoudnessText(std::nullopt);
    return model::LoudnessText(model::StoredLoudness{facts.lufs, facts.peak});
}

// Measures one row's file: the length when 'withLength', the loudness always.
// MP3 lengths stay the MP3 library's; every format's loudness, and the
// other formats' lengths, come from decoding the file whole through FFmpeg,
// as the show plays it.
void MeasureRow(model::TMusicEntry& entry, const std::string& path, bool withLength) {
    const sound::MusicFormat* format = sound::MusicFormatOf(path);
    const base::Result<sound::TrackFacts> facts = sound::MeasureTrack(path);
    entry.Loudness = facts ? LoudnessTextOf(*facts) : model::LoudnessText(std::nullopt);
    if (!withLength) return;
    entry.Fault.clear();
    if (format && format->decoder == sound::MusicDecoder::MpegLibrary) {
        entry.SetLength(GetMusicLength(QFile::decodeName(path.c_str())));
        if (entry.LengthMs == "-1") entry.Fault = "it could not be read as MP3 music";
    } else if (facts) {
        entry.SetLength(facts->lengthMs);
    } else {
        entry.SetLength(-1);
        entry.Fault = facts.message();
    }
}

}  // namespace

int MeasureMusicLengths(model::MusicList& list) {
    int measured = 0;
    for (size_t row = 0; row < list.Count(); ++row) {
        model::TMusicEntry& entry = list.At(row);
        std::string path = entry.Path;
        if (!model::ResolveMediaPath(path)) continue;
        const bool lengthHolds = HasMusicLength(entry) && StoredLengthHolds(entry, path);
        // Lengths measured before loudness was kept get theirs once; a file
        // that cannot be read has none to give.
        const bool loudnessMissing = entry.Loudness.empty() && entry.LengthMs != "-1";
        if (lengthHolds && !loudnessMissing) continue;
        // Taken before measuring: a file that changes meanwhile is measured again.
        std::string stamp = model::FileStamp(path);
        MeasureRow(entry, path, !lengthHolds);
        if (lengthHolds) continue;
        entry.Stamp = std::move(stamp);
        ++measured;
    }
    return measured;
}

}  // namespace music
