// The one vocabulary for a failure the user must read.
//
// A function that can fail for a reason worth showing returns Result<T>: the
// value, or a Fault with a message that names the file and the reason. The
// type is [[nodiscard]], so a caller cannot drop a failure by accident; a
// caller that drops one on purpose (an implicit save, a preview picture, the
// background music) says so through IgnoreFault or Swallow (Swallow.h).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace base {

// What went wrong, for callers that react differently (a missing file is
// skipped where a broken one stops the build); the message is what the user
// reads either way.
enum class FaultKind {
    Failed,       // anything without a more specific kind
    NotFound,     // the file or folder is not there
    BadData,      // the file is there but its content is unusable
    OutOfMemory,  // an allocation failed
    Refused,      // the request itself is invalid (options, sizes, kinds)
    Declined,     // the user answered No; there is nothing to report
};

struct Fault {
    std::string message;
    FaultKind kind = FaultKind::Failed;
};

inline Fault MakeFault(std::string message, FaultKind kind = FaultKind::Failed) {
    return Fault{std::move(message), kind};
}

template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Fault fault) : state_(std::in_place_index<1>, std::move(fault)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    // The value; only after ok() said so.
    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    // The fault; only when ok() is false.
    const Fault& fault() const { return std::get<1>(state_); }
    const std::string& message() const { return fault().message; }

private:
    std::variant<T, Fault> state_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Fault fault) : fault_(std::move(fault)) {}

    bool ok() const { return !fault_.has_value(); }
    explicit operator bool() const { return ok(); }

    const Fault& fault() const { return *fault_; }
    const std::string& message() const { return fault_->message; }

private:
    std::optional<Fault> fault_;
};

using Status = Result<void>;

}  // namespace base
