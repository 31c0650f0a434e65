#pragma once

#include <torvalink/raised_error.h>

namespace torvalink {

// A defect in the program itself (a misused string or a pure virtual call):
// tells the user with a fixed text, as FailOutOfMemory does, and ends the
// process with error 51 as its HRESULT, 0x800A0033.
[[noreturn]] void FailInternal();

} // namespace torvalink
