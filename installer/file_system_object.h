#pragma once

#include "dispatch_call.h"

#include <string>

// The Scripting Runtime's FileSystemObject, called by name.
class FileSystemObject {
public:
    enum SpecialFolder : std::int32_t { WindowsFolder = 0, SystemFolder = 1, TemporaryFolder = 2 };

    // Raises when the Scripting Runtime is not available.
    FileSystemObject();

    DispatchRef GetSpecialFolder(SpecialFolder folder);
    bool FileExists(const std::wstring& path);
    void CopyFile(const std::wstring& source, const std::wstring& destination, bool overwrite);
    void DeleteFile(const std::wstring& path, bool force);

    // The full path of a Folder object, without a trailing backslash.
    static std::wstring FolderPath(IDispatch* folder);

private:
    DispatchRef object_;
};
