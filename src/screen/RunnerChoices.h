// The choices the preview runner makes between pictures: transition speed,
// the next list position and the style of the next transition.
#pragma once

#include <cstdint>
#include <optional>

#include "model/StyleSet.h"

namespace screen {

struct StepAndDelay {
    uint16_t step;   // progress per step
    uint16_t delay;  // minimum milliseconds per step
};

// The screen's Step and Delay for a transition speed setting from 1
// (fastest) to 5 (slowest); nullopt for any other value.
std::optional<StepAndDelay> SpeedSteps(int effectSpeed);

// The list position after 'index' in a list of 'count' entries. In list
// order it moves on by one and wraps to 0. In random order the generator is
// re-seeded from the clock and a position is drawn, redrawn (up to 300
// times) while it repeats 'index' and the list has two entries or more.
int NextListIndex(int index, int count, bool randomOrder);

// A style drawn uniformly from the members 1..172 of the set, or 0 (a cut)
// when the set has none.
int ChooseStyle(const model::StyleSet& set);

}  // namespace screen
