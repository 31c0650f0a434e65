// DllRegisterServer and DllUnregisterServer: the class under HKEY_CLASSES_ROOT,
// with its in-process server path, threading model and ProgID. Unregistration
// removes exactly the keys that registration writes.
//
// The A registry functions throughout: Windows 95, 98 and Me have the W forms
// only as stubs that fail.

#include <torvalink/handles.h>
#include "torvalink_control.h"

#include <windows.h>
#include <olectl.h>

#include <initializer_list>

using namespace torvalink;

HMODULE ServerModule();

namespace {

constexpr char ClsidKey[] = "CLSID\\" TORVALINK_CLSID_TEXT;
constexpr char ServerKey[] = "CLSID\\" TORVALINK_CLSID_TEXT "\\InprocServer32";
constexpr char ClsidProgIdKey[] = "CLSID\\" TORVALINK_CLSID_TEXT "\\ProgID";
constexpr char ProgIdKey[] = TORVALINK_PROGID;
constexpr char ProgIdClsidKey[] = TORVALINK_PROGID "\\CLSID";

DWORD Length(const char* text)
{
    DWORD length = 0;
    while (text[length])
        ++length;
    return length;
}

// The key, created where it is missing; none when it cannot be had.
UniqueKey CreatedKey(const char* keyPath)
{
    HKEY created = nullptr;
    const LONG result = RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                        nullptr, &created, nullptr);
    return UniqueKey(result == ERROR_SUCCESS ? created : nullptr);
}

bool SetValue(const char* keyPath, const char* name, const char* value)
{
    const UniqueKey key = CreatedKey(keyPath);
    return key && RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), Length(value) + 1) ==
                      ERROR_SUCCESS;
}

// Deepest keys first: a key is deleted only once it has no subkeys left.
HRESULT DeleteKeys()
{
    HRESULT outcome = S_OK;
    for (const char* key : {ServerKey, ClsidProgIdKey, ClsidKey, ProgIdClsidKey, ProgIdKey}) {
        const LONG result = RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
            outcome = SELFREG_E_CLASS;
    }
    return outcome;
}

// The library's own path; false when it does not fit.
bool ServerPath(char (&path)[MAX_PATH])
{
    const DWORD length = GetModuleFileNameA(ServerModule(), path, MAX_PATH);
    return length > 0 && length < MAX_PATH;
}

#ifdef TORVALINK_TRACE_FILE
// Test builds only: records which copy ran which entry, so that tests can see the order.
void Trace(const char* entry)
{
    const UniqueFile file(CreateFileA(TORVALINK_TRACE_FILE, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    SetFilePointer(file.get(), 0, nullptr, FILE_END);
    for (const char* piece : {entry, " ", TORVALINK_TRACE_NAME, "\r\n"}) {
        DWORD written = 0;
        WriteFile(file.get(), piece, Length(piece), &written, nullptr);
    }
}
#else
void Trace(const char*) {}
#endif

} // namespace

#ifdef TORVALINK_IMPORT_MISSING
// Test builds only: exported by a library that exists nowhere.
extern "C" __declspec(dllimport) void TorvaLinkAbsent();
#endif

STDAPI DllRegisterServer()
{
    Trace("register");
#ifdef TORVALINK_IMPORT_MISSING
    TorvaLinkAbsent();
#endif
#ifdef TORVALINK_REGISTER_FAILS
    // Test builds only: an entry that reports its own failure.
    return SELFREG_E_TYPELIB;
#endif
    char path[MAX_PATH];
    const bool written =
        ServerPath(path) && SetValue(ClsidKey, nullptr, "TorvaLink Control") && SetValue(ServerKey, nullptr, path) &&
        SetValue(ServerKey, "ThreadingModel", "Apartment") && SetValue(ClsidProgIdKey, nullptr, TORVALINK_PROGID) &&
        SetValue(ProgIdKey, nullptr, "TorvaLink Control") && SetValue(ProgIdClsidKey, nullptr, TORVALINK_CLSID_TEXT);
    if (written)
        return S_OK;
    DeleteKeys();
    return SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer()
{
    Trace("unregister");
#ifdef TORVALINK_UNREGISTER_BLOCKS
    // Test builds only: 14 seconds, past the runner's time-out, unless the test lets it go earlier.
    const UniqueHandle release(CreateEventA(nullptr, TRUE, FALSE, "torvalink_unregister_release"));
    WaitForSingleObject(release.get(), 14000);
#endif
    return DeleteKeys();
}
