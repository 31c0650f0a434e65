#pragma once

#include <windows.h>

namespace torvalink {

// The system libraries that the program loads at run time rather than imports.
// Neither is a Known DLL, so an import could take a copy planted beside the
// executable.
enum class RunTimeLibrary { Version, Winmm };

// The library, loaded from the system folder only, never from the
// executable's folder or the current directory, on first use and kept for the
// rest of the process (a sound goes on playing inside winmm.dll after
// PlayWave has returned); null when it cannot be loaded.
HMODULE SystemLibrary(RunTimeLibrary which);

// The library if it has been loaded, without loading it; otherwise null.
HMODULE LoadedSystemLibrary(RunTimeLibrary which);

// Limits the process's DLL search to the system folder where the platform can,
// and at least takes the current directory out of it.
void RestrictDllSearchToSystemFolder();

} // namespace torvalink
