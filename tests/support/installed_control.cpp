#include "installed_control.h"

#include <torvalink/handles.h>

#include <objbase.h>

#include <cwchar>

namespace torvalink {

const Text ClassKey = L"CLSID\\{6F1C2A7E-3B4D-4E8A-9C51-2D7B8E0A4F63}";
const Text TraceFile = L"C:\\torvalink_trace.txt";
const Text FixedFolder = L"C:\\Windows\\System";

Text SystemFolder()
{
    wchar_t folder[MAX_PATH];
    GetSystemDirectoryW(folder, MAX_PATH);
    return folder;
}

Text TempFolder()
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    Text path = folder;
    if (!path.empty() && path.back() == L'\\')
        path.pop_back();
    return path;
}

Text TraceText()
{
    const ByteBuffer bytes = ReadFileBytes(TraceFile);
    return Text(bytes.begin(), bytes.end());
}

bool ClassKeyExists(const Text& subkey)
{
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExW(HKEY_CLASSES_ROOT, (ClassKey + subkey).c_str(), 0, KEY_READ, &opened);
    const UniqueKey key(result == ERROR_SUCCESS ? opened : nullptr);
    return key != nullptr;
}

HRESULT CreateInstalledControl()
{
    const HRESULT com = CoInitialize(nullptr);
    if (FAILED(com))
        return com;
    CLSID clsid;
    HRESULT result = CLSIDFromProgID(L"TorvaLink.Control.1", &clsid);
    IUnknown* control = nullptr;
    if (SUCCEEDED(result))
        result =
            CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&control));
    if (control)
        control->Release();
    CoUninitialize();
    return result;
}

namespace {

const wchar_t SessionManager[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";

} // namespace

std::vector<Text> PendingDeletions()
{
    std::vector<Text> deletions;
    wchar_t value[4096] = {};
    DWORD size = sizeof value - 2 * sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, SessionManager, L"PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr,
                     value, &size) != ERROR_SUCCESS)
        return deletions;
    // Pairs of names: a deletion has an empty new name.
    for (const wchar_t* name = value; *name;) {
        const wchar_t* renamed = name + std::wcslen(name) + 1;
        if (!*renamed)
            deletions.push_back(name);
        name = renamed + std::wcslen(renamed) + 1;
    }
    return deletions;
}

void SetAppSetting(const Text& exe, const Text& subkey, const wchar_t* name, const wchar_t* value)
{
    const Text path = L"Software\\Wine\\AppDefaults\\" + exe + subkey;
    if (!value) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, path.c_str(), name);
        return;
    }
    RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), name, REG_SZ, value,
                    static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t)));
}

void InstalledControlTest::SetUp()
{
    ASSERT_FALSE(payload.empty());
    CleanUp();
}

void InstalledControlTest::TearDown()
{
    CleanUp();
}

void InstalledControlTest::CleanUp()
{
    for (const Text& file : {target, temporary, fixedTarget, fixedTemporary, TraceFile, target + L".kept",
                             target + L".failed", fixedTarget + L".kept", fixedTarget + L".failed"}) {
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(file.c_str());
    }
    RemoveDirectoryW(FixedFolder.c_str());
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, SessionManager, L"PendingFileRenameOperations");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey.c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"TorvaLink.Control.1");
    for (const wchar_t* exe : {L"Setup_TORVALINK.exe", L"Setup_TORVALINK_noversion.exe", L"Setup_TORVALINK_traced.exe",
                               L"Setup_TORVALINK_register_fails.exe", L"Setup_TORVALINK_load_fails.exe",
                               L"Setup_TORVALINK_import_missing.exe", L"Setup_TORVALINK_quick_wait.exe"}) {
        SetAppSetting(exe, L"", L"Version", nullptr);
        for (const wchar_t* library : {L"scrrun", L"winmm"})
            SetAppSetting(exe, L"\\DllOverrides", library, nullptr);
    }
}

WatchedRun InstalledControlTest::Run(const wchar_t* windowsVersion, const wchar_t* exe)
{
    SetAppSetting(exe, L"", L"Version", windowsVersion);
    WatchedRun run = RunAndAnswerMessageBoxes(BesideTestExe(exe));
    EXPECT_TRUE(run.finished);
    return run;
}

} // namespace torvalink
