#pragma once

#include <windows.h>

namespace torvalink {

// The one place that shows a message: a modal message box with the prompt,
// style and title given (null: the system's), where anybody can answer it;
// elsewhere (a window station that is not visible: a service, a deployment
// agent running as SYSTEM) the text goes to the debugger output and the answer
// is OK. Asks for no memory, so that running out of it can still be told.
int DisplayMessage(const wchar_t* prompt, UINT style, const wchar_t* title) noexcept;

} // namespace torvalink
