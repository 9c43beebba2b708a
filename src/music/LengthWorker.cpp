#include "music/LengthWorker.h"

namespace music {

LengthWorker::LengthWorker(std::vector<LengthJob> jobs, std::function<void()> ready)
    : WorkQueue("music::LengthWorker", DecodeLengthJob, std::move(ready), std::move(jobs), true) {}

}  // namespace music
