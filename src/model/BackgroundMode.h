// What lies behind the pictures, as one choice over the settings' switches:
// the colour, the background picture, or each picture's own blurred copy.
// The blurred fill has a switch of its own so that projects written before
// it load unchanged.
#pragma once

#include <cstdint>

namespace model {

struct TslSettings;

enum class BackgroundMode : uint8_t { Colour, Picture, Blurred };

BackgroundMode BackgroundModeOf(const TslSettings& settings);

// Sets the switches for 'mode'; the colour and the picture's name and
// tiling stay as they are, for when the user switches back.
void SetBackgroundMode(TslSettings& settings, BackgroundMode mode);

}  // namespace model
