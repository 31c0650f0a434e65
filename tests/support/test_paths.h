#pragma once

#include <windows.h>

#include <string>

// A file in the folder of the running test executable, where the fixtures are built.
inline std::wstring BesideTestExe(const std::wstring& name)
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    folder.erase(folder.find_last_of(L'\\') + 1);
    return folder + name;
}
