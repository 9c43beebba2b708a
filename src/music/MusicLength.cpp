#include "music/MusicLength.h"

#include <QFile>
#include <QString>

#include "model/FileIo.h"
#include "model/LengthText.h"
#include "model/MediaPaths.h"
#include "model/Text.h"
#include "music/MusicService.h"

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

int MeasureMusicLengths(model::MusicList& list) {
    int measured = 0;
    for (size_t row = 0; row < list.Count(); ++row) {
        model::TMusicEntry& entry = list.At(row);
        std::string path = entry.Path;
        if (!model::ResolveMediaPath(path) ||
            (HasMusicLength(entry) && StoredLengthHolds(entry, path)))
            continue;
        // Taken before measuring: a file that changes meanwhile is measured again.
        std::string stamp = model::FileStamp(path);
        entry.SetLength(GetMusicLength(QFile::decodeName(path.c_str())));
        entry.Stamp = std::move(stamp);
        ++measured;
    }
    return measured;
}

}  // namespace music
