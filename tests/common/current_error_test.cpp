#include "allocation_hooks.h"

#include <torvalink/current_error.h>

#include <gtest/gtest.h>

#include <windows.h>

using namespace torvalink;

namespace {

// Long enough that the description lives outside the record.
const Text LongDescription(200, L'x');

void FailWithLongDescription()
{
    IgnoreFailures([] { return Failure(326, LongDescription); });
}

TEST(CurrentError, AReferenceStaysValidAcrossLaterCallsOnTheSameThread)
{
    FailWithLongDescription();
    const RaisedError& kept = CurrentError();
    ASSERT_EQ(kept.Number, 326);

    const long held = LiveAllocations();
    IgnoreFailures([] { return Status(); }); // clears
    EXPECT_EQ(LiveAllocations(), held) << "clearing freed the record the reference points at";
    EXPECT_EQ(&kept, &CurrentError());
    EXPECT_EQ(kept.Number, 0);
    EXPECT_EQ(kept.Description, L"");

    IgnoreFailures([] { return Failure(53, L"File not found"); });
    EXPECT_EQ(&kept, &CurrentError());
    EXPECT_EQ(kept.Number, 53);
    EXPECT_EQ(kept.Description, L"File not found");
}

DWORD WINAPI EndWithAnError(void*)
{
    FailWithLongDescription();
    return static_cast<DWORD>(CurrentError().Number);
}

TEST(CurrentError, AThreadThatEndsWithAnErrorLeavesNoRecordBehind)
{
    CurrentError(); // this thread's own record, which stays
    const long before = LiveAllocations();
    for (int i = 0; i < 20; ++i) {
        const HANDLE thread = CreateThread(nullptr, 0, EndWithAnError, nullptr, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        ASSERT_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0);
        DWORD number = 0;
        GetExitCodeThread(thread, &number);
        CloseHandle(thread);
        ASSERT_EQ(number, 326u);
    }
    EXPECT_EQ(LiveAllocations(), before);
}

// Memory runs out: error 7 is stored without asking for more, the result is
// empty, and the program goes on.
TEST(CurrentError, RunningOutOfMemoryIsError7)
{
    FailWithLongDescription(); // the record exists and has held a long text
    std::int32_t number = 0;
    bool saysOutOfMemory = false;
    bool empty = false;
    {
        const FailingAllocations nothing(1);
        const Text result = IgnoreFailures<Text>([](Text& text) -> Status {
            text.assign(1000, L'y');
            return {};
        });
        empty = result.empty();
        number = CurrentError().Number;
        saysOutOfMemory = CurrentError().Description == L"Out of memory";
    }
    EXPECT_TRUE(empty);
    EXPECT_EQ(number, 7);
    EXPECT_TRUE(saysOutOfMemory);
    EXPECT_EQ(CurrentError().Source, L"");
}

// A thread whose record has never held a text: it keeps room for the words.
DWORD WINAPI RunOutOfMemoryFirst(void*)
{
    CurrentError();
    const FailingAllocations nothing(1);
    IgnoreFailures<Text>([](Text& text) -> Status {
        text.assign(1000, L'y');
        return {};
    });
    return CurrentError().Number == 7 && CurrentError().Description == L"Out of memory" ? 1 : 0;
}

TEST(CurrentError, RunningOutOfMemoryFirstStillSaysSo)
{
    const HANDLE thread = CreateThread(nullptr, 0, RunOutOfMemoryFirst, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0);
    DWORD said = 0;
    GetExitCodeThread(thread, &said);
    CloseHandle(thread);
    EXPECT_EQ(said, 1u) << "error 7 with its description, stored without memory";
}

} // namespace
