// The length pass's decoding on a thread of its own, so a long album does
// not hold up the window: the jobs are decoded in order, each finished one
// handed back through TakeFinished, and the whole stops at once when
// cancelled (between files, and within a long file between pieces).
#pragma once

#include <functional>
#include <vector>

#include "base/WorkQueue.h"
#include "music/MusicLength.h"

namespace music {

class LengthWorker : public base::WorkQueue<LengthJob> {
public:
    // 'ready' is called on the worker's thread after each job and once more
    // when all are done; it only tells the owner to call TakeFinished.
    LengthWorker(std::vector<LengthJob> jobs, std::function<void()> ready);
};

}  // namespace music
