// A music file as a track of the mixer: decoded through FFmpeg, its
// encoder delay and padding left out where the file declares them (LAME and
// iTunes gapless data, Opus pre-skip, MP4 edit lists), and resampled to the
// mixer's rate and channel count.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sound/MusicMixer.h"

namespace sound {

base::Result<std::unique_ptr<TrackReader>> OpenFileTrack(const std::string& path, int sampleRate,
                                                         int channels);

// Mixer hooks that ask for 'files' in order, each opened as above; the
// caller adds the gains, the error report and the stop.
MusicMixer::Hooks FileListHooks(std::vector<std::string> files, int sampleRate, int channels);

}  // namespace sound
