#include "music/LengthWorker.h"

#include "base/Swallow.h"

namespace music {

LengthWorker::LengthWorker(std::vector<LengthJob> jobs, std::function<void()> ready)
    : total_(static_cast<int>(jobs.size())),
      ready_(std::move(ready)),
      thread_([this, jobs = std::move(jobs)]() mutable {
          // A file that runs out of memory is measured again by the next pass.
          base::Swallow("music::LengthWorker", [&] { run(std::move(jobs)); });
          done_ = true;
          if (ready_) ready_();
      }) {}

LengthWorker::~LengthWorker() {
    Cancel();
    Wait();
}

void LengthWorker::Wait() {
    if (thread_.joinable()) thread_.join();
}

std::vector<LengthJob> LengthWorker::TakeFinished() {
    std::lock_guard lock(mutex_);
    return std::exchange(results_, {});
}

void LengthWorker::run(std::vector<LengthJob> jobs) {
    const auto cancelled = [this] { return cancelled_.load(); };
    for (LengthJob& job : jobs) {
        DecodeLengthJob(job, cancelled);
        if (cancelled()) return;
        {
            std::lock_guard lock(mutex_);
            results_.push_back(std::move(job));
        }
        ++finished_;
        if (ready_) ready_();
    }
}

}  // namespace music
