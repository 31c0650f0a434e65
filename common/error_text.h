#pragma once

// Descriptions for failures that come with a number only.

#include "raised_error.h"
#include "text.h"

#include <windows.h>

#include <cstdint>

namespace torvalink {

// The classic run-time text of the numbers that the file layer and the
// Scripting Runtime give ("File not found" for 53), otherwise the system's text
// for the number; never empty.
Text ErrorDescription(std::int32_t number);

// A failure with `number` and its description.
Status RunTimeFailure(std::int32_t number);

// A failed file operation as the classic file statements report it: 53 for a
// missing file, 76 for a missing folder, 70 for a file that may not be
// touched, and so on; 75 "Path/File access error" for anything else.
Status FileFailure(DWORD code);

inline Status LastFileFailure()
{
    return FileFailure(GetLastError());
}

} // namespace torvalink
