#pragma once

// The calls that take the name of a file, a folder, a library or a module, in
// the form the system takes names in: on the NT family the W functions, given
// the name as it is; on Windows 95, 98 and Me, whose W functions are stubs,
// the A functions, given the name in the ANSI code page, which holds every
// name those systems have. There a name that the code page cannot hold names
// nothing: the call fails with ERROR_NO_UNICODE_TRANSLATION as its last error.
// Each returns what its Windows function returns and leaves its last error.

#include "handles.h"
#include "raised_error.h"
#include "text.h"

#include <windows.h>

namespace torvalink {

// The W functions of the NT family that take names. They are looked up at run
// time, so that the imports stay what Windows 95 has.
struct WideFunctions {
    decltype(&::CreateFileW) CreateFileW = nullptr;
    decltype(&::DeleteFileW) DeleteFileW = nullptr;
    decltype(&::CopyFileW) CopyFileW = nullptr;
    decltype(&::FindFirstFileW) FindFirstFileW = nullptr;
    decltype(&::LoadLibraryExW) LoadLibraryExW = nullptr;
    decltype(&::GetModuleFileNameW) GetModuleFileNameW = nullptr;
    decltype(&::GetSystemDirectoryW) GetSystemDirectoryW = nullptr;
};

// The one place that decides between the two forms: true, with `table`
// filled, on the NT family; false on Windows 95, 98 and Me.
bool UseWideFunctions(WideFunctions& table);

// For tests, while it lives: `table` in place of the system's, or, for null,
// the A functions as on Windows 95. Not owned.
class WideFunctionsOverride {
public:
    explicit WideFunctionsOverride(const WideFunctions* table);
    ~WideFunctionsOverride();
    WideFunctionsOverride(const WideFunctionsOverride&) = delete;
    WideFunctionsOverride& operator=(const WideFunctionsOverride&) = delete;
};

UniqueFile CreateNamedFile(const Text& path, DWORD access, DWORD share, DWORD disposition);
BOOL DeleteNamedFile(const Text& path);
// Replaces the destination.
BOOL CopyNamedFile(const Text& source, const Text& destination);

// The first directory entry that matches `pattern` (wildcards allowed).
struct FoundEntry {
    DWORD attributes = 0;
    bool named = false; // the entry has a non-empty name
};
UniqueFind FindNamedEntry(const Text& pattern, FoundEntry& found);

// `flags` as for LoadLibraryEx; 0 searches as LoadLibrary does.
UniqueModule LoadNamedLibrary(const Text& name, DWORD flags = 0);

// The full path of a module of this process; null: the executable's.
Status GetModulePath(HMODULE module, Text& path);
// The system folder, without a closing backslash.
Status GetSystemFolderPath(Text& path);

} // namespace torvalink
