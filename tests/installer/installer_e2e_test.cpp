// Runs the real Setup executables in the test prefix and checks what they
// leave behind: files, registration, message boxes.

#include <torvalink/handles.h>
#include "installed_control.h"
#include "print_text.h"
#include "test_controls.h"

#include <gtest/gtest.h>

using namespace torvalink;

namespace {

// Moves a folder aside, when it exists, for as long as it lives.
class FolderAside {
public:
    explicit FolderAside(const Text& folder) : folder_(folder), aside_(folder + L".aside")
    {
        moved_ = MoveFileW(folder_.c_str(), aside_.c_str()) != FALSE;
    }
    ~FolderAside()
    {
        if (moved_)
            MoveFileW(aside_.c_str(), folder_.c_str());
    }
    FolderAside(const FolderAside&) = delete;
    FolderAside& operator=(const FolderAside&) = delete;

private:
    Text folder_;
    Text aside_;
    bool moved_;
};

class Installer : public InstalledControlTest {
protected:
    static void Install(const Text& fixture, const Text& at)
    {
        WriteFileBytes(at, ReadFileBytes(BesideTestExe(fixture)));
    }
};

TEST_F(Installer, FreshInstallCopiesRegistersAndCleansUp)
{
    const WatchedRun run = Run();
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.messages.empty());
    EXPECT_EQ(ReadFileBytes(target), payload);
    EXPECT_FALSE(FileExists(temporary));
    EXPECT_TRUE(ClassKeyExists(L"\\InprocServer32"));

    EXPECT_EQ(CreateInstalledControl(), S_OK) << "the registered control can be created";
}

TEST_F(Installer, EachWindowsVersionTakesItsProcedure)
{
    struct Case {
        const wchar_t* version;
        bool fixedPaths;
        bool special;
    };
    const Case cases[] = {
        {L"win95", true, false}, {L"win98", false, true}, {L"winme", false, true}, {L"nt351", false, false},
        {L"nt40", false, true},  {L"win2k", false, true}, {L"winxp", false, true}, {L"win2003", false, true},
        {L"vista", false, true}, {L"win7", false, true},  {L"win10", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        CleanUp();
        CreateDirectoryW(FixedFolder.c_str(), nullptr);
        const WatchedRun run = Run(c.version);
        EXPECT_TRUE(run.messages.empty());
        EXPECT_EQ(FileExists(fixedTarget), c.fixedPaths);
        EXPECT_EQ(FileExists(target), c.special);
        EXPECT_FALSE(FileExists(temporary));
        EXPECT_FALSE(FileExists(fixedTemporary));
    }
}

TEST_F(Installer, SameVersionIsLeftAlone)
{
    WriteFileBytes(target, payload);
    const WatchedRun run = Run();
    EXPECT_TRUE(run.messages.empty());
    EXPECT_FALSE(ClassKeyExists()) << "nothing may be registered";
    EXPECT_EQ(ReadFileBytes(target), payload);
    EXPECT_FALSE(FileExists(temporary));
}

TEST_F(Installer, LaterVersionIsLeftAlone)
{
    Install(NewerControl, target);
    const WatchedRun run = Run();
    EXPECT_TRUE(run.messages.empty());
    EXPECT_EQ(TraceText(), L"");
    EXPECT_EQ(ReadFileBytes(target), ReadFileBytes(BesideTestExe(NewerControl)));
    EXPECT_FALSE(FileExists(temporary));
}

TEST_F(Installer, EarlierVersionIsUnregisteredReplacedAndRegistered)
{
    Install(OlderControl, target);
    const WatchedRun run = Run();
    EXPECT_TRUE(run.messages.empty());
    // The old copy unregistered itself before the copy; the new one registered.
    EXPECT_EQ(TraceText(), L"unregister older\r\n");
    EXPECT_EQ(ReadFileBytes(target), payload);
    EXPECT_TRUE(ClassKeyExists(L"\\InprocServer32"));
    EXPECT_FALSE(FileExists(temporary));
}

TEST_F(Installer, InstalledCopyWithoutVersionCountsAsOlder)
{
    Install(L"torvalink_noversion.ocx", target);
    Run();
    EXPECT_EQ(TraceText(), L"unregister none\r\n");
    EXPECT_EQ(ReadFileBytes(target), payload);
    EXPECT_TRUE(ClassKeyExists(L"\\InprocServer32"));
}

// A damaged newer copy holds no version that can be trusted: it is replaced,
// never left in place as newer.
TEST_F(Installer, DamagedInstalledCopyCountsAsOneWithoutVersion)
{
    for (const wchar_t* damaged : {NewerShortVersionControl, NewerVersionOutsideControl}) {
        SCOPED_TRACE(damaged);
        CleanUp();
        Install(damaged, target);
        const WatchedRun run = Run();
        EXPECT_EQ(run.exitCode, 0u);
        EXPECT_TRUE(run.messages.empty());
        EXPECT_EQ(TraceText(), L"unregister newer\r\n");
        EXPECT_EQ(ReadFileBytes(target), payload);
        EXPECT_TRUE(ClassKeyExists(L"\\InprocServer32"));
    }
}

TEST_F(Installer, ReplacesATemporaryFileLeftBehind)
{
    WriteFileBytes(temporary, ByteBuffer(100000, 0x33));
    Run();
    EXPECT_EQ(ReadFileBytes(target), payload);
    EXPECT_FALSE(FileExists(temporary));
}

TEST_F(Installer, OlderCopyThatCannotBeOverwrittenIsRegisteredAgain)
{
    Install(OlderControl, target);
    {
        // Held open without write sharing, as a file in use is.
        const UniqueFile inUse(
            CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(inUse);
        const WatchedRun run = Run();
        EXPECT_TRUE(run.messages.empty());
    }
    EXPECT_EQ(TraceText(), L"unregister older\r\nregister older\r\n");
    EXPECT_EQ(ReadFileBytes(target), ReadFileBytes(BesideTestExe(OlderControl)));
    EXPECT_FALSE(FileExists(temporary));
}

// The one check of the product's 10-second registration time-out, and the one
// test that waits for it: it measures the run up to the time-out's message,
// a span that holds the whole wait. The installed copy's unregistration blocks
// for 14 seconds unless released: a longer time-out lets it end, and the run
// goes on without the message.
TEST_F(Installer, RegistrationTimeOutEndsTheRunAfterItsMessage)
{
    Install(OlderBlockingControl, target);
    const UniqueHandle release(CreateEventW(nullptr, TRUE, FALSE, L"torvalink_unregister_release"));
    ASSERT_TRUE(release);
    SetAppSetting(L"Setup_TORVALINK.exe", L"", L"Version", nullptr);
    ULONGLONG shownAfterMs = 0;
    const ULONGLONG start = GetTickCount64();
    const WatchedRun run =
        RunAndAnswerMessageBoxes(BesideTestExe(L"Setup_TORVALINK.exe"), 60000, [&](const WatchedRun::Message&) {
            if (shownAfterMs == 0)
                shownAfterMs = GetTickCount64() - start;
            SetEvent(release.get());
        });
    ASSERT_TRUE(run.finished);
    // The worker ended while the message was shown; the process ends saying time-out.
    EXPECT_EQ(run.exitCode, 0x800705B4u) << "ERROR_TIMEOUT";
    ASSERT_EQ(run.messages.size(), 1u);
    // 10 seconds at least, less the tick of the clock.
    EXPECT_GE(shownAfterMs, 9900u) << "the registration was given up before its 10 seconds";
    EXPECT_EQ(run.messages[0].title, L"Registrazione fallita!");
    EXPECT_EQ(run.messages[0].text, L"Registrazione fallita per time-out da '" + target + L"'.");
    // The run went no further: nothing copied or registered, the temporary file left behind.
    EXPECT_EQ(TraceText(), L"unregister blocks\r\n");
    EXPECT_EQ(ReadFileBytes(target), ReadFileBytes(BesideTestExe(OlderBlockingControl)));
    EXPECT_FALSE(ClassKeyExists());
    EXPECT_TRUE(FileExists(temporary));
}

TEST_F(Installer, CarriedCopyWithoutVersionInstallsNothing)
{
    const WatchedRun run = Run(nullptr, L"Setup_TORVALINK_noversion.exe");
    EXPECT_TRUE(run.messages.empty());
    EXPECT_FALSE(FileExists(target));
    EXPECT_FALSE(ClassKeyExists());
    EXPECT_FALSE(FileExists(temporary));
}

TEST_F(Installer, FixedPathsSkipAHiddenInstalledCopy)
{
    // 32-bit Windows has the folder already, for its 16-bit files.
    ASSERT_TRUE(CreateDirectoryW(FixedFolder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    Install(NewerControl, fixedTarget);
    SetFileAttributesW(fixedTarget.c_str(), FILE_ATTRIBUTE_HIDDEN);
    const WatchedRun run = Run(L"win95");
    EXPECT_TRUE(run.messages.empty());
    // Not found, so not unregistered, and replaced although it was newer.
    EXPECT_EQ(TraceText(), L"");
    EXPECT_EQ(ReadFileBytes(fixedTarget), payload);
    EXPECT_TRUE(ClassKeyExists(L"\\InprocServer32"));
    EXPECT_FALSE(FileExists(fixedTemporary));
}

TEST_F(Installer, FixedPathsWithoutTheSystemFolderReportTheLoadFailure)
{
    // 32-bit Windows has the folder, for its 16-bit files: take it away meanwhile.
    const FolderAside away(FixedFolder);
    ASSERT_FALSE(FileExists(FixedFolder));
    const WatchedRun run = Run(L"win95");
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].title, L"Register Server");
    EXPECT_EQ(run.messages[0].text, L"Errore caricando la DLL");
    EXPECT_FALSE(FileExists(fixedTemporary));
    EXPECT_FALSE(FileExists(FixedFolder));
}

TEST_F(Installer, UnhandledFailureEndsTheProgramWithAMessage)
{
    // A temporary file that nobody may delete: the final deletion fails.
    WriteFileBytes(temporary, ByteBuffer(10, 0x33));
    const UniqueFile locked(CreateFileW(temporary.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked);
    const WatchedRun run = Run();
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].title, L"Setup_TORVALINK");
    EXPECT_EQ(run.messages[0].text, L"Run-time error '70':\n\nPermission denied");
    EXPECT_EQ(run.exitCode, 0x800A0046u) << "the number as an HRESULT";
    EXPECT_FALSE(FileExists(target));
}

// Started from a folder whose name code page 1252 cannot hold, the installer
// reads its own executable, not one in a folder of the look-alike name
// ("Lukasz" for "\u0141ukasz"), which here carries another copy of the control.
TEST_F(Installer, RunsFromAFolderTheCodePageCannotHoldAndReadsItsOwnExecutable)
{
    const ScratchDir dir;
    const Text lookAlike = dir / L"Lukasz";
    ASSERT_TRUE(CreateDirectoryW(lookAlike.c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(BesideTestExe(L"Setup_TORVALINK_traced.exe").c_str(),
                          (lookAlike + L"\\Setup_TORVALINK.exe").c_str(), FALSE));
    for (const wchar_t* name : {L"\u0141ukasz", L"\u4e2d\u6587"}) {
        SCOPED_TRACE(testing::PrintToString(Text(name)));
        CleanUp();
        const Text folder = dir / name;
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        const Text exe = folder + L"\\Setup_TORVALINK.exe";
        ASSERT_TRUE(CopyFileW(BesideTestExe(L"Setup_TORVALINK.exe").c_str(), exe.c_str(), FALSE));
        const WatchedRun run = RunAndAnswerMessageBoxes(exe);
        EXPECT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 0u);
        EXPECT_TRUE(run.messages.empty())
            << testing::PrintToString(run.messages.empty() ? Text() : run.messages[0].text);
        EXPECT_EQ(ReadFileBytes(target), payload);
        EXPECT_TRUE(ClassKeyExists(L"\\InprocServer32"));
        EXPECT_EQ(TraceText(), L"") << "the copy beside the look-alike ran";
        EXPECT_FALSE(FileExists(temporary));
        DeleteFileW(exe.c_str());
    }
}

// Libraries planted beside the installer, loaded by name once it runs. Wine's
// user32 loads uxtheme.dll only after a program has started, so it shows the
// search being kept to the system folder at start-up (the one plant that a
// program without that restriction takes, as show_install shows); winmm.dll
// is what the installer's own code would load. version.dll cannot be shown:
// Wine's user32 imports it before any of the program's code runs. That the
// installer imports neither is checked on the built executables.
TEST_F(Installer, IgnoresLibrariesPlantedBesideIt)
{
    const Text marks[] = {L"C:\\planted_uxtheme.txt", L"C:\\planted_winmm.txt"};
    const auto plantedRun = [&](const wchar_t* name) {
        const Text exe = BesideTestExe(Text(L"planted\\") + name);
        EXPECT_TRUE(CopyFileW(BesideTestExe(name).c_str(), exe.c_str(), FALSE));
        for (const Text& mark : marks)
            DeleteFileW(mark.c_str());
        for (const wchar_t* library : {L"uxtheme", L"winmm"})
            SetAppSetting(name, L"\\DllOverrides", library, L"native,builtin");
        WatchedRun run = RunAndAnswerMessageBoxes(exe);
        for (const wchar_t* library : {L"uxtheme", L"winmm"})
            SetAppSetting(name, L"\\DllOverrides", library, nullptr);
        DeleteFileW(exe.c_str());
        return run;
    };

    const WatchedRun run = plantedRun(L"Setup_TORVALINK.exe");
    EXPECT_FALSE(FileExists(marks[0]));
    EXPECT_FALSE(FileExists(marks[1]));
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.messages.empty());
    EXPECT_EQ(ReadFileBytes(target), payload);

    // The same plant, beside a program that leaves the search as it is.
    EXPECT_TRUE(plantedRun(L"show_install.exe").finished);
    EXPECT_TRUE(FileExists(marks[0])) << "the plant is no longer reachable: this test shows nothing";
    for (const Text& mark : marks)
        DeleteFileW(mark.c_str());
}

} // namespace
