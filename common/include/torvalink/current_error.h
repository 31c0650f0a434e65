#pragma once

#include <torvalink/raised_error.h>

namespace torvalink {

// The running thread's current error; Number 0 and empty texts when clear.
RaisedError& CurrentError();

// Clears the running thread's current error. A thread that ends with its
// current error clear leaves nothing of it behind.
void ClearCurrentError();

// Ignore-failures mode: clears CurrentError, runs the member's steps, which fill
// `result` and return their Status, and stores a failure in CurrentError
// instead of letting it travel. The member then returns normally, with an
// empty result after a failure.
template <class Result, class Steps> Result IgnoreFailures(Steps&& steps)
{
    ClearCurrentError();
    Result result{};
    Status status = steps(result);
    if (!status.Failed())
        return result;
    CurrentError() = status.TakeError();
    return Result{};
}

// The same for a member without a result.
template <class Steps> void IgnoreFailures(Steps&& steps)
{
    ClearCurrentError();
    Status status = steps();
    if (status.Failed())
        CurrentError() = status.TakeError();
}

} // namespace torvalink
