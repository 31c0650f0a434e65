#pragma once

#include "text.h"

#include <windows.h>

#include <cstdint>

// A failure: its number, where it arose (empty when not given) and what went wrong.
// A failing step throws one; it travels up until something catches it.
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

[[noreturn]] void Raise(std::int32_t number, Text description, Text source = {});

// A Win32 error code with the system's text for it. Take the code right after
// the failing call, before any cleanup can overwrite it.
[[noreturn]] void RaiseWin32(DWORD code);

// A failed COM call: the HRESULT as the number, the system's text for it.
[[noreturn]] void RaiseHResult(HRESULT result);

// The system's text for an error code or HRESULT, without the trailing line end.
Text SystemMessage(DWORD code);
