#pragma once

// Conversion between the program's Unicode text and the system's ANSI code page,
// for the Windows functions that take text in their A form.

#include <cstddef>
#include <string>
#include <string_view>

// Characters that the code page lacks become its default character ("?").
std::string ToAnsi(std::wstring_view text);

// Every byte (or double-byte pair) becomes one character; zero bytes are kept.
std::wstring FromAnsi(std::string_view text);
