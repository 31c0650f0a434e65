// DllRegisterServer and DllUnregisterServer: the class under HKEY_CLASSES_ROOT,
// with its in-process server path, threading model and ProgID. Unregistration
// removes exactly the keys that registration writes.

#include "handles.h"
#include "torvalink_control.h"

#include <windows.h>
#include <olectl.h>

#include <string>

HMODULE ServerModule();

namespace {

const std::wstring ClsidKey = std::wstring(L"CLSID\\") + TorvaLinkClsidText;
const std::wstring ServerKey = ClsidKey + L"\\InprocServer32";
const std::wstring ClsidProgIdKey = ClsidKey + L"\\ProgID";
const std::wstring ProgIdKey = TorvaLinkProgId;
const std::wstring ProgIdClsidKey = ProgIdKey + L"\\CLSID";

bool SetValue(const std::wstring& keyPath, const wchar_t* name, const std::wstring& value)
{
    HKEY created = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        &created, nullptr) != ERROR_SUCCESS)
        return false;
    const UniqueKey key(created);
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes) ==
           ERROR_SUCCESS;
}

// Deepest keys first: a key is deleted only once it has no subkeys left.
HRESULT DeleteKeys()
{
    HRESULT outcome = S_OK;
    for (const std::wstring* key : {&ServerKey, &ClsidProgIdKey, &ClsidKey, &ProgIdClsidKey, &ProgIdKey}) {
        const LONG result = RegDeleteKeyW(HKEY_CLASSES_ROOT, key->c_str());
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
            outcome = SELFREG_E_CLASS;
    }
    return outcome;
}

std::wstring ServerPath()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(ServerModule(), path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
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
    const std::string line = std::string(entry) + " " + TORVALINK_TRACE_NAME + "\r\n";
    DWORD written = 0;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}
#else
void Trace(const char*) {}
#endif

} // namespace

STDAPI DllRegisterServer()
{
    Trace("register");
    const std::wstring path = ServerPath();
    const bool written =
        !path.empty() && SetValue(ClsidKey, nullptr, L"TorvaLink Control") && SetValue(ServerKey, nullptr, path) &&
        SetValue(ServerKey, L"ThreadingModel", L"Apartment") && SetValue(ClsidProgIdKey, nullptr, TorvaLinkProgId) &&
        SetValue(ProgIdKey, nullptr, L"TorvaLink Control") && SetValue(ProgIdClsidKey, nullptr, TorvaLinkClsidText);
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
