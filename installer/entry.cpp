// The program's entry: no window, no message loop, no command line, and no C
// run-time start-up before it.

#include "current_error.h"
#include "message_box.h"
#include "modMain.h"
#include "number_text.h"
#include "system_library.h"

#include <windows.h>
#include <objbase.h>

using namespace torvalink;

namespace {

UINT Run()
{
    RestrictDllSearchToSystemFolder();
    const HRESULT com = CoInitialize(nullptr);
    UINT exitCode = 0;
    if (const Status outcome = Main(); outcome.Failed()) {
        // A failure that nothing handled ends the program, after telling the user.
        ShowMessage(L"Run-time error '" + Decimal(outcome.Number()) + L"':\n\n" + outcome.Error().Description,
                    MB_OK | MB_ICONERROR, L"Setup_TORVALINK");
        exitCode = 1;
    }
    ClearCurrentError();
    if (SUCCEEDED(com))
        CoUninitialize();
    return exitCode;
}

} // namespace

// Windows enters with a 4-byte aligned stack on x86; realign for the code below.
extern "C" __attribute__((force_align_arg_pointer)) void WINAPI InstallerEntry()
{
    ExitProcess(Run());
}
