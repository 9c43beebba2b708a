#include "music/MusicLength.h"

namespace music {

QString FormatMusicLength(int32_t milliseconds) {
    if (milliseconds < 1) return QStringLiteral("0:00:00");
    const int32_t seconds = milliseconds / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace music
