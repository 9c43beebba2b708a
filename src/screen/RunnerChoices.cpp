#include "screen/RunnerChoices.h"

#include <algorithm>

#include "base/Random.h"
#include "screen/ScreenEngine.h"

namespace screen {

std::optional<StepAndDelay> SpeedSteps(int effectSpeed) {
    switch (effectSpeed) {
        case 1:
            return StepAndDelay{15, 1};
        case 2:
            return StepAndDelay{8, 20};
        case 3:
            return StepAndDelay{4, 30};
        case 4:
            return StepAndDelay{2, 30};
        case 5:
            return StepAndDelay{1, 30};
        default:
            return std::nullopt;
    }
}

int NextListIndex(int index, int count, bool randomOrder) {
    if (count <= 0) return -1;
    if (randomOrder) {
        base::Randomize();
        int i = static_cast<int>(base::Random(static_cast<uint32_t>(count)));
        for (int redraws = 0; i == index && count >= 2 && redraws < 300; ++redraws)
            i = static_cast<int>(base::Random(static_cast<uint32_t>(count)));
        return i;
    }
    if (index < 0) return 0;
    return index < count - 1 ? index + 1 : 0;
}

int ChooseStyle(const model::StyleSet& set) {
    bool any = false;
    for (int style = 1; style <= kMaxShowStyle && !any; ++style)
        any = set.test(static_cast<size_t>(style));
    // Only 0 or 173..175 (or nothing): drawing would never end, so cut.
    if (!any) return 0;
    for (;;) {
        const int style = static_cast<int>(base::Random(kMaxShowStyle)) + 1;
        if (set.test(static_cast<size_t>(style))) return style;
    }
}

}  // namespace screen
