#pragma once

#include "dispatch_call.h"
#include "text.h"

// The Scripting Runtime's FileSystemObject, called by name.
class FileSystemObject {
public:
    enum SpecialFolder : std::int32_t { WindowsFolder = 0, SystemFolder = 1, TemporaryFolder = 2 };

    // Raises when the Scripting Runtime is not available.
    FileSystemObject();

    DispatchRef GetSpecialFolder(SpecialFolder folder);
    bool FileExists(const Text& path);
    void CopyFile(const Text& source, const Text& destination, bool overwrite);
    void DeleteFile(const Text& path, bool force);

    // The full path of a Folder object, without a trailing backslash.
    static Text FolderPath(IDispatch* folder);

private:
    DispatchRef object_;
};
