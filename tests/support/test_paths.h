#pragma once

#include <torvalink/text.h>

#include <windows.h>

namespace torvalink {

// A file in the folder of the running test executable, where the fixtures are built.
inline Text BesideTestExe(const Text& name)
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    Text folder(path, length);
    folder.erase(folder.find_last_of(L'\\') + 1);
    return folder + name;
}

} // namespace torvalink
