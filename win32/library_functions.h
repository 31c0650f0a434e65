#pragma once

// The functions of user32, version.dll and winmm.dll that the program looks up
// by name rather than imports, one table per library, each looked up once
// (kernel32's: kernel_functions.h). Null where the system lacks one.

#include <windows.h>
#include <mmsystem.h>

namespace torvalink {

// Window stations came with the NT family; Windows 95, 98 and Me lack both.
struct UserFunctions {
    HWINSTA(WINAPI* GetProcessWindowStation)() = nullptr;
    BOOL(WINAPI* GetUserObjectInformationW)(HANDLE, int, PVOID, DWORD, LPDWORD) = nullptr;
};
UserFunctions LookUpUserFunctions();

// version.dll, loaded from the system folder (system_library.h). The W forms
// are the NT family's; Windows 95, 98 and Me take names in the A forms.
struct VersionFunctions {
    decltype(&::GetFileVersionInfoSizeW) GetFileVersionInfoSizeW = nullptr;
    decltype(&::GetFileVersionInfoW) GetFileVersionInfoW = nullptr;
    decltype(&::VerQueryValueW) VerQueryValueW = nullptr;
    decltype(&::GetFileVersionInfoSizeA) GetFileVersionInfoSizeA = nullptr;
    decltype(&::GetFileVersionInfoA) GetFileVersionInfoA = nullptr;
    decltype(&::VerQueryValueA) VerQueryValueA = nullptr;
};
VersionFunctions LookUpVersionFunctions();

// winmm.dll, loaded from the system folder on first use.
struct WinmmFunctions {
    decltype(&::PlaySoundA) PlaySoundA = nullptr;
};
WinmmFunctions LookUpWinmmFunctions();

} // namespace torvalink
