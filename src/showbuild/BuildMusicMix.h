// How a show's music is mixed into its sound track, decided once for the
// build and the preview alike: the stored fades and crossfade, where the
// show cuts the music (there the fade-out ends), and each file's gain for
// even loudness from the loudness the length pass stored.
#pragma once

#include <cstdint>

#include "model/Show.h"
#include "showbuild/ShowTiming.h"
#include "sound/MixRules.h"
#include "video/MclDef.h"

namespace video {

// The record's fades, crossfade and even loudness.
sound::MixOptions MixOptionsOf(const model::TslSettings& settings);

// 'show' holds the lists after the synchronisation step, 'timing' the show's
// timing likewise. The music is cut when it sounds longer than the pictures
// last, unless the pictures are fitted to it (then the video ends with it).
MclAudioMix MusicMixFor(const model::Show& show, uint8_t musicSync, const ShowTiming& timing);

}  // namespace video
