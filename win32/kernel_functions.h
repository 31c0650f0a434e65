#pragma once

// The kernel32 functions that not every Windows has, looked up by name once,
// into this one table, so that the imports stay what Windows 95 has.

#include <windows.h>

namespace torvalink {

struct KernelFunctions {
    // The W forms of the calls that take names: the NT family's. Null on
    // Windows 95, 98 and Me, where they are stubs that fail.
    decltype(&::CreateFileW) CreateFileW = nullptr;
    decltype(&::DeleteFileW) DeleteFileW = nullptr;
    decltype(&::CopyFileW) CopyFileW = nullptr;
    decltype(&::MoveFileW) MoveFileW = nullptr;
    decltype(&::SetFileAttributesW) SetFileAttributesW = nullptr;
    decltype(&::FindFirstFileW) FindFirstFileW = nullptr;
    decltype(&::LoadLibraryExW) LoadLibraryExW = nullptr;
    decltype(&::GetModuleFileNameW) GetModuleFileNameW = nullptr;
    decltype(&::GetSystemDirectoryW) GetSystemDirectoryW = nullptr;
    decltype(&::OutputDebugStringW) OutputDebugStringW = nullptr; // takes no name

    // Newer than Windows 95; null where the system lacks them. With
    // SetDefaultDllDirectories (Windows 8, or 7 and Vista with KB2533623)
    // LoadLibraryEx understands the LOAD_LIBRARY_SEARCH_* flags.
    BOOL(WINAPI* SetDefaultDllDirectories)(DWORD) = nullptr;
    BOOL(WINAPI* SetDllDirectoryA)(LPCSTR) = nullptr; // XP SP1
    // The NT family's only: Windows 95, 98 and Me have no MoveFileEx.
    decltype(&::MoveFileExW) MoveFileExW = nullptr;
    DWORD(WINAPI* GetFinalPathNameByHandleW)(HANDLE, LPWSTR, DWORD, DWORD) = nullptr; // Vista
    // Fiber-local storage, whose callback tells of a thread's end (Vista), and
    // the pin that keeps the module holding the callback loaded (XP).
    DWORD(WINAPI* FlsAlloc)(PFLS_CALLBACK_FUNCTION) = nullptr;
    void*(WINAPI* FlsGetValue)(DWORD) = nullptr;
    BOOL(WINAPI* FlsSetValue)(DWORD, void*) = nullptr;
    BOOL(WINAPI* GetModuleHandleExW)(DWORD, LPCWSTR, HMODULE*) = nullptr;

    // The one place that decides the form of names: the W functions, given
    // names as they are, where all of them are there (the NT family).
    bool WideNames() const
    {
        return CreateFileW && DeleteFileW && CopyFileW && MoveFileW && SetFileAttributesW && FindFirstFileW &&
               LoadLibraryExW && GetModuleFileNameW && GetSystemDirectoryW;
    }
};

// The table for this system, looked up on the first call.
KernelFunctions LookUpKernelFunctions();

} // namespace torvalink
