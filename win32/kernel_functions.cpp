#include "test_overrides.h"

#include "proc_address.h"
#include "windows_family.h"

#include <atomic>

namespace torvalink {

namespace {

const KernelFunctions Windows95 = {};
std::atomic<const KernelFunctions*> Overriding{nullptr};

KernelFunctions SystemTable()
{
    KernelFunctions table;
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel)
        return table;
    if (!Windows9xFamily()) {
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
        table.GetModuleHandleExW = ProcAddress<BOOL WINAPI(DWORD, LPCWSTR, HMODULE*)>(kernel, "GetModuleHandleExW");
    }
    table.SetDefaultDllDirectories = ProcAddress<BOOL WINAPI(DWORD)>(kernel, "SetDefaultDllDirectories");
    table.SetDllDirectoryA = ProcAddress<BOOL WINAPI(LPCSTR)>(kernel, "SetDllDirectoryA");
    table.FlsAlloc = ProcAddress<DWORD WINAPI(PFLS_CALLBACK_FUNCTION)>(kernel, "FlsAlloc");
    table.FlsGetValue = ProcAddress<void * WINAPI(DWORD)>(kernel, "FlsGetValue");
    table.FlsSetValue = ProcAddress<BOOL WINAPI(DWORD, void*)>(kernel, "FlsSetValue");
    return table;
}

// Looked up once. Threads that meet the first look-up wait for it, which
// takes no time; zero-initialised, so that it costs the executable no data.
KernelFunctions Cached;
std::atomic<bool> Filled{false};
std::atomic<LONG> Filling{0};

} // namespace

KernelFunctions LookUpKernelFunctions()
{
    if (const KernelFunctions* given = Overriding.load(std::memory_order_acquire))
        return *given;
    for (;;) {
        if (Filled.load(std::memory_order_acquire))
            return Cached;
        if (Filling.exchange(1, std::memory_order_acquire) == 0) {
            Cached = SystemTable();
            Filled.store(true, std::memory_order_release);
            return Cached;
        }
        Sleep(0);
    }
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
