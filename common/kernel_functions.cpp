#include "kernel_functions.h"

#include "system_library.h"

#include <atomic>

namespace torvalink {

namespace {

const KernelFunctions Windows95 = {};
std::atomic<const KernelFunctions*> Overriding{nullptr};

} // namespace

KernelFunctions LookUpKernelFunctions()
{
    if (const KernelFunctions* given = Overriding.load(std::memory_order_acquire))
        return *given;
    KernelFunctions table;
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel)
        return table;
    // GetVersion sets its high bit on Windows 95, 98 and Me, whose W functions are stubs.
    if ((GetVersion() & 0x80000000) == 0) {
        table.CreateFileW = ProcAddress<decltype(::CreateFileW)>(kernel, "CreateFileW");
        table.DeleteFileW = ProcAddress<decltype(::DeleteFileW)>(kernel, "DeleteFileW");
        table.CopyFileW = ProcAddress<decltype(::CopyFileW)>(kernel, "CopyFileW");
        table.MoveFileW = ProcAddress<decltype(::MoveFileW)>(kernel, "MoveFileW");
        table.SetFileAttributesW = ProcAddress<decltype(::SetFileAttributesW)>(kernel, "SetFileAttributesW");
        table.FindFirstFileW = ProcAddress<decltype(::FindFirstFileW)>(kernel, "FindFirstFileW");
        table.LoadLibraryExW = ProcAddress<decltype(::LoadLibraryExW)>(kernel, "LoadLibraryExW");
        table.GetModuleFileNameW = ProcAddress<decltype(::GetModuleFileNameW)>(kernel, "GetModuleFileNameW");
        table.GetSystemDirectoryW = ProcAddress<decltype(::GetSystemDirectoryW)>(kernel, "GetSystemDirectoryW");
        table.OutputDebugStringW = ProcAddress<decltype(::OutputDebugStringW)>(kernel, "OutputDebugStringW");
        table.MoveFileExW = ProcAddress<decltype(::MoveFileExW)>(kernel, "MoveFileExW");
        table.GetFinalPathNameByHandleW =
            ProcAddress<DWORD WINAPI(HANDLE, LPWSTR, DWORD, DWORD)>(kernel, "GetFinalPathNameByHandleW");
    }
    table.SetDefaultDllDirectories = ProcAddress<BOOL WINAPI(DWORD)>(kernel, "SetDefaultDllDirectories");
    table.SetDllDirectoryA = ProcAddress<BOOL WINAPI(LPCSTR)>(kernel, "SetDllDirectoryA");
    return table;
}

KernelFunctionsOverride::KernelFunctionsOverride(const KernelFunctions* table)
{
    Overriding.store(table ? table : &Windows95, std::memory_order_release);
}

KernelFunctionsOverride::~KernelFunctionsOverride()
{
    Overriding.store(nullptr, std::memory_order_release);
}

} // namespace torvalink
