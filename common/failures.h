#pragma once

// How failures become a RaisedError's number and description, by the rule that
// raised_error.h states: the one place that applies it.

#include <torvalink/raised_error.h>
#include <torvalink/text.h>

#include <windows.h>

#include <cstdint>

namespace torvalink {

// A failure with `number` and its description: the classic run-time text for
// the numbers that can arrive without one ("File not found" for 53), the
// system's text for an HRESULT; never empty.
Status RunTimeFailure(std::int32_t number);

// The description that RunTimeFailure gives `number`.
Text ErrorDescription(std::int32_t number);

// The system's text for a Win32 error code or an HRESULT, without the trailing
// line end; "Application-defined or object-defined error" where it has none.
Text SystemMessage(DWORD code);

// A failed file operation as the classic file statements report it: 53 for a
// missing file, 76 for a missing folder, 70 for a file that may not be
// touched, and so on; 75 "Path/File access error" for anything else.
Status FileFailure(DWORD code);

// The number alone, for a caller that gives back only numbers.
std::int32_t FileErrorNumber(DWORD code);

// Any other failed Win32 call: the code as its HRESULT, with the system's text.
// Take the code right after the failing call, before any cleanup can
// overwrite it.
Status Win32Failure(DWORD code);

// A failed COM call: its HRESULT, or an Automation control's run-time number.
Status HResultFailure(HRESULT result);

// The number that a RaisedError carries for a failed COM call.
std::int32_t ErrorNumberOf(HRESULT result);

// The HRESULT that stands for a RaisedError's number, the other way round:
// a run-time number n as the Automation control's 0x800A0000 + n, an HRESULT
// as itself; never a success.
HRESULT NumberAsHResult(std::int32_t number);

// The calling thread's last Win32 error, for the line right after a failed call.
inline Status LastFileFailure()
{
    return FileFailure(GetLastError());
}

inline Status LastWin32Failure()
{
    return Win32Failure(GetLastError());
}

// The outcome of a Win32 call that returns a BOOL: success, or its last error.
inline Status FileResult(BOOL succeeded)
{
    return succeeded ? Status() : LastFileFailure();
}

inline Status Win32Result(BOOL succeeded)
{
    return succeeded ? Status() : LastWin32Failure();
}

} // namespace torvalink
