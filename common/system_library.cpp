#include "system_library.h"

#include "text.h"

namespace torvalink {

namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32 is understood only where AddDllDirectory exists
// (Windows 8, or Windows 7 and Vista with KB2533623).
bool HasSearchFlags()
{
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel && GetProcAddress(kernel, "AddDllDirectory");
}

} // namespace

UniqueModule LoadSystemLibrary(const char* name)
{
    if (HasSearchFlags())
        return UniqueModule(LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));

    // Older systems: the full path.
    char path[MAX_PATH + 16];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const AnsiView file(name);
    if (file.size() >= sizeof path - length - 1)
        return nullptr;
    path[length] = '\\';
    file.copy(path + length + 1, file.size());
    path[length + 1 + file.size()] = '\0';
    return UniqueModule(LoadLibraryA(path));
}

void RestrictDllSearchToSystemFolder()
{
    // Both are newer than Windows 95: looked up, never imported.
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel)
        return;
    using SetDefaultDllDirectoriesFn = BOOL WINAPI(DWORD);
    using SetDllDirectoryFn = BOOL WINAPI(LPCSTR);
    if (auto* setDefault = ProcAddress<SetDefaultDllDirectoriesFn>(kernel, "SetDefaultDllDirectories"))
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    else if (auto* setDirectory = ProcAddress<SetDllDirectoryFn>(kernel, "SetDllDirectoryA"))
        setDirectory("");
}

} // namespace torvalink
