// The table's rows of one family, so a family test walks exactly the members
// the program draws and a new row is tested without touching the test.
#pragma once

#include <functional>
#include <vector>

#include "effects/Effects.h"

namespace effects::test_support {

inline std::vector<TEffect> MembersOf(EffectFamily family,
                                      const std::function<bool(const TEffect&)>& also = {}) {
    std::vector<TEffect> members;
    for (const TEffect& e : Effects)
        if (e.Family == family && (!also || also(e))) members.push_back(e);
    return members;
}

}  // namespace effects::test_support
