#pragma once

// Which Windows runs, where the answer decides which functions to call.

#include <windows.h>

namespace torvalink {

// Windows 95, 98 and Me, whose W functions are stubs that fail: GetVersion
// sets its high bit there.
inline bool Windows9xFamily()
{
    return (GetVersion() & 0x80000000) != 0;
}

// The NT family from Windows 2000 (version 5) on: the Global\ namespace of
// kernel objects, reparse points. GetVersion gives the major version in its
// low byte.
inline bool Windows2000OrLater()
{
    return !Windows9xFamily() && LOBYTE(LOWORD(GetVersion())) >= 5;
}

} // namespace torvalink
