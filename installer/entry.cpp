// The program's entry: no window, no message loop, no command line, and no C
// run-time start-up before it.

#include <torvalink/current_error.h>
#include "failures.h"
#include "message_box.h"
#include "modMain.h"
#include "modRegisterDll.h"
#include "number_text.h"
#include "run_lock.h"
#include "system_library.h"
#include "test_builds.h"

#include <windows.h>
#include <objbase.h>

#include <new>

using namespace torvalink;

namespace {

// A failure that nothing handled ends the program, after telling the user; the
// exit code is its number as an HRESULT.
HRESULT EndWithFailure(const Status& outcome)
{
    ShowMessage(L"Run-time error '" + Decimal(outcome.Number()) + L"':\n\n" + outcome.Error().Description,
                MB_OK | MB_ICONERROR, L"Setup_TORVALINK");
    return NumberAsHResult(outcome.Number());
}

// The process's exit code: 0, ERROR_INSTALL_ALREADY_RUNNING, or an HRESULT
// that says what failed.
DWORD Run()
{
#ifdef TORVALINK_START_WITHOUT_MEMORY
    // Test builds only: an allocation that no heap can give.
    static_cast<void>(::operator new (~std::size_t{0} / 2));
#endif
#ifdef TORVALINK_START_WITH_DEFECT
    // Test builds only: a string misused, a defect of the program's own.
    static_cast<void>(Text().at(1));
#endif
#ifdef TORVALINK_REGISTRATION_TIMEOUT_MS
    RegistrationTimeoutMs = TORVALINK_REGISTRATION_TIMEOUT_MS;
#endif
    RestrictDllSearchToSystemFolder();
    // Before COM starts: a thread with an apartment must not wait without
    // handling its messages.
    RunLock lock;
    switch (lock.Acquire(TORVALINK_RUN_WAIT_MS)) {
    case WAIT_OBJECT_0:
        break;
    case WAIT_TIMEOUT:
        return ERROR_INSTALL_ALREADY_RUNNING;
    default:
        return static_cast<DWORD>(EndWithFailure(LastWin32Failure()));
    }

    const HRESULT com = CoInitialize(nullptr);
    const InstallOutcome run = Main();
    const HRESULT outcome = run.failure.Failed() ? EndWithFailure(run.failure) : run.result;
    ClearCurrentError();
    if (SUCCEEDED(com))
        CoUninitialize();
    return static_cast<DWORD>(outcome);
}

} // namespace

// Windows enters with a 4-byte aligned stack on x86; realign for the code below.
extern "C" __attribute__((force_align_arg_pointer)) void WINAPI InstallerEntry()
{
    ExitProcess(Run());
}
