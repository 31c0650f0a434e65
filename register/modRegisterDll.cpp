#include "modRegisterDll.h"

#include "handles.h"
#include "message_box.h"
#include "named_files.h"
#include "system_library.h"

#include <windows.h>

namespace torvalink {

namespace {

constexpr DWORD RegistrationTimeoutMs = 10000;
constexpr UINT StopMessage = MB_OK | MB_ICONERROR;

using RegistrationEntry = HRESULT WINAPI();

// The entry takes no argument and a thread routine takes one, so the worker
// starts here: it calls the entry alone and ends with the entry's result.
DWORD WINAPI RunEntry(void* entry)
{
    return static_cast<DWORD>(reinterpret_cast<RegistrationEntry*>(entry)());
}

// The two messages that name the library: their text, then the path, then "'.".
void ShowNamingMessage(const wchar_t* text, const Text& DllPath, const wchar_t* title)
{
    ShowMessage(text + DllPath + L"'.", StopMessage, title);
}

[[noreturn]] void EndCallingThreadAfterTimeout(const Text& DllPath, UniqueModule library, UniqueHandle worker)
{
    ShowNamingMessage(L"Registrazione fallita per time-out da '", DllPath, L"Registrazione fallita!");
    DWORD exitCode = 0;
    GetExitCodeThread(worker.get(), &exitCode);
    // The worker may still be running inside the library: it stays loaded, and
    // the worker's handle stays open, for as long as the process lives.
    library.release();
    worker.release();
    ExitThread(exitCode);
}

} // namespace

void RegisterDll(const Text& DllPath, const std::int32_t& Unregister)
{
    RegisterDllWithTimeout(DllPath, Unregister, RegistrationTimeoutMs);
}

void RegisterDllWithTimeout(const Text& DllPath, const std::int32_t& Unregister, std::uint32_t TimeoutMs)
{
    UniqueModule library = LoadNamedLibrary(DllPath);
    if (!library) {
        ShowMessage(L"Errore caricando la DLL", StopMessage, L"Register Server");
        return;
    }

    const char* entryName = Unregister == 0 ? "DllRegisterServer" : "DllUnregisterServer";
    RegistrationEntry* entry = ProcAddress<RegistrationEntry>(library.get(), entryName);
    DWORD threadId = 0;
    UniqueHandle worker(entry ? CreateThread(nullptr, 0, RunEntry, reinterpret_cast<void*>(entry), 0, &threadId)
                              : nullptr);
    if (!worker) {
        ShowNamingMessage(L"Registrazione fallita EntryPoint mancante '", DllPath, L"Registrazione Fallita!");
        return;
    }

    if (WaitForSingleObject(worker.get(), TimeoutMs) != WAIT_OBJECT_0)
        EndCallingThreadAfterTimeout(DllPath, std::move(library), std::move(worker));

    // The entry's own result is not reported: a failing entry counts as done.
    worker.reset();
}

} // namespace torvalink
