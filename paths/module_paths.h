#pragma once

// Where the running program and the system keep their modules, in the form
// the system gives names in (named_files.h).

#include <torvalink/raised_error.h>
#include <torvalink/text.h>

#include <windows.h>

namespace torvalink {

// The full path of a module of this process; null: the executable's.
Status GetModulePath(HMODULE module, Text& path);
// The system folder, without a closing backslash.
Status GetSystemFolderPath(Text& path);

} // namespace torvalink
