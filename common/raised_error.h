#pragma once

#include "text.h"

#include <windows.h>

#include <cstdint>
#include <utility>

namespace torvalink {

// A failure: its number, where it arose (empty when not given) and what went wrong.
struct RaisedError {
    std::int32_t Number = 0;
    Text Source;
    Text Description;
};

// Numbers the program raises itself, beside the platform's error codes.
enum RaisedErrorNumber : std::int32_t {
    ErrOutOfMemory = 7,
    ErrInternal = 51,
};

// The outcome of a step: success, or the failure that stopped it. A failing
// step returns one instead of throwing; the caller passes it up with
// RETURN_IF_FAILED or handles it, and cannot silently drop it.
class [[nodiscard]] Status {
public:
    Status() = default; // success
    Status(RaisedError error) : error_(std::move(error)) {}

    bool Failed() const noexcept { return error_.Number != 0; }
    // 0 on success.
    std::int32_t Number() const noexcept { return error_.Number; }
    const RaisedError& Error() const noexcept { return error_; }
    RaisedError TakeError() noexcept { return std::move(error_); }

private:
    RaisedError error_;
};

// Ends the calling function with the failure of `expression`, if it failed.
#define RETURN_IF_FAILED(expression)                                                                                   \
    do {                                                                                                               \
        if (::torvalink::Status failure_ = (expression); failure_.Failed())                                            \
            return failure_;                                                                                           \
    } while (false)

Status Failure(std::int32_t number, Text description, Text source = {});

// A Win32 error code with the system's text for it. Take the code right after
// the failing call, before any cleanup can overwrite it.
Status Win32Failure(DWORD code);

// The calling thread's last Win32 error: for the line right after a failed call.
inline Status LastWin32Failure()
{
    return Win32Failure(GetLastError());
}

// A failed COM call: the HRESULT as the number, the system's text for it.
Status HResultFailure(HRESULT result);

// The system's text for an error code or HRESULT, without the trailing line
// end; "Application-defined or object-defined error" where it has none.
Text SystemMessage(DWORD code);

// Memory or a thread slot could not be had: nothing sensible can go on. Tells
// the user without needing any memory of its own, and ends the process.
[[noreturn]] void FailOutOfMemory();

} // namespace torvalink
