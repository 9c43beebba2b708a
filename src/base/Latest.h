// The newest of a stream of values handed from a fast producer to a slower
// reader that wants only the newest: the producer puts every value, the
// reader takes what is new at its own pace, and the values between are
// dropped. Safe across threads.
#pragma once

#include <mutex>
#include <optional>
#include <utility>

namespace base {

template <class T>
class Latest {
public:
    void Put(const T& value) {
        std::lock_guard lock(mutex_);
        value_ = value;  // a held value's storage is reused
    }
    // The value put since the last take, if any.
    std::optional<T> Take() {
        std::lock_guard lock(mutex_);
        return std::exchange(value_, std::nullopt);
    }

private:
    std::mutex mutex_;
    std::optional<T> value_;
};

}  // namespace base
