#include "model/BackgroundMode.h"

#include "model/Settings.h"

namespace model {

BackgroundMode BackgroundModeOf(const TslSettings& settings) {
    if (settings.Back_Mode_Blurred) return BackgroundMode::Blurred;
    return settings.Back_Mode_UseColor ? BackgroundMode::Colour : BackgroundMode::Picture;
}

void SetBackgroundMode(TslSettings& settings, BackgroundMode mode) {
    settings.Back_Mode_Blurred = mode == BackgroundMode::Blurred;
    if (mode != BackgroundMode::Blurred)
        settings.Back_Mode_UseColor = mode == BackgroundMode::Colour;
}

}  // namespace model
