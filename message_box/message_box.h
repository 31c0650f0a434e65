#pragma once

#include <torvalink/text.h>

#include <windows.h>

namespace torvalink {

// Every message that the installer's steps show goes through here, to
// DisplayMessage (message_display.h). The tests link a recorder in its place.
int ShowMessage(const Text& prompt, UINT style, const Text& title);

} // namespace torvalink
