// Reports what the installer left behind: the installed control, its version,
// its registration, and whether the control can be created.

#include "ansi_text.h"
#include "modInfoFileVersion.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

using namespace torvalink;

namespace {

AnsiText Printable(const Text& text)
{
    AnsiText ansi;
    return ToAnsi(text, ansi).Failed() ? AnsiText("(not printable)") : ansi;
}

AnsiText RegistryText(const wchar_t* key)
{
    wchar_t value[MAX_PATH] = L"";
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return "(not registered)";
    return Printable(value);
}

} // namespace

int main()
{
    wchar_t folder[MAX_PATH];
    GetSystemDirectoryW(folder, MAX_PATH);
    const Text control = Text(folder) + L"\\TORVALINK.ocx";
    const std::int16_t padded = 0;
    const Text version = GetFileVersionText(control, padded);

    std::printf("installed file:   %s (%s)\n", Printable(control).c_str(),
                GetFileAttributesW(control.c_str()) == INVALID_FILE_ATTRIBUTES ? "missing" : "present");
    std::printf("version text:     %s\n", version.empty() ? "(none)" : Printable(version).c_str());
    std::printf("InprocServer32:   %s\n",
                RegistryText(L"CLSID\\{6F1C2A7E-3B4D-4E8A-9C51-2D7B8E0A4F63}\\InprocServer32").c_str());
    std::printf("ProgID:           %s\n", RegistryText(L"TorvaLink.Control.1\\CLSID").c_str());

    bool created = false;
    if (SUCCEEDED(CoInitialize(nullptr))) {
        CLSID clsid;
        IUnknown* object = nullptr;
        created = SUCCEEDED(CLSIDFromProgID(L"TorvaLink.Control.1", &clsid)) &&
                  SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                             reinterpret_cast<void**>(&object)));
        if (object)
            object->Release();
        CoUninitialize();
    }
    std::printf("control created:  %s\n", created ? "yes" : "no");
    return created ? 0 : 1;
}
