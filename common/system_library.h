#pragma once

#include "handles.h"

#include <windows.h>

namespace torvalink {

// A system library loaded from the system folder only, never from the
// executable's folder or the current directory. Null when it cannot be loaded.
UniqueModule LoadSystemLibrary(const char* name);

// An export as a typed function pointer, or null. The cast goes through a
// plain function-pointer type so that it stays free of -Wcast-function-type.
template <class Function> Function* ProcAddress(HMODULE module, const char* name)
{
    using Plain = void (*)();
    return reinterpret_cast<Function*>(reinterpret_cast<Plain>(GetProcAddress(module, name)));
}

// Limits the process's DLL search to the system folder where the platform can,
// and at least takes the current directory out of it.
void RestrictDllSearchToSystemFolder();

} // namespace torvalink
