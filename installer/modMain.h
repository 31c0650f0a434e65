#pragma once

// The installer's whole run: classifies the system and runs the install
// procedure that fits it, or none.
void Main();

// Folders from the Scripting Runtime (Windows 98, Me and the NT family).
void InstallWithSpecialFolders();

// Fixed folders and plain file operations (Windows 95).
void InstallWithFixedPaths();
