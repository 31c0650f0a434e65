#pragma once

#include <torvalink/raised_error.h>

namespace torvalink {

// A defect in the program itself (a misused string or a pure virtual call):
// tells the user with a fixed text and ends the process.
[[noreturn]] void FailInternal();

} // namespace torvalink
