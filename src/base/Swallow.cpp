// Where dropped failures end up (see Swallow.h).
#include "base/Swallow.h"

namespace base {

void FaultIgnored(std::string_view where, std::string_view message) noexcept {
    // Kept empty on purpose: the user must not see these failures, and the
    // program has no log. The volatile reads keep the arguments alive for a
    // debugger stopped here in an optimised build.
    [[maybe_unused]] volatile const char* whereText = where.data();
    [[maybe_unused]] volatile const char* messageText = message.data();
}

}  // namespace base
