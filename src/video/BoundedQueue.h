// A blocking first-in first-out queue with a fixed capacity, for handing work
// from the thread that runs the conversion to the encoder thread. The
// capacity keeps memory flat: the producer waits while the consumer is behind.
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
    explicit BoundedQueue(size_t capacity) : capacity_(capacity < 1 ? 1 : capacity) {}

    void push(T item) {
        std::unique_lock lock(mutex_);
        notFull_.wait(lock, [this] { return items_.size() < capacity_; });
        items_.push_back(std::move(item));
        notEmpty_.notify_one();
    }

    T pop() {
        std::unique_lock lock(mutex_);
        notEmpty_.wait(lock, [this] { return !items_.empty(); });
        T item = std::move(items_.front());
        items_.pop_front();
        notFull_.notify_one();
        return item;
    }

private:
    size_t capacity_;
    std::mutex mutex_;
    std::condition_variable notEmpty_;
    std::condition_variable notFull_;
    std::deque<T> items_;
};

}  // namespace video
