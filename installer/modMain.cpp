#include "modMain.h"

#include "failures.h"
#include "file_system_object.h"
#include <torvalink/handles.h>
#include "install_steps.h"
#include "modWindowsVersion.h"
#include "module_paths.h"
#include "named_files.h"

namespace torvalink {

namespace {

class ScriptingFiles final : public InstallFiles {
public:
    explicit ScriptingFiles(FileSystemObject& fso) : fso_(fso) {}
    Status Exists(const Text& path, bool& exists) override { return fso_.FileExists(path, exists); }
    Status Copy(const Text& source, const Text& destination) override
    {
        return fso_.CopyFile(source, destination, true);
    }
    Status Delete(const Text& path) override { return fso_.DeleteFile(path, true); }

private:
    FileSystemObject& fso_;
};

class PlainFiles final : public InstallFiles {
public:
    // A directory search that matches ordinary files only: hidden files,
    // system files and folders do not count.
    Status Exists(const Text& path, bool& exists) override
    {
        FoundEntry found;
        const UniqueFind search = FindNamedEntry(path, found);
        constexpr DWORD notOrdinary = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
        exists = search && (found.attributes & notOrdinary) == 0 && found.named;
        return {};
    }
    Status Copy(const Text& source, const Text& destination) override
    {
        return FileResult(CopyNamedFile(source, destination));
    }
    Status Delete(const Text& path) override { return FileResult(DeleteNamedFile(path)); }
};

// The running executable's folder, "\", its base name and ".exe".
Status OwnExecutablePath(Text& path)
{
    TORVALINK_RETURN_IF_FAILED(GetModulePath(nullptr, path));
    // The extension goes; a dot before the last backslash is a folder's.
    const std::size_t dot = path.find_last_of(L'.');
    if (dot != Text::npos && dot + 1 > path.find_last_of(L'\\') + 1)
        path.resize(dot);
    path += L".exe";
    return {};
}

} // namespace

InstallOutcome Main()
{
    switch (GetWindowsVersion()) {
    case 2:
    case 3:
    case 4:
        return InstallWithFixedPaths();
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
        return InstallWithSpecialFolders();
    default:
        return {}; // Win32s and unrecognised systems: nothing to do
    }
}

InstallOutcome InstallWithSpecialFolders()
{
    // Declared in the reverse of their release order: the folders, the
    // resource object, then the FileSystemObject.
    FileSystemObject fso;
    TORVALINK_RETURN_IF_FAILED(fso.Create());
    CResDll resources;
    Text ownPath;
    TORVALINK_RETURN_IF_FAILED(OwnExecutablePath(ownPath));
    resources.DllName(ownPath);
    DispatchRef systemFolder, temporaryFolder;
    TORVALINK_RETURN_IF_FAILED(fso.GetSpecialFolder(FileSystemObject::SystemFolder, systemFolder));
    TORVALINK_RETURN_IF_FAILED(fso.GetSpecialFolder(FileSystemObject::TemporaryFolder, temporaryFolder));

    Text systemPath, temporaryPath;
    TORVALINK_RETURN_IF_FAILED(FileSystemObject::FolderPath(systemFolder.Get(), systemPath));
    TORVALINK_RETURN_IF_FAILED(FileSystemObject::FolderPath(temporaryFolder.Get(), temporaryPath));
    ScriptingFiles files(fso);
    return InstallPayload(resources, systemPath + L"\\" + PayloadFileName, temporaryPath + L"\\" + PayloadFileName,
                          files);
}

InstallOutcome InstallWithFixedPaths()
{
    // Unbound: the resource object reads this executable through the null module handle.
    CResDll resources;
    PlainFiles files;
    return InstallPayload(resources, Text(L"C:\\Windows\\System\\") + PayloadFileName, Text(L"C:\\") + PayloadFileName,
                          files);
}

} // namespace torvalink
