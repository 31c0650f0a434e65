#pragma once

#include "raised_error.h"

namespace torvalink {

// The installer's whole run: classifies the system and runs the install
// procedure that fits it, or none. A failure that nothing handled comes back.
Status Main();

// Folders from the Scripting Runtime (Windows 98, Me and the NT family).
Status InstallWithSpecialFolders();

// Fixed folders and plain file operations (Windows 95).
Status InstallWithFixedPaths();

} // namespace torvalink
