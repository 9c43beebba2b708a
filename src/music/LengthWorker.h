// The length pass's decoding on a thread of its own, so a long album does
// not hold up the window: the jobs are decoded in order, each finished one
// handed back through TakeFinished, and the whole stops at once when
// cancelled (between files, and within a long file between pieces).
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "music/MusicLength.h"

namespace music {

class LengthWorker {
public:
    // 'ready' is called on the worker's thread after each job and once more
    // when all are done; it only tells the owner to call TakeFinished.
    LengthWorker(std::vector<LengthJob> jobs, std::function<void()> ready);
    // Cancels and waits for the thread.
    ~LengthWorker();
    LengthWorker(const LengthWorker&) = delete;
    LengthWorker& operator=(const LengthWorker&) = delete;

    // Stops after the piece being decoded; jobs finished before stay to be
    // taken.
    void Cancel() { cancelled_ = true; }
    // Waits for the thread to end (all jobs decoded, or cancelled).
    void Wait();
    // The jobs decoded since the last call, in list order.
    std::vector<LengthJob> TakeFinished();
    int Total() const { return total_; }
    int Finished() const { return finished_; }
    bool Done() const { return done_; }

private:
    void run(std::vector<LengthJob> jobs);

    const int total_;
    std::function<void()> ready_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> done_{false};
    std::atomic<int> finished_{0};
    std::mutex mutex_;
    std::vector<LengthJob> results_;
    std::thread thread_;
};

}  // namespace music
