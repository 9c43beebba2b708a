// The subjects' disk cache: a file there may have been cut off, replaced or
// written by anything; reading it gives a subject within its limits or none.
#include <cstdlib>
#include <string_view>

#include "subject/SubjectCache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<motion::Subject> subject = subject::ParseSubjectText(text);
    if (!subject) return 0;
    if (subject->faces.size() > subject::kMaxCachedFaces) std::abort();
    // What was read writes back as it was read.
    if (subject::ParseSubjectText(subject::SubjectText(*subject)) != subject) std::abort();
    return 0;
}
