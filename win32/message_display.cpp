#include "message_display.h"

#include "kernel_functions.h"
#include "library_functions.h"

namespace torvalink {

namespace {

// Whether anybody can see a box and answer it: the process's window station
// is visible. In a service or a deployment agent's session it is not, and a
// box there would wait for ever. Windows 95, 98 and Me have no window
// stations (nor these functions): there somebody can.
bool SomebodyCanAnswer()
{
    const UserFunctions user = LookUpUserFunctions();
    if (!user.GetProcessWindowStation || !user.GetUserObjectInformationW)
        return true;
    const HWINSTA station = user.GetProcessWindowStation(); // not to be closed
    USEROBJECTFLAGS flags{};
    DWORD needed = 0;
    if (!station || !user.GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, &needed))
        return true;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

} // namespace

int DisplayMessage(const wchar_t* prompt, UINT style, const wchar_t* title) noexcept
{
    if (SomebodyCanAnswer())
        return MessageBoxW(nullptr, prompt, title, style);
    // The run goes on as if OK had been pressed; the exit code tells the rest.
    // In pieces, which the debugger shows as one line: no memory is needed.
    if (const auto output = LookUpKernelFunctions().OutputDebugStringW) {
        if (title) {
            output(title);
            output(L": ");
        }
        output(prompt);
        output(L"\n");
    }
    return IDOK;
}

} // namespace torvalink
