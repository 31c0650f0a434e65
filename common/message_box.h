#pragma once

#include "text.h"

#include <windows.h>

namespace torvalink {

// Every message the program shows goes through here: a modal message box with
// the prompt, style and title given. The tests link a recorder in its place.
int ShowMessage(const Text& prompt, UINT style, const Text& title);

} // namespace torvalink
