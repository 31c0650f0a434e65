#pragma once

#include <torvalink/raised_error.h>

#include <windows.h>

namespace torvalink {

// The installer's whole run: classifies the system and runs the install
// procedure that fits it, or none. A failure that nothing handled comes back;
// otherwise `outcome` tells what the run came to (InstallPayload), S_OK where
// nothing was to be done.
Status Main(HRESULT& outcome);

// Folders from the Scripting Runtime (Windows 98, Me and the NT family).
Status InstallWithSpecialFolders(HRESULT& outcome);

// Fixed folders and plain file operations (Windows 95).
Status InstallWithFixedPaths(HRESULT& outcome);

} // namespace torvalink
