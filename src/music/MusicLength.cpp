#include "music/MusicLength.h"

#include <QFile>
#include <QString>

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

int MeasureMusicLengths(model::MusicList& list) {
    int measured = 0;
    for (size_t row = 0; row < list.Count(); ++row) {
        model::TMusicEntry& entry = list.At(row);
        std::string path = entry.Path;
        if (!model::ResolveMediaPath(path) || HasMusicLength(entry)) continue;
        entry.SetLength(GetMusicLength(QFile::decodeName(path.c_str())));
        ++measured;
    }
    return measured;
}

}  // namespace music
