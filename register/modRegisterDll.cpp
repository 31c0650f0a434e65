#include "modRegisterDll.h"

#include <torvalink/handles.h>
#include "message_box.h"
#include "named_files.h"
#include "proc_address.h"

#include <atomic>
#include <memory>

namespace torvalink {

namespace {

constexpr UINT StopMessage = MB_OK | MB_ICONERROR;

using RegistrationEntry = HRESULT WINAPI();

// What the worker shares with the caller: the entry, and whether the caller
// has given up waiting.
struct WorkerCall {
    RegistrationEntry* entry;
    std::atomic<bool> callerGaveUp{false};
};

// The entry takes no argument and a thread routine takes one, so the worker
// starts here: it calls the entry alone and ends with the entry's result,
// unless the caller gave up on it meanwhile. The process then ends with this
// thread, and its exit code must say that the registration timed out.
DWORD WINAPI RunEntry(void* parameter)
{
    auto& call = *static_cast<WorkerCall*>(parameter);
    const HRESULT result = call.entry();
    return static_cast<DWORD>(call.callerGaveUp.load() ? RegistrationTimedOut : result);
}

// The two messages that name the library: their text, then the path, then "'.".
void ShowNamingMessage(const wchar_t* text, const Text& DllPath, const wchar_t* title)
{
    ShowMessage(text + DllPath + L"'.", StopMessage, title);
}

[[noreturn]] void EndCallingThreadAfterTimeout(const Text& DllPath, UniqueModule library, UniqueHandle worker,
                                               std::unique_ptr<WorkerCall> call)
{
    call->callerGaveUp = true;
    ShowNamingMessage(L"Registrazione fallita per time-out da '", DllPath, L"Registrazione fallita!");
    // The worker may still be running inside the library: it stays loaded, and
    // the worker's handle and what it shares stay, for as long as the process lives.
    library.release();
    worker.release();
    call.release();
    ExitThread(static_cast<DWORD>(RegistrationTimedOut));
}

} // namespace

std::uint32_t RegistrationTimeoutMs = 10000;

HRESULT RegisterDll(const Text& DllPath, const std::int32_t& Unregister)
{
    return RegisterDllWith(DllPath, Unregister, RegistrationRunner{});
}

HRESULT RegisterDllWith(const Text& DllPath, const std::int32_t& Unregister, const RegistrationRunner& runner)
{
    UniqueModule library = LoadNamedLibrary(DllPath);
    if (!library) {
        ShowMessage(L"Errore caricando la DLL", StopMessage, L"Register Server");
        return RegistrationLoadFailed;
    }

    const char* entryName = Unregister == 0 ? "DllRegisterServer" : "DllUnregisterServer";
    RegistrationEntry* entry = ProcAddress<RegistrationEntry>(library.get(), entryName);
    auto call = std::make_unique<WorkerCall>();
    call->entry = entry;
    DWORD threadId = 0;
    UniqueHandle worker(entry ? runner.createThread(nullptr, 0, RunEntry, call.get(), 0, &threadId) : nullptr);
    if (!worker) {
        ShowNamingMessage(L"Registrazione fallita EntryPoint mancante '", DllPath, L"Registrazione Fallita!");
        return entry ? RegistrationNoThread : RegistrationEntryMissing;
    }

    if (WaitForSingleObject(worker.get(), runner.timeoutMs) != WAIT_OBJECT_0)
        EndCallingThreadAfterTimeout(DllPath, std::move(library), std::move(worker), std::move(call));

    // A failing entry shows nothing; its result goes back to the caller.
    DWORD result = 0;
    if (!GetExitCodeThread(worker.get(), &result))
        result = static_cast<DWORD>(HRESULT_FROM_WIN32(GetLastError()));
    return static_cast<HRESULT>(result);
}

} // namespace torvalink
