#pragma once

// Conversion between the program's Unicode text and the system's ANSI code page,
// for the Windows functions that take text in their A form.

#include "raised_error.h"
#include "text.h"

namespace torvalink {

// Lossless only: a text that does not come back unchanged from the code page
// (a character it lacks, which Windows would replace by "?" or by a look-alike
// such as "L" for "Ł" or "\" for "＼") is refused with
// ERROR_NO_UNICODE_TRANSLATION, and `ansi` is left empty.
Status ToAnsi(TextView text, AnsiText& ansi);

// The same for a path. Where the code page cannot hold it but its folder
// exists, the folder's short (8.3) form followed by the last part as given
// (on systems that have short forms); the last part must fit the code page.
Status ToAnsiPath(const Text& path, AnsiText& ansi);

// Every byte (or double-byte pair) becomes one character; zero bytes are kept.
Status FromAnsi(AnsiView text, Text& wide);

} // namespace torvalink
