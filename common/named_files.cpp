#include "named_files.h"

#include "ansi_text.h"
#include "failures.h"
#include "system_library.h"

#include <atomic>

namespace torvalink {

namespace {

std::atomic<bool> Overridden{false};
std::atomic<const WideFunctions*> OverridingTable{nullptr};

// The name in the code page, for an A function; false, with the last error
// set, for a name that the code page cannot hold.
bool AnsiName(const Text& name, AnsiText& ansi)
{
    if (!ToAnsi(name, ansi).Failed())
        return true;
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return false;
}

} // namespace

bool UseWideFunctions(WideFunctions& table)
{
    if (Overridden.load(std::memory_order_acquire)) {
        const WideFunctions* const given = OverridingTable.load(std::memory_order_acquire);
        if (given)
            table = *given;
        return given != nullptr;
    }
    // GetVersion sets its high bit on Windows 95, 98 and Me.
    if (GetVersion() & 0x80000000)
        return false;
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    table.CreateFileW = ProcAddress<decltype(::CreateFileW)>(kernel, "CreateFileW");
    table.DeleteFileW = ProcAddress<decltype(::DeleteFileW)>(kernel, "DeleteFileW");
    table.CopyFileW = ProcAddress<decltype(::CopyFileW)>(kernel, "CopyFileW");
    table.FindFirstFileW = ProcAddress<decltype(::FindFirstFileW)>(kernel, "FindFirstFileW");
    table.LoadLibraryExW = ProcAddress<decltype(::LoadLibraryExW)>(kernel, "LoadLibraryExW");
    table.GetModuleFileNameW = ProcAddress<decltype(::GetModuleFileNameW)>(kernel, "GetModuleFileNameW");
    table.GetSystemDirectoryW = ProcAddress<decltype(::GetSystemDirectoryW)>(kernel, "GetSystemDirectoryW");
    // Every NT kernel32 has them all; a system that lacked one would be no NT.
    return table.CreateFileW && table.DeleteFileW && table.CopyFileW && table.FindFirstFileW && table.LoadLibraryExW &&
           table.GetModuleFileNameW && table.GetSystemDirectoryW;
}

WideFunctionsOverride::WideFunctionsOverride(const WideFunctions* table)
{
    OverridingTable.store(table, std::memory_order_release);
    Overridden.store(true, std::memory_order_release);
}

WideFunctionsOverride::~WideFunctionsOverride()
{
    Overridden.store(false, std::memory_order_release);
    OverridingTable.store(nullptr, std::memory_order_release);
}

UniqueFile CreateNamedFile(const Text& path, DWORD access, DWORD share, DWORD disposition)
{
    WideFunctions wide;
    if (UseWideFunctions(wide))
        return UniqueFile(
            wide.CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    AnsiText ansi;
    if (!AnsiName(path, ansi))
        return nullptr;
    return UniqueFile(CreateFileA(ansi.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

BOOL DeleteNamedFile(const Text& path)
{
    WideFunctions wide;
    if (UseWideFunctions(wide))
        return wide.DeleteFileW(path.c_str());
    AnsiText ansi;
    return AnsiName(path, ansi) && DeleteFileA(ansi.c_str());
}

BOOL CopyNamedFile(const Text& source, const Text& destination)
{
    WideFunctions wide;
    if (UseWideFunctions(wide))
        return wide.CopyFileW(source.c_str(), destination.c_str(), FALSE);
    AnsiText from, to;
    return AnsiName(source, from) && AnsiName(destination, to) && CopyFileA(from.c_str(), to.c_str(), FALSE);
}

UniqueFind FindNamedEntry(const Text& pattern, FoundEntry& found)
{
    found = {};
    WideFunctions wide;
    if (UseWideFunctions(wide)) {
        WIN32_FIND_DATAW entry;
        UniqueFind search(wide.FindFirstFileW(pattern.c_str(), &entry));
        if (search)
            found = {entry.dwFileAttributes, entry.cFileName[0] != L'\0'};
        return search;
    }
    AnsiText ansi;
    if (!AnsiName(pattern, ansi))
        return nullptr;
    WIN32_FIND_DATAA entry;
    UniqueFind search(FindFirstFileA(ansi.c_str(), &entry));
    if (search)
        found = {entry.dwFileAttributes, entry.cFileName[0] != '\0'};
    return search;
}

UniqueModule LoadNamedLibrary(const Text& name, DWORD flags)
{
    WideFunctions wide;
    if (UseWideFunctions(wide))
        return UniqueModule(wide.LoadLibraryExW(name.c_str(), nullptr, flags));
    AnsiText ansi;
    if (!AnsiName(name, ansi))
        return nullptr;
    return UniqueModule(LoadLibraryExA(ansi.c_str(), nullptr, flags));
}

Status GetModulePath(HMODULE module, Text& path)
{
    path.clear();
    WideFunctions wide;
    if (UseWideFunctions(wide)) {
        // A path that fills the buffer may have been cut: try a larger one.
        for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
            path.assign(size, L'\0');
            const DWORD length = wide.GetModuleFileNameW(module, path.data(), size);
            if (length == 0)
                return LastWin32Failure();
            if (length < size) {
                path.resize(length);
                return {};
            }
        }
        path.clear();
        return Win32Failure(ERROR_INSUFFICIENT_BUFFER);
    }
    char buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, buffer, MAX_PATH);
    if (length == 0)
        return LastWin32Failure();
    if (length >= MAX_PATH)
        return Win32Failure(ERROR_INSUFFICIENT_BUFFER);
    return FromAnsi(AnsiView(buffer, length), path);
}

Status GetSystemFolderPath(Text& path)
{
    path.clear();
    WideFunctions wide;
    if (UseWideFunctions(wide)) {
        wchar_t buffer[MAX_PATH];
        const UINT length = wide.GetSystemDirectoryW(buffer, MAX_PATH);
        if (length == 0)
            return LastWin32Failure();
        if (length >= MAX_PATH)
            return Win32Failure(ERROR_INSUFFICIENT_BUFFER);
        path.assign(buffer, length);
        return {};
    }
    char buffer[MAX_PATH];
    const UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
    if (length == 0)
        return LastWin32Failure();
    if (length >= MAX_PATH)
        return Win32Failure(ERROR_INSUFFICIENT_BUFFER);
    return FromAnsi(AnsiView(buffer, length), path);
}

} // namespace torvalink
