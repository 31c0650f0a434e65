// The installer started where nobody can see a message box, as a deployment
// agent starts it: on a window station that is not visible. No box may wait
// there; the run ends when it should, and its exit code tells.

#include <torvalink/handles.h>
#include "installed_control.h"
#include "test_controls.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <type_traits>

using namespace torvalink;

namespace {

struct StationCloser {
    void operator()(HWINSTA station) const noexcept { CloseWindowStation(station); }
};
struct DesktopCloser {
    void operator()(HDESK desktop) const noexcept { CloseDesktop(desktop); }
};

// A window station of the test's own, not visible, with one desktop on it.
class HiddenDesktop {
public:
    HiddenDesktop()
    {
        station_.reset(CreateWindowStationW(L"torvalink_hidden", 0, WINSTA_ALL_ACCESS, nullptr));
        const HWINSTA own = GetProcessWindowStation();
        if (!station_ || !SetProcessWindowStation(station_.get()))
            return;
        desktop_.reset(CreateDesktopW(L"torvalink_desktop", nullptr, nullptr, 0, GENERIC_ALL, nullptr));
        SetProcessWindowStation(own);
    }
    bool Ready() const { return station_ && desktop_; }
    // For STARTUPINFO's lpDesktop.
    Text Name() const { return L"torvalink_hidden\\torvalink_desktop"; }

private:
    std::unique_ptr<std::remove_pointer_t<HWINSTA>, StationCloser> station_;
    std::unique_ptr<std::remove_pointer_t<HDESK>, DesktopCloser> desktop_;
};

struct HiddenRun {
    bool finished = false;
    DWORD exitCode = 0;
    ULONGLONG tookMs = 0;
};

// Runs an installer beside the test executable on the desktop, for at most
// `limitMs`; `meanwhile` runs once the process has started.
HiddenRun RunHidden(const HiddenDesktop& desktop, const wchar_t* exe, DWORD limitMs,
                    const std::function<void()>& meanwhile = {})
{
    HiddenRun run;
    const Text program = BesideTestExe(exe);
    Text commandLine = L"\"" + program + L"\"";
    Text desktopName = desktop.Name();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = desktopName.data();
    PROCESS_INFORMATION started{};
    const ULONGLONG start = GetTickCount64();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return run;
    const UniqueHandle process(started.hProcess), thread(started.hThread);
    if (meanwhile)
        meanwhile();
    if (WaitForSingleObject(process.get(), limitMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 999);
        WaitForSingleObject(process.get(), INFINITE);
        return run;
    }
    run.tookMs = GetTickCount64() - start;
    run.finished = GetExitCodeProcess(process.get(), &run.exitCode) != FALSE;
    return run;
}

class HiddenStation : public InstalledControlTest {};

TEST_F(HiddenStation, AFailingRegistrationShowsNoBoxAndEndsWithItsCode)
{
    const HiddenDesktop desktop;
    ASSERT_TRUE(desktop.Ready());
    const HiddenRun run = RunHidden(desktop, L"Setup_TORVALINK_load_fails.exe", 30000);
    ASSERT_TRUE(run.finished) << "a box waited where nobody can answer it";
    EXPECT_EQ(run.exitCode, 0x8007007Eu);
    EXPECT_FALSE(FileExists(temporary));
}

// Nobody can answer the box of a fatal failure either: none waits, and the
// exit code is the number as an HRESULT.
TEST_F(HiddenStation, AFatalFailureShowsNoBoxAndEndsWithItsNumber)
{
    const HiddenDesktop desktop;
    ASSERT_TRUE(desktop.Ready());
    struct Case {
        const wchar_t* installer;
        DWORD exitCode;
    };
    for (const Case& c : {Case{L"Setup_TORVALINK_start_without_memory.exe", 0x800A0007},
                          Case{L"Setup_TORVALINK_start_with_defect.exe", 0x800A0033}}) {
        const HiddenRun run = RunHidden(desktop, c.installer, 30000);
        ASSERT_TRUE(run.finished) << "a box waited where nobody can answer it";
        EXPECT_EQ(run.exitCode, c.exitCode);
    }
}

// The installed copy's unregistration blocks past the time-out (a second, in
// this installer): the time-out's message is not shown, the run stops there,
// and the process ends as soon as the entry does, saying time-out.
TEST_F(HiddenStation, ARegistrationTimeOutShowsNoBoxAndEndsWhenTheEntryDoes)
{
    WriteFileBytes(target, ReadFileBytes(BesideTestExe(OlderBlockingControl)));
    const UniqueHandle release(CreateEventW(nullptr, TRUE, FALSE, L"torvalink_unregister_release"));
    ASSERT_TRUE(release);
    ResetEvent(release.get());
    const HiddenDesktop desktop;
    ASSERT_TRUE(desktop.Ready());
    const HiddenRun run = RunHidden(desktop, L"Setup_TORVALINK_quick_timeout.exe", 30000, [&] {
        // Past the time-out, well before the entry's own 14 seconds.
        Sleep(2500);
        SetEvent(release.get());
    });
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0x800705B4u);
    EXPECT_GE(run.tookMs, 2500u) << "the process ended before the entry did";
    EXPECT_LT(run.tookMs, 4500u) << "the run must end with the entry, not wait for an answer";
    EXPECT_EQ(TraceText(), L"unregister blocks\r\n");
    EXPECT_TRUE(FileExists(temporary)) << "the run stopped at the time-out";
}

} // namespace
