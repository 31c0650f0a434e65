#include "event_log.h"
#include "modRegisterDll.h"
#include "print_text.h"
#include "recorded_messages.h"
#include "test_paths.h"

#include <gtest/gtest.h>

using namespace torvalink;

namespace {

// What the self-registration fixtures recorded: "load", "register",
// "unregister" and "unload", in order.
Text Events()
{
    return ReadFixtureLog(L"SELFREG_EVENTS").c_str();
}

class RegisterDllTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetEnvironmentVariableW(L"SELFREG_EVENTS", nullptr);
        ClearRecordedMessages();
    }

    static void Run(const Text& file, std::int32_t unregister)
    {
        const std::int32_t before = unregister;
        RegisterDll(BesideTestExe(file), unregister);
        EXPECT_EQ(unregister, before) << "Unregister must only be read";
    }

    static void ExpectOneMessage(const Text& prompt, const Text& title)
    {
        const auto shown = RecordedMessages();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].prompt, prompt);
        EXPECT_EQ(shown[0].title, title);
        EXPECT_EQ(shown[0].style, 16u);
    }
};

TEST_F(RegisterDllTest, ZeroRunsTheRegistrationEntryAndReleasesTheLibrary)
{
    Run(L"selfreg_both.dll", 0);
    EXPECT_EQ(Events(), L"load register unload ");
    EXPECT_TRUE(RecordedMessages().empty());
}

TEST_F(RegisterDllTest, AnyOtherValueRunsTheUnregistrationEntry)
{
    for (std::int32_t unregister : {1, 2, -1}) {
        SCOPED_TRACE(unregister);
        SetEnvironmentVariableW(L"SELFREG_EVENTS", nullptr);
        Run(L"selfreg_both.dll", unregister);
        EXPECT_EQ(Events(), L"load unregister unload ");
    }
    EXPECT_TRUE(RecordedMessages().empty());
}

TEST_F(RegisterDllTest, TwoCallsInARowEachLoadAndReleaseTheLibrary)
{
    Run(L"selfreg_both.dll", 1);
    Run(L"selfreg_both.dll", 0);
    EXPECT_EQ(Events(), L"load unregister unload load register unload ");
}

TEST_F(RegisterDllTest, FailingEntryShowsNothing)
{
    Run(L"selfreg_fails.dll", 0);
    EXPECT_EQ(Events(), L"load register unload ");
    EXPECT_TRUE(RecordedMessages().empty());
}

TEST_F(RegisterDllTest, UnloadableFileGivesTheFirstMessageWithoutThePath)
{
    Run(L"no such library.dll", 0);
    ExpectOneMessage(L"Errore caricando la DLL", L"Register Server");

    ClearRecordedMessages();
    Run(L"plain.txt", 0);
    ExpectOneMessage(L"Errore caricando la DLL", L"Register Server");
}

TEST_F(RegisterDllTest, MissingEntryGivesTheSecondMessageAndReleasesTheLibrary)
{
    Run(L"selfreg_register_only.dll", 1);
    ExpectOneMessage(L"Registrazione fallita EntryPoint mancante '" + BesideTestExe(L"selfreg_register_only.dll") +
                         L"'.",
                     L"Registrazione Fallita!");
    EXPECT_EQ(Events(), L"load unload ");
    EXPECT_EQ(GetModuleHandleW(L"selfreg_register_only.dll"), nullptr);
}

TEST_F(RegisterDllTest, LibraryWithoutEntriesGivesTheSecondMessage)
{
    Run(L"resource_fixture.dll", 0);
    ExpectOneMessage(L"Registrazione fallita EntryPoint mancante '" + BesideTestExe(L"resource_fixture.dll") + L"'.",
                     L"Registrazione Fallita!");
    EXPECT_EQ(GetModuleHandleW(L"resource_fixture.dll"), nullptr);
}

// Costs ten seconds: the runner waits that long before it gives up.
TEST_F(RegisterDllTest, TimeoutShowsTheThirdMessageAndEndsTheCallingThread)
{
    const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, L"selfreg_blocks_release");
    ASSERT_NE(release, nullptr);

    const ULONGLONG start = GetTickCount64();
    const HANDLE caller = CreateThread(
        nullptr, 0,
        [](void*) -> DWORD {
            const std::int32_t unregister = 0;
            RegisterDll(BesideTestExe(L"selfreg_blocks.dll"), unregister);
            return 1; // never reached: the runner ends this thread
        },
        nullptr, 0, nullptr);
    ASSERT_NE(caller, nullptr);
    ASSERT_EQ(WaitForSingleObject(caller, 30000), WAIT_OBJECT_0);
    const ULONGLONG elapsed = GetTickCount64() - start;

    DWORD exitCode = 0;
    GetExitCodeThread(caller, &exitCode);
    CloseHandle(caller);
    EXPECT_EQ(exitCode, 259u) << "the caller ends with the still-running worker's code";
    EXPECT_GE(elapsed, 9500u);
    EXPECT_LT(elapsed, 20000u);
    ExpectOneMessage(L"Registrazione fallita per time-out da '" + BesideTestExe(L"selfreg_blocks.dll") + L"'.",
                     L"Registrazione fallita!");

    // The worker is still inside the library, which must stay loaded.
    EXPECT_EQ(Events(), L"load ");
    EXPECT_NE(GetModuleHandleW(L"selfreg_blocks.dll"), nullptr);

    SetEvent(release);
    for (int i = 0; i < 100 && Events() != L"load register "; ++i)
        Sleep(50);
    EXPECT_EQ(Events(), L"load register ");
    CloseHandle(release);
}

} // namespace
