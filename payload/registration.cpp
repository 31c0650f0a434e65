// DllRegisterServer and DllUnregisterServer: the class under HKEY_CLASSES_ROOT,
// with its in-process server path, threading model and ProgID. Unregistration
// removes exactly the keys that registration writes.

#include "handles.h"
#include "torvalink_control.h"

#include <windows.h>
#include <olectl.h>

#include <cstring>
#include <cwchar>
#include <initializer_list>

HMODULE ServerModule();

namespace {

constexpr wchar_t ClsidKey[] = L"CLSID\\" TORVALINK_CLSID_TEXT;
constexpr wchar_t ServerKey[] = L"CLSID\\" TORVALINK_CLSID_TEXT L"\\InprocServer32";
constexpr wchar_t ClsidProgIdKey[] = L"CLSID\\" TORVALINK_CLSID_TEXT L"\\ProgID";
constexpr wchar_t ProgIdKey[] = TORVALINK_PROGID;
constexpr wchar_t ProgIdClsidKey[] = TORVALINK_PROGID L"\\CLSID";

bool SetValue(const wchar_t* keyPath, const wchar_t* name, const wchar_t* value)
{
    HKEY created = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        &created, nullptr) != ERROR_SUCCESS)
        return false;
    const UniqueKey key(created);
    const auto bytes = static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes) == ERROR_SUCCESS;
}

// Deepest keys first: a key is deleted only once it has no subkeys left.
HRESULT DeleteKeys()
{
    HRESULT outcome = S_OK;
    for (const wchar_t* key : {ServerKey, ClsidProgIdKey, ClsidKey, ProgIdClsidKey, ProgIdKey}) {
        const LONG result = RegDeleteKeyW(HKEY_CLASSES_ROOT, key);
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
            outcome = SELFREG_E_CLASS;
    }
    return outcome;
}

// The library's own path; false when it does not fit.
bool ServerPath(wchar_t (&path)[MAX_PATH])
{
    const DWORD length = GetModuleFileNameW(ServerModule(), path, MAX_PATH);
    return length > 0 && length < MAX_PATH;
}

#ifdef TORVALINK_TRACE_FILE
// Test builds only: records which copy ran which entry, so that tests can see the order.
void Trace(const char* entry)
{
    const UniqueHandle file(
        NullIfInvalid(CreateFileW(TORVALINK_TRACE_FILE, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file)
        return;
    for (const char* piece : {entry, " ", TORVALINK_TRACE_NAME, "\r\n"}) {
        DWORD written = 0;
        WriteFile(file.get(), piece, static_cast<DWORD>(std::strlen(piece)), &written, nullptr);
    }
}
#else
void Trace(const char*) {}
#endif

} // namespace

STDAPI DllRegisterServer()
{
    Trace("register");
    wchar_t path[MAX_PATH];
    const bool written =
        ServerPath(path) && SetValue(ClsidKey, nullptr, L"TorvaLink Control") && SetValue(ServerKey, nullptr, path) &&
        SetValue(ServerKey, L"ThreadingModel", L"Apartment") && SetValue(ClsidProgIdKey, nullptr, TORVALINK_PROGID) &&
        SetValue(ProgIdKey, nullptr, L"TorvaLink Control") && SetValue(ProgIdClsidKey, nullptr, TORVALINK_CLSID_TEXT);
    if (written)
        return S_OK;
    DeleteKeys();
    return SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer()
{
    Trace("unregister");
    return DeleteKeys();
}
