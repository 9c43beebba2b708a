#include "music/LengthWorker.h"

namespace music {

LengthWorker::LengthWorker(std::vector<LengthJob> jobs, std::function<void()> ready)
    : WorkQueue("music::LengthWorker", DecodeLengthJob, std::move(ready)) {
    Add(std::move(jobs));
    Close();
}

}  // namespace music
