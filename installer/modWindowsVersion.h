#pragma once

#include <windows.h>

#include <cstdint>

namespace torvalink {

// The version code of the running system: 1 Win32s; 2 to 4 Windows 95; 5 and 6
// Windows 98; 7 Windows Me; 8 NT 4.0; 9 2000; 10 XP; 11 5.2 systems; 12 the 6.x
// systems; 0 anything else.
std::int32_t GetWindowsVersion();

// The version code of a version record as GetVersionExA fills it.
std::int32_t ClassifyWindowsVersion(const OSVERSIONINFOA& record);

} // namespace torvalink
