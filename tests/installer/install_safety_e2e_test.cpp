// Runs the real Setup executables in the test prefix where things go wrong
// around them, and checks what they leave behind and every message they show.

#include <torvalink/handles.h>
#include "installed_control.h"
#include "print_text.h"
#include "system_text.h"
#include "test_controls.h"

#include <gtest/gtest.h>

#include <atomic>
#include <initializer_list>
#include <thread>
#include <vector>

using namespace torvalink;

namespace {

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

// A failure box that ends a run, and the exit code that goes with it: the
// number as an HRESULT.
struct Ending {
    Text text;
    DWORD exitCode;
};
const Ending PermissionDenied = {L"Run-time error '70':\n\nPermission denied", 0x800A0046};
const Ending FileNotFound = {L"Run-time error '53':\n\nFile not found", 0x800A0035};
const Ending PathFileAccess = {L"Run-time error '75':\n\nPath/File access error", 0x800A004B};
const Ending AlreadyExists = {L"Run-time error '58':\n\nFile already exists", 0x800A003A};

// The run ended with one of these.
void ExpectEnding(const WatchedRun& run, std::initializer_list<Ending> endings)
{
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].title, L"Setup_TORVALINK");
    for (const Ending& ending : endings)
        if (run.messages[0].text == ending.text) {
            EXPECT_EQ(run.exitCode, ending.exitCode);
            return;
        }
    ADD_FAILURE() << "ended with " << testing::PrintToString(run.messages[0].text);
}

class InstallSafety : public InstalledControlTest {
protected:
    const ByteBuffer traced = ReadFileBytes(BesideTestExe(CarriedControl));
    const ByteBuffer later = ReadFileBytes(BesideTestExe(NewerControl));

    void SetUp() override
    {
        ASSERT_FALSE(traced.empty());
        ASSERT_FALSE(later.empty());
        InstalledControlTest::SetUp();
    }
};

// TEMP and TMP of the runs, for as long as the object lives.
class TemporaryFolderSetting {
public:
    explicit TemporaryFolderSetting(const Text& folder)
    {
        for (Saved& variable : saved_) {
            wchar_t value[MAX_PATH] = L"";
            variable.existed = GetEnvironmentVariableW(variable.name, value, MAX_PATH) != 0;
            variable.value = value;
            SetEnvironmentVariableW(variable.name, folder.c_str());
        }
    }
    ~TemporaryFolderSetting()
    {
        for (const Saved& variable : saved_)
            SetEnvironmentVariableW(variable.name, variable.existed ? variable.value.c_str() : nullptr);
    }
    TemporaryFolderSetting(const TemporaryFolderSetting&) = delete;
    TemporaryFolderSetting& operator=(const TemporaryFolderSetting&) = delete;

private:
    struct Saved {
        const wchar_t* name;
        bool existed;
        Text value;
    };
    Saved saved_[2] = {{L"TMP", false, {}}, {L"TEMP", false, {}}};
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
        DWORD exitCode; // the number as an HRESULT
    };
    const Case cases[] = {
        {"no Scripting Runtime", L"", true, L"Run-time error '429':\n\nActiveX component can't create object",
         0x800A01AD},
        {"a temporary folder that does not exist", dir / L"missing", false, L"Run-time error '76':\n\nPath not found",
         0x800A004C},
        {"a wildcard in the temporary folder", dir / L"a*b", false, L"Run-time error '52':\n\nBad file name or number",
         0x800A0034},
        // Its own name, not a look-alike, reaches the system.
        {"a missing temporary folder the code page cannot hold", dir / L"\u0141ukasz", false,
         L"Run-time error '76':\n\nPath not found", 0x800A004C},
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
        EXPECT_EQ(run.exitCode, c.exitCode);
        ExpectMessages(run, {FailureBox(c.message)});
        EXPECT_FALSE(FileExists(target));
        EXPECT_FALSE(ClassKeyExists(L"\\InprocServer32"));
    }
}

bool IsEmptyFolder(const Text& folder)
{
    WIN32_FIND_DATAW entry;
    const UniqueFind search(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!search)
        return false;
    do {
        if (Text(entry.cFileName) != L"." && Text(entry.cFileName) != L"..")
            return false;
    } while (FindNextFileW(search.get(), &entry));
    return true;
}

// A temporary folder whose name code page 1252 cannot hold is used under its
// own name, never through the look-alike that Windows would put in.
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
        EXPECT_TRUE(ClassKeyExists(L"\\InprocServer32"));
        EXPECT_TRUE(IsEmptyFolder(folder)) << "the temporary file is deleted";
        if (c.lookAlike) {
            EXPECT_TRUE(IsEmptyFolder(dir / c.lookAlike)) << "the look-alike folder is never used";
        }
    }
}

// A read-only file of a later version that someone put at the temporary path
// cannot be replaced: the run stops instead of installing it.
TEST_F(InstallSafety, PlantedReadOnlyTemporaryFileIsNeitherInstalledNorRegistered)
{
    WriteFileBytes(temporary, later);
    ASSERT_TRUE(SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_READONLY));
    const WatchedRun run = Run();
    ExpectEnding(run, {PermissionDenied});
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(TraceText(), L"");
    EXPECT_FALSE(ClassKeyExists(L"\\InprocServer32"));
    EXPECT_TRUE(ReadFileBytes(temporary) == later) << "the planted file is left as it was";
}

// A temporary file that another process holds open cannot be replaced either,
// on both procedures.
TEST_F(InstallSafety, TemporaryFileHeldOpenStopsTheRun)
{
    struct Case {
        const wchar_t* windowsVersion;
        DWORD sharing;
    };
    const Case cases[] = {
        {nullptr, FILE_SHARE_READ},
        {nullptr, FILE_SHARE_READ | FILE_SHARE_WRITE},
        {L"win95", FILE_SHARE_READ},
        {L"win95", FILE_SHARE_READ | FILE_SHARE_WRITE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.windowsVersion ? "fixed paths" : "special folders") << ", sharing "
                                        << c.sharing);
        CleanUp();
        CreateDirectoryW(FixedFolder.c_str(), nullptr);
        const Text& held = c.windowsVersion ? fixedTemporary : temporary;
        WriteFileBytes(held, later);
        {
            const UniqueFile open(
                CreateFileW(held.c_str(), GENERIC_READ, c.sharing, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(open);
            const WatchedRun run = Run(c.windowsVersion);
            ExpectEnding(run, {PermissionDenied});
        }
        EXPECT_FALSE(FileExists(target));
        EXPECT_FALSE(FileExists(fixedTarget));
        EXPECT_EQ(TraceText(), L"");
        EXPECT_TRUE(ReadFileBytes(held) == later);
    }
}

// Another process keeps replacing the temporary file with a later version
// while the installer runs: by copying over it, and by renaming a copy over it.
// Whatever it manages, only the carried bytes are installed: the run either
// installs them or stops with a message before it installs anything.
TEST_F(InstallSafety, ProcessReplacingTheTemporaryFileNeverGetsItsFileInstalled)
{
    ScratchDir dir;
    const Text planted = BesideTestExe(NewerControl), staged = dir / L"staged.ocx";
    std::atomic<bool> stop{false};
    std::atomic<int> replaced{0};
    std::thread replacer([&] {
        while (!stop) {
            replaced += CopyFileW(planted.c_str(), temporary.c_str(), FALSE) ? 1 : 0;
            if (CopyFileW(planted.c_str(), staged.c_str(), FALSE))
                replaced += MoveFileExW(staged.c_str(), temporary.c_str(), MOVEFILE_REPLACE_EXISTING) ? 1 : 0;
        }
    });
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        CleanUp();
        const WatchedRun run = Run(nullptr, L"Setup_TORVALINK_traced.exe");
        EXPECT_TRUE(run.finished);
        const ByteBuffer bytes = ReadFileBytes(target);
        if (bytes.empty()) {
            // Stopped before the install: the temporary file could not be
            // written, held or checked while the other process had it open,
            // had it away for a moment, or had put its own file there, also
            // between the save's deletion and its creation of the file.
            EXPECT_EQ(TraceText(), L"");
            ExpectEnding(run, {PermissionDenied, FileNotFound, PathFileAccess, AlreadyExists});
            continue;
        }
        EXPECT_TRUE(bytes == traced) << "only the carried copy may be installed";
        EXPECT_EQ(TraceText(), L"register carried\r\n");
        if (run.exitCode == 0) {
            ExpectMessages(run, {});
            continue;
        }
        // Installed, but the temporary file could not be deleted at the end:
        // the other process had it open, or had it away for a moment (Wine's
        // Scripting Runtime gives E_FAIL for a file in use).
        ExpectEnding(
            run,
            {PermissionDenied, FileNotFound, {L"Run-time error '-2147467259':\n\n" + SystemText(E_FAIL), 0x80004005}});
    }
    stop = true;
    replacer.join();
    // How the rounds split between installed and stopped is up to the
    // scheduler; that the other process did replace the file is not.
    EXPECT_GT(replaced, 0);
}

// Started at the same time, the runs take their turns: the first makes the
// update that is needed, the others then find the same version and do nothing.
TEST_F(InstallSafety, RunsAtTheSameTimeInstallAndRegisterOncePerUpdate)
{
    struct Case {
        const char* installed;
        const wchar_t* fixture; // null: no installed copy
        const wchar_t* trace;   // the registration entries that ran, in order
    };
    const Case cases[] = {
        {"no copy", nullptr, L"register carried\r\n"},
        {"an older copy", OlderControl, L"unregister older\r\nregister carried\r\n"},
        {"the same version", CarriedControl, L""},
    };
    constexpr int Rounds = 3, RunsAtOnce = 3;
    for (const Case& c : cases) {
        for (int round = 0; round < Rounds; ++round) {
            SCOPED_TRACE(testing::Message() << c.installed << ", round " << round);
            CleanUp();
            if (c.fixture)
                WriteFileBytes(target, ReadFileBytes(BesideTestExe(c.fixture)));

            std::vector<WatchedRun> runs(RunsAtOnce);
            std::vector<std::thread> watchers;
            for (WatchedRun& run : runs)
                watchers.emplace_back(
                    [&run] { run = RunAndAnswerMessageBoxes(BesideTestExe(L"Setup_TORVALINK_traced.exe")); });
            for (std::thread& watcher : watchers)
                watcher.join();

            for (const WatchedRun& run : runs) {
                EXPECT_TRUE(run.finished);
                EXPECT_EQ(run.exitCode, 0u);
                ExpectMessages(run, {});
            }
            EXPECT_EQ(TraceText(), c.trace);
            EXPECT_TRUE(ReadFileBytes(target) == traced) << "the carried copy must be installed";
            EXPECT_EQ(ClassKeyExists(L"\\InprocServer32"), c.fixture == nullptr || Text(c.fixture) != CarriedControl);
            EXPECT_FALSE(FileExists(temporary));
        }
    }
}

} // namespace
