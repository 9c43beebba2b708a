// Slow jobs (decoding whole files) done one after another on a thread of
// their own, so the window never waits for them: jobs are done in the order
// they were added, each finished one is handed back through TakeFinished,
// and the whole stops at once when cancelled. The queue may be fed while it
// runs (rows that come into view) or given a fixed list and closed (a pass
// over a whole list).
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/Swallow.h"

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace base {

// Whether a queue's work is what the user is looking at (thumbnails of the
// tiles on screen) or can wait (checks and detections for later): with
// fewer cores than busy threads, waiting work yields the processor.
enum class Urgency { Seen, Background };

template <class Job>
class WorkQueue {
public:
    using Cancelled = std::function<bool()>;
    // Does one job in place on the worker's thread; a long job may ask
    // 'cancelled' to stop early, leaving itself undone.
    using Work = std::function<void(Job&, const Cancelled& cancelled)>;

    // 'ready' is called on the worker's thread after each job and once more
    // when the queue is done; it only tells the owner to call TakeFinished.
    // 'where' names the queue for a job's dropped fault. A fixed list is
    // given here with 'closed' set: the thread ends once it is done.
    WorkQueue(std::string where, Work work, std::function<void()> ready, std::vector<Job> jobs = {},
              bool closed = false, Urgency urgency = Urgency::Seen)
        : urgency_(urgency),
          where_(std::move(where)),
          work_(std::move(work)),
          ready_(std::move(ready)),
          pending_(std::make_move_iterator(jobs.begin()), std::make_move_iterator(jobs.end())),
          total_(static_cast<int>(pending_.size())),
          closed_(closed),
          thread_([this] { Run(); }) {}
    // Cancels and waits for the thread.
    ~WorkQueue() {
        Cancel();
        Wait();
    }
    WorkQueue(const WorkQueue&) = delete;
    WorkQueue& operator=(const WorkQueue&) = delete;

    void Add(std::vector<Job> jobs) {
        {
            std::lock_guard lock(mutex_);
            total_ += static_cast<int>(jobs.size());
            for (Job& job : jobs) pending_.push_back(std::move(job));
        }
        wake_.notify_one();
    }
    // Drops the jobs not yet started, as when a newer request replaces
    // them; gives how many were dropped.
    int DropPending() {
        std::lock_guard lock(mutex_);
        const int dropped = static_cast<int>(pending_.size());
        total_ -= dropped;
        pending_.clear();
        return dropped;
    }
    // No more jobs come: the thread ends once those added are done.
    void Close() { Signal(closed_); }
    // Stops after the job under way; jobs finished before stay to be taken.
    void Cancel() { Signal(cancelled_); }
    // Waits for the thread to end; only after Close or Cancel.
    void Wait() {
        if (thread_.joinable()) thread_.join();
    }
    // The jobs done since the last call, in the order added.
    std::vector<Job> TakeFinished() {
        std::lock_guard lock(mutex_);
        return std::exchange(finished_, {});
    }
    // The jobs done since the last call, and whether the queue is done. 'done'
    // is read before the jobs are taken: read after, the last job could land
    // in between and be thrown away with a queue that says it is done.
    struct Taken {
        std::vector<Job> jobs;
        bool done = false;
    };
    Taken TakeFinishedAndDone() {
        const bool done = done_;
        return {TakeFinished(), done};
    }
    int Total() const { return total_; }
    int Finished() const { return finishedCount_; }
    bool Done() const { return done_; }

private:
    void Signal(std::atomic<bool>& flag) {
        {
            std::lock_guard lock(mutex_);
            flag = true;
        }
        wake_.notify_one();
    }

    void Run() {
#ifdef __linux__
        // Linux keeps a niceness per thread; lowering one's own needs no rights.
        if (urgency_ == Urgency::Background &&
            setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10) != 0)
            FaultIgnored(where_, "the thread's priority could not be lowered");
#endif
        const Cancelled cancelled = [this] { return cancelled_.load(); };
        for (;;) {
            std::optional<Job> job;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return cancelled_ || closed_ || !pending_.empty(); });
                if (cancelled_ || pending_.empty()) break;
                job.emplace(std::move(pending_.front()));
                pending_.pop_front();
            }
            // A job that fails outright (out of memory) is left undone for
            // the owner's next pass; the jobs after it still run.
            const bool worked = Swallow(where_, [&] { work_(*job, cancelled); });
            if (cancelled()) break;
            if (worked) {
                std::lock_guard lock(mutex_);
                finished_.push_back(std::move(*job));
            }
            ++finishedCount_;
            if (ready_) ready_();
        }
        done_ = true;
        if (ready_) ready_();
    }

    const Urgency urgency_;
    const std::string where_;
    const Work work_;
    const std::function<void()> ready_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> pending_;
    std::vector<Job> finished_;
    std::atomic<int> total_{0};
    std::atomic<int> finishedCount_{0};
    std::atomic<bool> closed_{false};
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> done_{false};
    // Last, so that everything the thread uses exists before it starts.
    std::thread thread_;
};

}  // namespace base
