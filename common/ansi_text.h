#pragma once

// Conversion between the program's Unicode text and the system's ANSI code page,
// for the Windows functions that take text in their A form.

#include "text.h"

#include <cstddef>

// Characters that the code page lacks become its default character ("?").
AnsiText ToAnsi(TextView text);

// Every byte (or double-byte pair) becomes one character; zero bytes are kept.
Text FromAnsi(AnsiView text);
