#pragma once

#include <torvalink/raised_error.h>

#if __cpp_exceptions
#include <new>
#endif

namespace torvalink {

// The running thread's current error; Number 0 and empty texts when clear. The
// reference stays valid for as long as the thread runs, across later calls;
// the record goes when the thread ends (on Windows Vista and later; on older
// Windows it stays until the process ends).
RaisedError& CurrentError();

// Clears the running thread's current error.
void ClearCurrentError();

// Stores `error` as the running thread's current error.
void StoreCurrentError(RaisedError&& error);

// Stores error 7, "Out of memory", without asking for memory where the thread
// already has its record.
void StoreOutOfMemory() noexcept;

// Runs `steps`: true when they ran to their end, false when memory ran out in
// them. Only where the library is built with exceptions can that be caught:
// the product binaries, built without, end the program with error 7 instead.
template <class Steps> bool RanWithinMemory(Steps&& steps)
{
#if __cpp_exceptions
    try {
        steps();
    } catch (const std::bad_alloc&) {
        return false;
    }
#else
    steps();
#endif
    return true;
}

// Ignore-failures mode: clears CurrentError, runs the member's steps, which fill
// `result` and return their Status, and stores a failure in CurrentError
// instead of letting it travel, running out of memory included (error 7). The
// member then returns normally, with an empty result after a failure.
template <class Result, class Steps> Result IgnoreFailures(Steps&& steps)
{
    ClearCurrentError();
    Result result{};
    Status status;
    if (!RanWithinMemory([&] { status = steps(result); })) {
        StoreOutOfMemory();
        return Result{};
    }
    if (!status.Failed())
        return result;
    StoreCurrentError(status.TakeError());
    return Result{};
}

// The same for a member without a result; hands back the failure it stored
// (CurrentError: number 0 when the steps succeeded).
template <class Steps> const RaisedError& IgnoreFailures(Steps&& steps)
{
    IgnoreFailures<bool>([&](bool&) { return steps(); });
    return CurrentError();
}

} // namespace torvalink
