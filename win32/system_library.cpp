#include "system_library.h"

#include "kernel_functions.h"
#include "test_overrides.h"

#include <atomic>
#include <cstring>
#include <cwchar>
#include <iterator>

namespace torvalink {

namespace {

// By RunTimeLibrary, and each once loaded.
constexpr const char* RunTimeLibraryNames[] = {"version.dll", "winmm.dll"};
std::atomic<HMODULE> LoadedLibraries[std::size(RunTimeLibraryNames)] = {};

// `name` (ASCII) from the system folder, in the form the system takes names in.
HMODULE LoadFromSystemFolder(const char* name)
{
    const KernelFunctions kernel = LookUpKernelFunctions();
    if (kernel.SetDefaultDllDirectories) // LOAD_LIBRARY_SEARCH_* understood
        return LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Older systems: the full path.
    const std::size_t length = std::strlen(name);
    if (kernel.WideNames()) {
        wchar_t path[MAX_PATH];
        const UINT folder = kernel.GetSystemDirectoryW(path, MAX_PATH);
        if (folder == 0 || folder + 1 + length >= MAX_PATH)
            return nullptr;
        path[folder] = L'\\';
        for (std::size_t i = 0; i <= length; ++i)
            path[folder + 1 + i] = static_cast<wchar_t>(name[i]);
        return kernel.LoadLibraryExW(path, nullptr, 0);
    }
    char path[MAX_PATH];
    const UINT folder = GetSystemDirectoryA(path, MAX_PATH);
    if (folder == 0 || folder + 1 + length >= MAX_PATH)
        return nullptr;
    path[folder] = '\\';
    std::memcpy(path + folder + 1, name, length + 1);
    return LoadLibraryExA(path, nullptr, 0);
}

} // namespace

HMODULE SystemLibrary(RunTimeLibrary which)
{
    const auto index = static_cast<std::size_t>(which);
    if (const HMODULE known = LoadedLibraries[index].load(std::memory_order_acquire))
        return known;
    // Threads that race here each take a load reference; all are kept.
    const HMODULE library = LoadFromSystemFolder(RunTimeLibraryNames[index]);
    if (library)
        LoadedLibraries[index].store(library, std::memory_order_release);
    return library;
}

HMODULE LoadedSystemLibrary(RunTimeLibrary which)
{
    return LoadedLibraries[static_cast<std::size_t>(which)].load(std::memory_order_acquire);
}

void OverrideSystemLibrary(RunTimeLibrary which, HMODULE library)
{
    LoadedLibraries[static_cast<std::size_t>(which)].store(library, std::memory_order_release);
}

void RestrictDllSearchToSystemFolder()
{
    const KernelFunctions kernel = LookUpKernelFunctions();
    if (kernel.SetDefaultDllDirectories)
        kernel.SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    else if (kernel.SetDllDirectoryA)
        kernel.SetDllDirectoryA("");
}

} // namespace torvalink
