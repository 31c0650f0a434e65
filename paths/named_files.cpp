#include "named_files.h"

#include "ansi_text.h"
#include "failures.h"
#include "kernel_functions.h"
#include "windows_family.h"

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

UniqueFile CreateFileNamed(const Text& path, DWORD access, DWORD share, DWORD disposition, DWORD flags)
{
    const KernelFunctions kernel = LookUpKernelFunctions();
    if (kernel.WideNames())
        return UniqueFile(kernel.CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr));
    AnsiText ansi;
    if (!AnsiName(path, ansi))
        return nullptr;
    return UniqueFile(CreateFileA(ansi.c_str(), access, share, nullptr, disposition, flags, nullptr));
}

} // namespace

UniqueFile CreateNamedFile(const Text& path, DWORD access, DWORD share, DWORD disposition)
{
    return CreateFileNamed(path, access, share, disposition, FILE_ATTRIBUTE_NORMAL);
}

UniqueFile CreateNewNamedFile(const Text& path, DWORD access, DWORD share)
{
    // Older systems refuse the flag they do not know; they have no reparse points either.
    const bool reparsePoints = LookUpKernelFunctions().WideNames() && Windows2000OrLater();
    return CreateFileNamed(path, access, share, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | (reparsePoints ? FILE_FLAG_OPEN_REPARSE_POINT : 0));
}

BOOL DeleteNamedFile(const Text& path)
{
    const KernelFunctions kernel = LookUpKernelFunctions();
    if (kernel.WideNames())
        return kernel.DeleteFileW(path.c_str());
    AnsiText ansi;
    return AnsiName(path, ansi) && DeleteFileA(ansi.c_str());
}

namespace {

// The path that names the file for every program: a 32-bit program on 64-bit
// Windows sees the system folder redirected, the session manager at the
// restart does not. Windows before Vista cannot tell; there it is `path`.
Text RealPath(const Text& path)
{
    const auto finalPath = LookUpKernelFunctions().GetFinalPathNameByHandleW;
    const UniqueFile file =
        finalPath ? CreateNamedFile(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING)
                  : nullptr;
    wchar_t buffer[MAX_PATH + 8];
    const DWORD length = file ? finalPath(file.get(), buffer, MAX_PATH + 8, VOLUME_NAME_DOS) : 0;
    return length > 0 && length < MAX_PATH + 8 ? Text(buffer, length) : path;
}

} // namespace

BOOL DeleteNamedFileNowOrAtRestart(const Text& path)
{
    if (DeleteNamedFile(path) || GetLastError() == ERROR_FILE_NOT_FOUND)
        return TRUE;
    const auto schedule = LookUpKernelFunctions().MoveFileExW;
    return schedule && schedule(RealPath(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

BOOL MoveNamedFile(const Text& source, const Text& destination)
{
    const KernelFunctions kernel = LookUpKernelFunctions();
    if (kernel.WideNames())
        return kernel.MoveFileW(source.c_str(), destination.c_str());
    AnsiText from, to;
    return AnsiName(source, from) && AnsiName(destination, to) && MoveFileA(from.c_str(), to.c_str());
}

BOOL SetNamedFileAttributes(const Text& path, DWORD attributes)
{
    const KernelFunctions kernel = LookUpKernelFunctions();
    if (kernel.WideNames())
        return kernel.SetFileAttributesW(path.c_str(), attributes);
    AnsiText ansi;
    return AnsiName(path, ansi) && SetFileAttributesA(ansi.c_str(), attributes);
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

} // namespace torvalink
