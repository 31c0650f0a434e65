#pragma once

// Conversion between the program's Unicode text and the system's ANSI code page,
// for the Windows functions that take text in their A form.

#include <torvalink/raised_error.h>
#include <torvalink/text.h>

namespace torvalink {

// Lossless only: a text that does not come back unchanged from the code page
// (a character it lacks, which Windows would replace by "?" or by a look-alike
// such as "L" for "Ł" or "\" for "＼") is refused with
// ERROR_NO_UNICODE_TRANSLATION, and `ansi` is left empty.
Status ToAnsi(TextView text, AnsiText& ansi);

// Every byte (or double-byte pair) becomes one character; zero bytes are kept.
Status FromAnsi(AnsiView text, Text& wide);

} // namespace torvalink
