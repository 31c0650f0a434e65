#pragma once

#include <windows.h>

namespace torvalink {

// An export as a typed function pointer, or null. The cast goes through a
// plain function-pointer type so that it stays free of -Wcast-function-type.
template <class Function> Function* ProcAddress(HMODULE module, const char* name)
{
    using Plain = void (*)();
    return reinterpret_cast<Function*>(reinterpret_cast<Plain>(GetProcAddress(module, name)));
}

} // namespace torvalink
