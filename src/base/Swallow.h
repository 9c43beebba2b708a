// The one place where a failure is dropped on purpose.
//
// Some failures must not reach the user: an implicit save on exit, a picture
// that the screen cannot show, background music that will not play. Each such
// place routes the failure through IgnoreFault (for a Result) or Swallow (for
// code that throws), never through a bare catch. Set a breakpoint on
// base::FaultIgnored to stop on every dropped failure; `grep -rn Swallow src`
// lists them all.
#pragma once

#include <exception>
#include <string_view>
#include <utility>

#include "base/Result.h"

namespace base {

// Called for every dropped failure; does nothing but keep the where and why
// visible to a debugger. Out of line so that a breakpoint always hits.
void FaultIgnored(std::string_view where, std::string_view message) noexcept;

// Drops the fault of a Result whose failure the caller may not report.
template <class T>
void IgnoreFault(std::string_view where, const Result<T>& result) noexcept {
    if (!result.ok()) FaultIgnored(where, result.message());
}

// Runs body and drops any exception it throws. True when body finished.
template <class Body>
bool Swallow(std::string_view where, Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
        return true;
    } catch (const std::exception& error) {
        FaultIgnored(where, error.what());
    } catch (...) {
        FaultIgnored(where, "unknown exception");
    }
    return false;
}

}  // namespace base
