#pragma once

// Conversion between the program's Unicode text and the system's ANSI code page,
// for the Windows functions that take text in their A form.

#include "raised_error.h"
#include "text.h"

// Characters that the code page lacks become its default character ("?").
Status ToAnsi(TextView text, AnsiText& ansi);

// Every byte (or double-byte pair) becomes one character; zero bytes are kept.
Status FromAnsi(AnsiView text, Text& wide);
