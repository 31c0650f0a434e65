// The program's entry: no window, no message loop, no command line.

#include "current_error.h"
#include "message_box.h"
#include "modMain.h"
#include "number_text.h"
#include "system_library.h"

#include <windows.h>
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    RestrictDllSearchToSystemFolder();
    const HRESULT com = CoInitialize(nullptr);
    int exitCode = 0;
    try {
        Main();
    } catch (...) {
        // A failure that nothing handled ends the program, after telling the user.
        const RaisedError error = CaughtFailure();
        ShowMessage(L"Run-time error '" + Decimal(error.Number) + L"':\n\n" + error.Description, MB_OK | MB_ICONERROR,
                    L"Setup_TORVALINK");
        exitCode = 1;
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return exitCode;
}
