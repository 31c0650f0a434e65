#pragma once

// Failures after which nothing sensible can go on: each tells the user, where
// anybody can see it, as every failure that ends the program is told, and
// ends the process with its number as an HRESULT, the exit code of every such
// failure. None asks for memory.

#include <cstdint>

namespace torvalink {

[[noreturn]] void EndWithFatalFailure(std::int32_t number, const wchar_t* prompt) noexcept;

// Memory or a thread slot could not be had: error 7, 0x800A0007.
[[noreturn]] void FailOutOfMemory();

// A defect in the program itself (a misused string or a pure virtual call):
// error 51, 0x800A0033.
[[noreturn]] void FailInternal();

} // namespace torvalink
