#pragma once

#include <torvalink/text.h>

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

// The numbers of the failures that the program raises itself: the classic
// run-time error numbers.
enum ErrorNumber : std::int32_t {
    ErrInvalidArgument = 5,
    ErrOutOfMemory = 7,
    ErrDllLoad = 48,
    ErrInternal = 51,
    ErrBadFileName = 52,
    ErrFileNotFound = 53,
    ErrBadFileMode = 54,
    ErrDeviceIo = 57,
    ErrFileExists = 58,
    ErrDiskFull = 61,
    ErrTooManyFiles = 67,
    ErrDeviceUnavailable = 68,
    ErrPermissionDenied = 70,
    ErrDiskNotReady = 71,
    ErrPathFileAccess = 75,
    ErrPathNotFound = 76,
    ErrResourceNotFound = 326,
    ErrCannotCreateObject = 429,
    ErrInvalidPicture = 481,
    ErrResourceLoad = 31037,
};

// What a RaisedError's Number is, by where the failure arose (failures.h
// applies it, in one place):
// - from 1 to 65535, a run-time error number: an ErrorNumber above; the number
//   that the classic file statements give for a failed file operation's Win32
//   code (53 for ERROR_FILE_NOT_FOUND); or, for an HRESULT of an Automation
//   control (FACILITY_CONTROL, 0x800A....), its low word (0x800A0035 is 53).
// - negative, an HRESULT: a failed COM call, and any other Win32 error code as
//   its HRESULT_FROM_WIN32 (ERROR_ACCESS_DENIED is 0x80070005).
// So a number never means two things: Win32 code 5 and run-time error 5 differ.

// The outcome of a step: success, or the failure that stopped it. A failing
// step returns one instead of throwing; the caller passes it up with
// TORVALINK_RETURN_IF_FAILED or handles it, and cannot silently drop it.
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
#define TORVALINK_RETURN_IF_FAILED(expression)                                                                         \
    do {                                                                                                               \
        if (::torvalink::Status failure_ = (expression); failure_.Failed())                                            \
            return failure_;                                                                                           \
    } while (false)

// A failure that the program raises with a description of its own.
Status Failure(std::int32_t number, Text description, Text source = {});

} // namespace torvalink
