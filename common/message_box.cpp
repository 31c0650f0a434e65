#include "message_box.h"

#include "kernel_functions.h"
#include "system_library.h"

namespace torvalink {

namespace {

// Whether anybody can see a box and answer it: the process's window station
// is visible. In a service or a deployment agent's session it is not, and a
// box there would wait for ever. Windows 95, 98 and Me have no window
// stations (nor these functions): there somebody can.
bool SomebodyCanAnswer()
{
    const HMODULE user = GetModuleHandleA("user32.dll");
    auto* const getStation = ProcAddress<HWINSTA WINAPI()>(user, "GetProcessWindowStation");
    auto* const getInformation =
        ProcAddress<BOOL WINAPI(HANDLE, int, PVOID, DWORD, LPDWORD)>(user, "GetUserObjectInformationW");
    if (!getStation || !getInformation)
        return true;
    const HWINSTA station = getStation(); // not to be closed
    USEROBJECTFLAGS flags{};
    DWORD needed = 0;
    if (!station || !getInformation(station, UOI_FLAGS, &flags, sizeof flags, &needed))
        return true;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

} // namespace

int ShowMessage(const Text& prompt, UINT style, const Text& title)
{
    if (SomebodyCanAnswer())
        return MessageBoxW(nullptr, prompt.c_str(), title.c_str(), style);
    // The run goes on as if OK had been pressed; what the box would have said
    // goes to the debugger output, and the exit code tells the rest.
    if (const auto output = LookUpKernelFunctions().OutputDebugStringW)
        output((title + L": " + prompt + L"\n").c_str());
    return IDOK;
}

} // namespace torvalink
