// The seed of a show's random choices (the effect drawn from a set, the kind
// of a random motion), fixed by the show itself so that every build of it
// and every frame rendered from it without a build make the same choices.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace video {

// A seed from the show's picture list (after the synchronisation step):
// the same list gives the same seed on every run.
uint32_t ShowSeed(const std::vector<std::string>& pictures);

// The generator's seed for the choices of picture 'index': its own, so that
// a frame of picture 'index' can be drawn without the pictures before it.
uint32_t PictureSeed(uint32_t showSeed, size_t index);

}  // namespace video
