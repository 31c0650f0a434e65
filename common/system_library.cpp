#include "system_library.h"

#include "text.h"

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
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const AnsiText path = AnsiText(folder, length) + "\\" + name;
    return UniqueModule(LoadLibraryA(path.c_str()));
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
