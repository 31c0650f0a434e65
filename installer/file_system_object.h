#pragma once

#include "dispatch_call.h"
#include <torvalink/text.h>

namespace torvalink {

// The Scripting Runtime's FileSystemObject, called by name.
class FileSystemObject {
public:
    enum SpecialFolder : std::int32_t { SystemFolder = 1, TemporaryFolder = 2 };

    // Fails when the Scripting Runtime is not available.
    Status Create();

    Status GetSpecialFolder(SpecialFolder folder, DispatchRef& found);
    Status FileExists(const Text& path, bool& exists);
    Status CopyFile(const Text& source, const Text& destination, bool overwrite);
    Status DeleteFile(const Text& path, bool force);

    // The full path of a Folder object, without a trailing backslash.
    static Status FolderPath(IDispatch* folder, Text& path);

private:
    DispatchRef object_;
};

} // namespace torvalink
