#pragma once

#include <torvalink/text.h>

#include <windows.h>

namespace torvalink {

// Every message the program shows goes through here: a modal message box with
// the prompt, style and title given, where anybody can answer it; elsewhere
// (a window station that is not visible) the text goes to the debugger output
// and the answer is OK. The tests link a recorder in its place.
int ShowMessage(const Text& prompt, UINT style, const Text& title);

} // namespace torvalink
