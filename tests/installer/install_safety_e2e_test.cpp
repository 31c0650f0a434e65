// Runs the real Setup executables in the test prefix where things go wrong
// around them, and checks what they leave behind and every message they show.

#include "handles.h"
#include "message_box_watcher.h"
#include "print_text.h"
#include "scratch_dir.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const Text ClassKey = L"CLSID\\{6F1C2A7E-3B4D-4E8A-9C51-2D7B8E0A4F63}";
const Text TraceFile = L"C:\\torvalink_trace.txt";
const Text FixedFolder = L"C:\\Windows\\System";
const wchar_t* const Installers[] = {L"Setup_TORVALINK.exe"};

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

bool ClassKeyExists()
{
    HKEY opened = nullptr;
    const LONG result =
        RegOpenKeyExW(HKEY_CLASSES_ROOT, (ClassKey + L"\\InprocServer32").c_str(), 0, KEY_READ, &opened);
    const UniqueKey key(result == ERROR_SUCCESS ? opened : nullptr);
    return key != nullptr;
}

// A setting of Wine's for one program; a null value removes it.
void SetAppSetting(const Text& exe, const Text& subkey, const wchar_t* name, const wchar_t* value)
{
    const Text path = L"Software\\Wine\\AppDefaults\\" + exe + subkey;
    if (!value) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, path.c_str(), name);
        return;
    }
    RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), name, REG_SZ, value,
                    static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

// The box that ends the program after a failure.
WatchedRun::Message FailureBox(const wchar_t* text)
{
    return {L"Setup_TORVALINK", text};
}

void ExpectMessages(const WatchedRun& run, const std::vector<WatchedRun::Message>& expected)
{
    ASSERT_EQ(run.messages.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(run.messages[i].title, expected[i].title);
        EXPECT_EQ(run.messages[i].text, expected[i].text);
    }
}

class InstallSafety : public ::testing::Test {
protected:
    const Text target = SystemFolder() + L"\\TORVALINK.ocx";
    const Text temporary = TempFolder() + L"\\TORVALINK.ocx";
    const Text fixedTarget = FixedFolder + L"\\TORVALINK.ocx";
    const Text fixedTemporary = L"C:\\TORVALINK.ocx";
    const ByteBuffer payload = ReadFileBytes(BesideTestExe(L"TORVALINK.ocx"));

    void SetUp() override
    {
        ASSERT_FALSE(payload.empty());
        CleanUp();
    }
    void TearDown() override { CleanUp(); }

    void CleanUp()
    {
        for (const Text& file : {target, temporary, fixedTarget, fixedTemporary, TraceFile}) {
            SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(file.c_str());
        }
        RemoveDirectoryW(FixedFolder.c_str());
        RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey.c_str());
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"TorvaLink.Control.1");
        for (const wchar_t* exe : Installers) {
            SetAppSetting(exe, L"", L"Version", nullptr);
            SetAppSetting(exe, L"\\DllOverrides", L"scrrun", nullptr);
        }
    }

    static WatchedRun Run(const wchar_t* windowsVersion = nullptr, const wchar_t* exe = L"Setup_TORVALINK.exe")
    {
        SetAppSetting(exe, L"", L"Version", windowsVersion);
        WatchedRun run = RunAndAnswerMessageBoxes(BesideTestExe(exe));
        EXPECT_TRUE(run.finished);
        return run;
    }
};

// TEMP (and TMP) of the runs, for as long as the object lives.
class TemporaryFolderSetting {
public:
    explicit TemporaryFolderSetting(const Text& folder)
    {
        for (const wchar_t* name : {L"TMP", L"TEMP"})
            SetEnvironmentVariableW(name, folder.c_str());
    }
    ~TemporaryFolderSetting()
    {
        for (const wchar_t* name : {L"TMP", L"TEMP"})
            SetEnvironmentVariableW(name, saved_.c_str());
    }
    TemporaryFolderSetting(const TemporaryFolderSetting&) = delete;
    TemporaryFolderSetting& operator=(const TemporaryFolderSetting&) = delete;

private:
    const Text saved_ = TempFolder();
};

// Each failure box has the number and a text: the classic text where the
// component gives none, the system's text for a platform code.
TEST_F(InstallSafety, FailureBoxesShowTheNumberAndItsText)
{
    ScratchDir dir;
    struct Case {
        const char* what;
        Text temporaryFolder; // empty: the usual one
        bool withoutScriptingRuntime;
        const wchar_t* message;
    };
    const Case cases[] = {
        {"no Scripting Runtime", L"", true, L"Run-time error '429':\n\nActiveX component can't create object"},
        {"a temporary folder that does not exist", dir / L"missing", false, L"Run-time error '76':\n\nPath not found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CleanUp();
        if (c.withoutScriptingRuntime)
            SetAppSetting(L"Setup_TORVALINK.exe", L"\\DllOverrides", L"scrrun", L"");
        WatchedRun run;
        if (c.temporaryFolder.empty()) {
            run = Run();
        } else {
            const TemporaryFolderSetting setting(c.temporaryFolder);
            run = Run();
        }
        EXPECT_EQ(run.exitCode, 1u);
        ExpectMessages(run, {FailureBox(c.message)});
        EXPECT_FALSE(FileExists(target));
        EXPECT_FALSE(ClassKeyExists());
    }
}

bool IsEmptyFolder(const Text& folder)
{
    WIN32_FIND_DATAW entry;
    const UniqueFind search(NullIfInvalid(FindFirstFileW((folder + L"\\*").c_str(), &entry)));
    if (!search)
        return false;
    do {
        if (Text(entry.cFileName) != L"." && Text(entry.cFileName) != L"..")
            return false;
    } while (FindNextFileW(search.get(), &entry));
    return true;
}

// A temporary folder whose name code page 1252 cannot hold is reached through
// its short form, never through the look-alike that Windows would put in.
TEST_F(InstallSafety, TemporaryFolderTheCodePageCannotHold)
{
    struct Case {
        const wchar_t* folder;
        const wchar_t* lookAlike; // null: none that a folder could have
    };
    const Case cases[] = {
        {L"\u0141ukasz", L"Lukasz"},
        {L"\u4e2d\u6587", nullptr},
        {L"sub\uff3cdir", L"sub\\dir"},
        {L"a\uff0eb", L"a.b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(Text(c.folder)));
        CleanUp();
        ScratchDir dir;
        const Text folder = dir / c.folder;
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        if (c.lookAlike) {
            CreateDirectoryW((dir / L"sub").c_str(), nullptr);
            ASSERT_TRUE(CreateDirectoryW((dir / c.lookAlike).c_str(), nullptr));
        }
        const TemporaryFolderSetting setting(folder);
        const WatchedRun run = Run();
        EXPECT_EQ(run.exitCode, 0u);
        ExpectMessages(run, {});
        EXPECT_TRUE(ReadFileBytes(target) == payload);
        EXPECT_TRUE(ClassKeyExists());
        EXPECT_TRUE(IsEmptyFolder(folder)) << "the temporary file is deleted";
        if (c.lookAlike) {
            EXPECT_TRUE(IsEmptyFolder(dir / c.lookAlike)) << "the look-alike folder is never used";
        }
    }
}

} // namespace
