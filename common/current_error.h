#pragma once

#include "raised_error.h"

#include <type_traits>
#include <utility>

// The running thread's current error; Number 0 and empty texts when clear.
RaisedError& CurrentError();
void ClearCurrentError();

// Inside a catch handler: the failure being handled, as a RaisedError.
// Memory exhaustion and any other C++ exception get numbers of their own.
RaisedError CaughtFailure();

// Ignore-failures mode: clears CurrentError, runs the member's steps, and stores
// a failure in CurrentError instead of letting it travel. The member then
// returns normally with an empty result.
template <class Steps> auto IgnoreFailures(Steps&& steps) -> decltype(steps())
{
    using Result = decltype(steps());
    ClearCurrentError();
    try {
        return std::forward<Steps>(steps)();
    } catch (...) {
        CurrentError() = CaughtFailure();
    }
    if constexpr (!std::is_void_v<Result>)
        return Result{};
}

// Catch-all that reports a failure by its number: 0 when every step succeeded.
template <class Steps> std::int32_t FailureNumberOf(Steps&& steps)
{
    try {
        std::forward<Steps>(steps)();
        return 0;
    } catch (...) {
        return CaughtFailure().Number;
    }
}
