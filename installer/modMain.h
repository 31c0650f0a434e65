#pragma once

#include "install_steps.h"

#include <windows.h>

namespace torvalink {

// The installer's whole run: classifies the system and runs the install
// procedure that fits it, or none. What the run came to (InstallPayload): a
// failure that nothing handled, or the outcome, S_OK where nothing was to be
// done.
InstallOutcome Main();

// Folders from the Scripting Runtime (Windows 98, Me and the NT family).
InstallOutcome InstallWithSpecialFolders();

// Fixed folders and plain file operations (Windows 95).
InstallOutcome InstallWithFixedPaths();

} // namespace torvalink
