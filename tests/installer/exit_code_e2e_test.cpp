// What the installer's exit code says, for the deployment tools that read
// nothing else: each outcome of a run, with its exact code.

#include <torvalink/handles.h>
#include "installed_control.h"
#include "print_text.h"
#include "test_controls.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <vector>

using namespace torvalink;

namespace {

class ExitCode : public InstalledControlTest {
protected:
    static void Install(const wchar_t* fixture, const Text& at)
    {
        WriteFileBytes(at, ReadFileBytes(BesideTestExe(fixture)));
    }
};

// Nothing to do or everything done: 0.
TEST_F(ExitCode, ZeroWhenTheCarriedVersionIsInstalledOrAnInstalledCopyIsAsNew)
{
    struct Case {
        const char* installed;
        const wchar_t* fixture; // null: none
    };
    for (const Case& c : {Case{"none", nullptr}, Case{"the same version", L"TORVALINK.ocx"},
                          Case{"an older version", OlderControl}, Case{"a newer version", NewerControl}}) {
        SCOPED_TRACE(c.installed);
        CleanUp();
        if (c.fixture)
            Install(c.fixture, target);
        const WatchedRun run = Run();
        EXPECT_EQ(run.exitCode, 0u);
        EXPECT_TRUE(run.messages.empty());
        EXPECT_FALSE(FileExists(target + L".kept")) << "what an update kept goes once it worked";
    }
}

// The registration entry reports a failure: no box, as ever, but its HRESULT
// is the exit code.
TEST_F(ExitCode, TheRegistrationEntrysOwnFailure)
{
    const WatchedRun run = Run(nullptr, L"Setup_TORVALINK_register_fails.exe");
    EXPECT_EQ(run.exitCode, 0x80040200u) << "SELFREG_E_TYPELIB";
    EXPECT_TRUE(run.messages.empty());
    EXPECT_EQ(TraceText(), L"register later\r\n");
    EXPECT_FALSE(FileExists(temporary));
}

TEST_F(ExitCode, ALibraryThatWouldNotLoad)
{
    const WatchedRun run = Run(nullptr, L"Setup_TORVALINK_load_fails.exe");
    EXPECT_EQ(run.exitCode, 0x8007007Eu) << "ERROR_MOD_NOT_FOUND";
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].title, L"Register Server");
    EXPECT_EQ(run.messages[0].text, L"Errore caricando la DLL");
}

// The new copy's registration fails after the older copy was unregistered
// and replaced: its entry reports a failure, or it cannot even be loaded (a
// library it imports is missing). The older copy goes back byte for byte and
// is registered again, so what worked still works; the exit code is the new
// copy's failure. Neither copy is left beside it, but for one that this
// process could not delete yet (a library it failed to load), whose deletion
// then waits for the restart.
TEST_F(ExitCode, AFailedUpdatePutsTheOlderCopyBackAndRegistersItAgain)
{
    struct Case {
        const wchar_t* installer;
        DWORD exitCode;
        const wchar_t* trace;
        const wchar_t* message;        // null: none
        const wchar_t* windowsVersion; // null: Wine's own, the special folders; win95: the fixed paths
    };
    const Case cases[] = {
        {L"Setup_TORVALINK_register_fails.exe", 0x80040200, L"unregister older\r\nregister later\r\nregister older\r\n",
         nullptr, nullptr},
        {L"Setup_TORVALINK_import_missing.exe", 0x8007007E, L"unregister older\r\nregister older\r\n",
         L"Errore caricando la DLL", nullptr},
        {L"Setup_TORVALINK_register_fails.exe", 0x80040200, L"unregister older\r\nregister later\r\nregister older\r\n",
         nullptr, L"win95"},
    };
    BOOL wow64 = FALSE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
    const Text failedAtRestart =
        Text(L"\\??\\C:\\windows\\") + (wow64 ? L"syswow64" : L"system32") + L"\\TORVALINK.ocx.failed";
    const ByteBuffer older = ReadFileBytes(BesideTestExe(OlderControl));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(Text(c.installer)) + (c.windowsVersion ? " on win95" : ""));
        CleanUp();
        CreateDirectoryW(FixedFolder.c_str(), nullptr);
        const Text& installed = c.windowsVersion ? fixedTarget : target;
        Install(OlderControl, installed);
        const WatchedRun run = Run(c.windowsVersion, c.installer);
        EXPECT_EQ(run.exitCode, c.exitCode);
        ASSERT_EQ(run.messages.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(run.messages[0].text, c.message);
        }
        EXPECT_EQ(TraceText(), c.trace);
        EXPECT_TRUE(ReadFileBytes(installed) == older);
        EXPECT_EQ(CreateInstalledControl(), S_OK) << "registered again, and it works";
        EXPECT_FALSE(FileExists(installed + L".kept"));
        EXPECT_FALSE(FileExists(c.windowsVersion ? fixedTemporary : temporary));
        const std::vector<Text> pending = PendingDeletions();
        if (FileExists(installed + L".failed")) {
            ASSERT_EQ(pending.size(), 1u);
            EXPECT_EQ(_wcsicmp(pending[0].c_str(), failedAtRestart.c_str()), 0) << testing::PrintToString(pending[0]);
        } else {
            EXPECT_TRUE(pending.empty());
        }
    }
}

// The older copy is in use: it stays and is registered again, but the update
// did not happen.
TEST_F(ExitCode, ACopyOverTheInstalledFileThatFailed)
{
    struct Case {
        const wchar_t* windowsVersion; // null: Wine's own, the special folders
        DWORD exitCode;
    };
    // On Windows 95 a plain copy, which gives "Permission denied" (70); the
    // Scripting Runtime's copy gives its own number, which Wine's and
    // Windows' differ in: 70 on Windows, E_FAIL under Wine.
    const Case cases[] = {{L"win95", 0x800A0046}, {nullptr, 0x80004005}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.windowsVersion ? "fixed paths" : "special folders");
        CleanUp();
        CreateDirectoryW(FixedFolder.c_str(), nullptr);
        const Text& installed = c.windowsVersion ? fixedTarget : target;
        Install(OlderControl, installed);
        {
            const UniqueFile inUse(
                CreateFileW(installed.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(inUse);
            const WatchedRun run = Run(c.windowsVersion);
            EXPECT_EQ(run.exitCode, c.exitCode);
            EXPECT_TRUE(run.messages.empty());
        }
        EXPECT_EQ(TraceText(), L"unregister older\r\nregister older\r\n");
        EXPECT_EQ(ReadFileBytes(installed), ReadFileBytes(BesideTestExe(OlderControl)));
        EXPECT_FALSE(FileExists(installed + L".kept")) << "nothing to put back: the copy kept goes";
    }
}

// Running out of memory, and a defect of the program's own, end the run as
// every other failure does: with one box and the number as an HRESULT.
TEST_F(ExitCode, AFatalFailureShowsItsBoxAndEndsWithItsNumber)
{
    struct Case {
        const wchar_t* installer;
        DWORD exitCode;
        const wchar_t* message;
    };
    for (const Case& c :
         {Case{L"Setup_TORVALINK_start_without_memory.exe", 0x800A0007, L"Run-time error '7':\n\nOut of memory"},
          Case{L"Setup_TORVALINK_start_with_defect.exe", 0x800A0033, L"Run-time error '51':\n\nInternal error"}}) {
        SCOPED_TRACE(testing::PrintToString(Text(c.installer)));
        const WatchedRun run = Run(nullptr, c.installer);
        EXPECT_EQ(run.exitCode, c.exitCode);
        ASSERT_EQ(run.messages.size(), 1u);
        EXPECT_EQ(run.messages[0].text, c.message);
        EXPECT_FALSE(FileExists(temporary)) << "it ended before anything was done";
    }
}

// Another run holds the lock for longer than this one waits (the test build
// waits a second; the product ten minutes): 1618, which deployment tools
// retry later. Nothing is done meanwhile, and no box waits.
TEST_F(ExitCode, AnotherInstallationInProgress)
{
    const UniqueHandle mutex(CreateMutexW(nullptr, TRUE, L"Global\\Setup_TORVALINK.Install"));
    ASSERT_TRUE(mutex);
    const ULONGLONG start = GetTickCount64();
    const WatchedRun run = Run(nullptr, L"Setup_TORVALINK_quick_wait.exe");
    const ULONGLONG tookMs = GetTickCount64() - start;
    ReleaseMutex(mutex.get());
    EXPECT_EQ(run.exitCode, 1618u);
    EXPECT_TRUE(run.messages.empty());
    EXPECT_GE(tookMs, 900u) << "it must wait its second first";
    EXPECT_FALSE(FileExists(target));
    EXPECT_FALSE(FileExists(temporary));

    // Once the lock is free the same build installs.
    const WatchedRun next = Run(nullptr, L"Setup_TORVALINK_quick_wait.exe");
    EXPECT_EQ(next.exitCode, 0u);
    EXPECT_EQ(ReadFileBytes(target), payload);
}

} // namespace
