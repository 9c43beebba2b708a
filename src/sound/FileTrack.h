// A music file as a track of the mixer: decoded through FFmpeg, its
// encoder delay and padding left out where the file declares them (LAME and
// iTunes gapless data, Opus pre-skip, MP4 edit lists), and resampled to the
// mixer's rate and channel count.
#pragma once

#include <memory>
#include <string>

#include "sound/MusicMixer.h"

namespace sound {

std::unique_ptr<TrackReader> OpenFileTrack(const std::string& path, int sampleRate, int channels,
                                           std::string* error);

}  // namespace sound
