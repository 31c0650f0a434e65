#include "system_library.h"

#include "kernel_functions.h"
#include "named_files.h"

#include <atomic>
#include <iterator>

namespace torvalink {

namespace {

// By RunTimeLibrary, and each once loaded.
constexpr const char* RunTimeLibraryNames[] = {"version.dll", "winmm.dll"};
std::atomic<HMODULE> LoadedLibraries[std::size(RunTimeLibraryNames)] = {};

} // namespace

UniqueModule LoadSystemLibrary(const char* name)
{
    const Text file(name, name + std::char_traits<char>::length(name)); // the names are ASCII
    if (LookUpKernelFunctions().SetDefaultDllDirectories)               // LOAD_LIBRARY_SEARCH_* understood
        return LoadNamedLibrary(file, LOAD_LIBRARY_SEARCH_SYSTEM32);

    // Older systems: the full path.
    Text path;
    if (GetSystemFolderPath(path).Failed())
        return nullptr;
    return LoadNamedLibrary(path + L"\\" + file);
}

HMODULE SystemLibrary(RunTimeLibrary which)
{
    const auto index = static_cast<std::size_t>(which);
    if (const HMODULE known = LoadedLibraries[index].load(std::memory_order_acquire))
        return known;
    // Threads that race here each take a load reference; all are kept.
    const HMODULE library = LoadSystemLibrary(RunTimeLibraryNames[index]).release();
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
