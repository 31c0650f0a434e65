#include "named_files.h"

#include "ansi_text.h"
#include "failures.h"
#include "kernel_functions.h"

namespace torvalink {

namespace {

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

UniqueFile CreateNamedFile(const Text& path, DWORD access, DWORD share, DWORD disposition)
{
    const KernelFunctions kernel = LookUpKernelFunctions();
    if (kernel.WideNames())
        return UniqueFile(
            kernel.CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    AnsiText ansi;
    if (!AnsiName(path, ansi))
        return nullptr;
    return UniqueFile(CreateFileA(ansi.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

BOOL DeleteNamedFile(const Text& path)
{
    const KernelFunctions kernel = LookUpKernelFunctions();
    if (kernel.WideNames())
        return kernel.DeleteFileW(path.c_str());
    AnsiText ansi;
    return AnsiName(path, ansi) && DeleteFileA(ansi.c_str());
}

BOOL CopyNamedFile(const Text& source, const Text& destination)
{
    const KernelFunctions kernel = LookUpKernelFunctions();
    if (kernel.WideNames())
        return kernel.CopyFileW(source.c_str(), destination.c_str(), FALSE);
    AnsiText from, to;
    return AnsiName(source, from) && AnsiName(destination, to) && CopyFileA(from.c_str(), to.c_str(), FALSE);
}

UniqueFind FindNamedEntry(const Text& pattern, FoundEntry& found)
{
    found = {};
    const KernelFunctions kernel = LookUpKernelFunctions();
    if (kernel.WideNames()) {
        WIN32_FIND_DATAW entry;
        UniqueFind search(kernel.FindFirstFileW(pattern.c_str(), &entry));
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
    const KernelFunctions kernel = LookUpKernelFunctions();
    if (kernel.WideNames())
        return UniqueModule(kernel.LoadLibraryExW(name.c_str(), nullptr, flags));
    AnsiText ansi;
    if (!AnsiName(name, ansi))
        return nullptr;
    return UniqueModule(LoadLibraryExA(ansi.c_str(), nullptr, flags));
}

Status GetModulePath(HMODULE module, Text& path)
{
    path.clear();
    const KernelFunctions kernel = LookUpKernelFunctions();
    if (kernel.WideNames()) {
        // A path that fills the buffer may have been cut: try a larger one.
        for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
            path.assign(size, L'\0');
            const DWORD length = kernel.GetModuleFileNameW(module, path.data(), size);
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
    const KernelFunctions kernel = LookUpKernelFunctions();
    if (kernel.WideNames()) {
        wchar_t buffer[MAX_PATH];
        const UINT length = kernel.GetSystemDirectoryW(buffer, MAX_PATH);
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
