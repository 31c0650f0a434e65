#include "event_log.h"
#include <torvalink/handles.h>
#include "modRegisterDll.h"
#include "print_text.h"
#include "recorded_messages.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <olectl.h>

#include <functional>
#include <type_traits>
#include <utility>

using namespace torvalink;

namespace {

// Unregister is only read: the compiler holds it to that through the reference
// to const, which this keeps in the signature.
static_assert(std::is_same_v<decltype(RegisterDll), HRESULT(const Text&, const std::int32_t&)>);

// What the self-registration fixtures recorded: "load", "register",
// "unregister" and "unload", in order.
Text Events()
{
    return ReadFixtureLog(L"SELFREG_EVENTS").c_str();
}

// Runs a call on a thread of its own, which a registration that runs out of
// time ends; the thread's exit code is CallReturned when the call returned.
constexpr DWORD CallReturned = 1;

DWORD WINAPI RunCall(void* call)
{
    (*static_cast<const std::function<void()>*>(call))();
    return CallReturned;
}

UniqueHandle StartCall(const std::function<void()>& call)
{
    return UniqueHandle(CreateThread(nullptr, 0, RunCall, const_cast<std::function<void()>*>(&call), 0, nullptr));
}

DWORD ExitCode(const UniqueHandle& thread)
{
    DWORD code = 0;
    GetExitCodeThread(thread.get(), &code);
    return code;
}

class RegisterDllTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetEnvironmentVariableW(L"SELFREG_EVENTS", nullptr);
        ClearRecordedMessages();
    }

    // RegisterDll must return: a time-out would end the thread that called it.
    // What it came to; E_UNEXPECTED when it did not return.
    static HRESULT Run(const Text& file, std::int32_t unregister, const RegistrationRunner& runner = {})
    {
        HRESULT result = E_UNEXPECTED;
        const std::function<void()> call = [&] {
            result = RegisterDllWith(BesideTestExe(file), unregister, runner);
        };
        const UniqueHandle caller = StartCall(call);
        EXPECT_TRUE(caller);
        EXPECT_EQ(WaitForSingleObject(caller.get(), 30000), WAIT_OBJECT_0); // only a hang fails this
        EXPECT_EQ(ExitCode(caller), CallReturned) << "RegisterDll did not return";
        return result;
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
    EXPECT_EQ(Run(L"selfreg_both.dll", 0), S_OK);
    EXPECT_EQ(Events(), L"load register unload ");
    EXPECT_TRUE(RecordedMessages().empty());
}

TEST_F(RegisterDllTest, AnyOtherValueRunsTheUnregistrationEntry)
{
    for (std::int32_t unregister : {1, 2, -1}) {
        SCOPED_TRACE(unregister);
        SetEnvironmentVariableW(L"SELFREG_EVENTS", nullptr);
        EXPECT_EQ(Run(L"selfreg_both.dll", unregister), S_OK);
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

TEST_F(RegisterDllTest, FailingEntryShowsNothingAndGivesItsResultBack)
{
    EXPECT_EQ(Run(L"selfreg_fails.dll", 0), SELFREG_E_CLASS);
    EXPECT_EQ(Events(), L"load register unload ");
    EXPECT_TRUE(RecordedMessages().empty());
}

TEST_F(RegisterDllTest, UnloadableFileGivesTheFirstMessageWithoutThePath)
{
    EXPECT_EQ(Run(L"no such library.dll", 0), RegistrationLoadFailed);
    ExpectOneMessage(L"Errore caricando la DLL", L"Register Server");

    ClearRecordedMessages();
    EXPECT_EQ(Run(L"plain.txt", 0), RegistrationLoadFailed);
    ExpectOneMessage(L"Errore caricando la DLL", L"Register Server");
}

TEST_F(RegisterDllTest, MissingEntryGivesTheSecondMessageAndReleasesTheLibrary)
{
    EXPECT_EQ(Run(L"selfreg_register_only.dll", 1), RegistrationEntryMissing);
    ExpectOneMessage(L"Registrazione fallita EntryPoint mancante '" + BesideTestExe(L"selfreg_register_only.dll") +
                         L"'.",
                     L"Registrazione Fallita!");
    EXPECT_EQ(Events(), L"load unload ");
    EXPECT_EQ(GetModuleHandleW(L"selfreg_register_only.dll"), nullptr);
}

TEST_F(RegisterDllTest, LibraryWithoutEntriesGivesTheSecondMessage)
{
    EXPECT_EQ(Run(L"resource_fixture.dll", 0), RegistrationEntryMissing);
    ExpectOneMessage(L"Registrazione fallita EntryPoint mancante '" + BesideTestExe(L"resource_fixture.dll") + L"'.",
                     L"Registrazione Fallita!");
    EXPECT_EQ(GetModuleHandleW(L"resource_fixture.dll"), nullptr);
}

HANDLE WINAPI NoThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD)
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

// A worker that cannot be created reads like a missing entry, but says what it was.
TEST_F(RegisterDllTest, NoWorkerThreadGivesTheSecondMessageAndReleasesTheLibrary)
{
    RegistrationRunner runner;
    runner.createThread = NoThread;
    EXPECT_EQ(Run(L"selfreg_both.dll", 0, runner), RegistrationNoThread);
    ExpectOneMessage(L"Registrazione fallita EntryPoint mancante '" + BesideTestExe(L"selfreg_both.dll") + L"'.",
                     L"Registrazione Fallita!");
    EXPECT_EQ(Events(), L"load unload ") << "no entry ran";
    EXPECT_EQ(GetModuleHandleW(L"selfreg_both.dll"), nullptr);
}

// selfreg_blocks.dll, whose registration entry runs until the test releases it.
// Its events are shared by name with the library; each test starts them unset.
class BlockingEntry {
public:
    BlockingEntry() = default;
    // A worker still blocked would outlive the test.
    ~BlockingEntry() { Release(); }
    BlockingEntry(const BlockingEntry&) = delete;
    BlockingEntry& operator=(const BlockingEntry&) = delete;

    void Release() { SetEvent(release_.get()); }
    // Whether the entry has started, or has recorded its event after its
    // release; the limit is one that only a hang reaches.
    bool Entered() const { return Signalled(entered_); }
    bool Done() const { return Signalled(done_); }

private:
    static UniqueHandle Event(const wchar_t* name)
    {
        UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, name));
        ResetEvent(event.get());
        return event;
    }
    static bool Signalled(const UniqueHandle& event)
    {
        return WaitForSingleObject(event.get(), 30000) == WAIT_OBJECT_0;
    }

    UniqueHandle entered_ = Event(L"selfreg_blocks_entered");
    UniqueHandle release_ = Event(L"selfreg_blocks_release");
    UniqueHandle done_ = Event(L"selfreg_blocks_done");
};

TEST_F(RegisterDllTest, EntryThatEndsWithinTheTimeoutLetsTheCallReturn)
{
    // An earlier time-out leaves the library loaded: then it records no load or unload.
    const bool loaded = GetModuleHandleW(L"selfreg_blocks.dll") != nullptr;
    BlockingEntry entry;
    HRESULT result = E_UNEXPECTED;
    const std::function<void()> call = [&] {
        result = RegisterDllWith(BesideTestExe(L"selfreg_blocks.dll"), 0, RegistrationRunner{60000});
    };
    const UniqueHandle caller = StartCall(call);
    ASSERT_TRUE(caller);
    ASSERT_TRUE(entry.Entered());
    entry.Release();
    ASSERT_EQ(WaitForSingleObject(caller.get(), 30000), WAIT_OBJECT_0);

    EXPECT_EQ(ExitCode(caller), CallReturned);
    EXPECT_EQ(result, S_OK);
    EXPECT_TRUE(RecordedMessages().empty());
    EXPECT_EQ(Events(), loaded ? L"register " : L"load register unload ");
}

TEST_F(RegisterDllTest, TimeoutShowsTheThirdMessageAndEndsTheCallingThread)
{
    const Text load = GetModuleHandleW(L"selfreg_blocks.dll") ? L"" : L"load "; // see above
    BlockingEntry entry;
    const std::function<void()> call = [] {
        RegisterDllWith(BesideTestExe(L"selfreg_blocks.dll"), 0, RegistrationRunner{50});
    };
    const UniqueHandle caller = StartCall(call);
    ASSERT_TRUE(caller);
    // Not a measure of the time-out: a bound a hundred times as long, and half
    // the product's 10 seconds, which a call that ignored its time-out would
    // still be waiting at.
    ASSERT_EQ(WaitForSingleObject(caller.get(), 5000), WAIT_OBJECT_0);

    EXPECT_EQ(ExitCode(caller), static_cast<DWORD>(RegistrationTimedOut)) << "the caller ends saying time-out";
    ExpectOneMessage(L"Registrazione fallita per time-out da '" + BesideTestExe(L"selfreg_blocks.dll") + L"'.",
                     L"Registrazione fallita!");

    // The worker is still inside the library, which must stay loaded.
    EXPECT_EQ(Events(), load);
    EXPECT_NE(GetModuleHandleW(L"selfreg_blocks.dll"), nullptr);

    entry.Release();
    ASSERT_TRUE(entry.Done());
    EXPECT_EQ(Events(), load + L"register ");
    EXPECT_NE(GetModuleHandleW(L"selfreg_blocks.dll"), nullptr);
}

// The worker that ends while the time-out message is shown ends saying time-out
// too: whichever thread ends last gives the process its exit code.
HANDLE recordedWorker = nullptr;
HANDLE WINAPI CreateRecordedThread(SECURITY_ATTRIBUTES* security, SIZE_T stack, LPTHREAD_START_ROUTINE routine,
                                   void* parameter, DWORD flags, DWORD* id)
{
    const HANDLE thread = CreateThread(security, stack, routine, parameter, flags, id);
    DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &recordedWorker, 0, FALSE, DUPLICATE_SAME_ACCESS);
    return thread;
}

TEST_F(RegisterDllTest, WorkerThatEndsWhileTheTimeoutIsShownEndsSayingTimeoutLikeTheCaller)
{
    BlockingEntry entry;
    WhileShown([&](const ShownMessage&) {
        entry.Release();
        EXPECT_EQ(WaitForSingleObject(recordedWorker, 30000), WAIT_OBJECT_0);
    });
    const std::function<void()> call = [] {
        RegisterDllWith(BesideTestExe(L"selfreg_blocks.dll"), 0, RegistrationRunner{50, CreateRecordedThread});
    };
    const UniqueHandle caller = StartCall(call);
    ASSERT_TRUE(caller);
    ASSERT_EQ(WaitForSingleObject(caller.get(), 30000), WAIT_OBJECT_0);
    const UniqueHandle worker(std::exchange(recordedWorker, nullptr));
    ASSERT_TRUE(worker);

    EXPECT_EQ(ExitCode(caller), static_cast<DWORD>(RegistrationTimedOut));
    EXPECT_EQ(ExitCode(worker), static_cast<DWORD>(RegistrationTimedOut)) << "not the entry's own S_OK";
    EXPECT_EQ(RecordedMessages().size(), 1u);
    EXPECT_TRUE(Events().find(L"register ") != Text::npos);
}

} // namespace
