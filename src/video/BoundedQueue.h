// A blocking first-in first-out queue with a capacity in bytes, for handing
// work from the thread that runs the conversion to the encoder threads. The
// capacity keeps memory flat and bounded by the frame size rather than the
// number of frames: the producer waits while the items queued would exceed
// it, except that an empty queue always takes one item, however large.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <utility>

namespace video {

template <typename T>
class BoundedQueue {
public:
    explicit BoundedQueue(size_t capacityBytes) : capacity_(capacityBytes) {}

    void push(T item, size_t bytes) {
        std::unique_lock lock(mutex_);
        notFull_.wait(lock, [&] { return items_.empty() || used_ + bytes <= capacity_; });
        used_ += bytes;
        items_.emplace_back(std::move(item), bytes);
        notEmpty_.notify_one();
    }

    T pop() {
        std::unique_lock lock(mutex_);
        notEmpty_.wait(lock, [this] { return !items_.empty(); });
        auto [item, bytes] = std::move(items_.front());
        items_.pop_front();
        used_ -= bytes;
        notFull_.notify_all();
        return std::move(item);
    }

private:
    size_t capacity_;
    size_t used_ = 0;
    std::mutex mutex_;
    std::condition_variable notEmpty_;
    std::condition_variable notFull_;
    std::deque<std::pair<T, size_t>> items_;
};

}  // namespace video
