// Shows what the installer left behind: the installed control, its version,
// its registration, and whether the control can be created. Given an
// installer, it first runs it and says its exit code and what that means.

#include "ansi_text.h"
#include "modInfoFileVersion.h"
#include <torvalink/handles.h>

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

// What an exit code of the installer tells a deployment tool.
std::string Meaning(DWORD code)
{
    switch (code) {
    case 0:
        return "success: the carried version is installed and registered, or the installed copy is as new";
    case ERROR_INSTALL_ALREADY_RUNNING:
        return "another installation is in progress: try again later";
    case 0x8007007E:
        return "failure: the control would not load for its registration";
    case 0x8007007F:
        return "failure: the control lacks its registration entry";
    case 0x8007009B:
        return "failure: no worker thread for the registration";
    case 0x800705B4:
        return "failure: the registration did not end within 10 seconds";
    }
    if (HRESULT_FACILITY(code) == FACILITY_CONTROL)
        return "failure: run-time error " + std::to_string(HRESULT_CODE(code));
    return "failure: HRESULT of the registration entry or of a failed call";
}

// Runs the installer and waits for it; false when it could not be started.
bool RunInstaller(const wchar_t* installer)
{
    std::wstring commandLine = L"\"" + std::wstring(installer) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(installer, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        std::printf("installer:        could not be started (error %lu)\n", GetLastError());
        return false;
    }
    const UniqueHandle process(started.hProcess), thread(started.hThread);
    WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    std::printf("exit code:        %lu (0x%08lX): %s\n", code, code, Meaning(code).c_str());
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && !RunInstaller(argv[1]))
        return 2;
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
    std::printf("ProgID TorvaLink.Control.1 \xe2\x86\x92 CLSID %s\n",
                RegistryText(L"TorvaLink.Control.1\\CLSID").c_str());

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
