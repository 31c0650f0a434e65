#include <torvalink/CResDll.h>
#include <torvalink/current_error.h>
#include "event_log.h"
#include "fixture_ids.h"
#include <torvalink/handles.h>
#include "test_overrides.h"
#include "pattern.h"
#include "print_text.h"
#include "scratch_dir.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <memory>

#include <string>
#include <string_view>

using namespace torvalink;

namespace {

// What the load tracer libraries recorded: "+a " when load_tracer_a.dll was
// loaded, "-a " when it was unloaded.
Text TracerEvents()
{
    return ReadFixtureLog(L"LOAD_TRACER_EVENTS").c_str();
}

class Binding : public ::testing::Test {
protected:
    void SetUp() override { SetEnvironmentVariableW(L"LOAD_TRACER_EVENTS", nullptr); }
    static bool IsLoaded(const wchar_t* name) { return GetModuleHandleW(name) != nullptr; }
};

TEST_F(Binding, NewObjectIsUnboundAndReadsTheRunningExecutable)
{
    CResDll res;
    EXPECT_EQ(res.DllName(), L"");
    EXPECT_EQ(res.LoadDllData(FIXTURE_CUSTOM_ID), Pattern(FIXTURE_EXE_CUSTOM_SIZE, FIXTURE_EXE_CUSTOM_SEED));
    EXPECT_EQ(CurrentError().Number, 0);
}

TEST_F(Binding, BindsToALibraryByNameAndReadsItsResources)
{
    CResDll res;
    res.DllName(L"resource_fixture.dll");
    EXPECT_EQ(CurrentError().Number, 0);
    EXPECT_EQ(res.DllName(), L"resource_fixture.dll");
    EXPECT_TRUE(IsLoaded(L"resource_fixture.dll"));
    EXPECT_EQ(res.LoadDllData(FIXTURE_CUSTOM_ID), Pattern(FIXTURE_CUSTOM_SIZE, FIXTURE_CUSTOM_SEED));
}

// Programs that hold their texts as standard wide strings pass them as they are.
TEST_F(Binding, TakesStandardWideStrings)
{
    CResDll res;
    res.DllName(std::wstring(L"resource_fixture.dll"));
    EXPECT_EQ(res.DllName(), L"resource_fixture.dll");
    EXPECT_EQ(res.LoadDllData(FIXTURE_CUSTOM_ID, std::wstring(L"CUSTOM")),
              Pattern(FIXTURE_CUSTOM_SIZE, FIXTURE_CUSTOM_SEED));
    EXPECT_EQ(res.GetDllURL(7, std::wstring_view(L" CUSTOM ")), L"RES://resource_fixture.dll/CUSTOM/7");
}

TEST_F(Binding, FailedBindReportsError48WithTheNameAsGiven)
{
    CResDll res;
    res.DllName(L"no such library 42.dll");
    EXPECT_EQ(CurrentError().Number, 48);
    EXPECT_EQ(CurrentError().Description, L"Error in loading DLL: no such library 42.dll");
    EXPECT_EQ(CurrentError().Source, L"");
    EXPECT_EQ(res.DllName(), L"");
}

// A name that code page 1252 cannot hold is not loaded under the look-alike
// that Windows would put in for it, even where a library of that name exists:
// on the NT family the name goes to the system as it is, on Windows 95, 98 and
// Me it names nothing.
TEST_F(Binding, NameTheCodePageCannotHoldIsNotLoadedAsALookAlike)
{
    ScratchDir dir;
    ASSERT_TRUE(CreateDirectoryW((dir / L"sub").c_str(), nullptr));
    struct Case {
        const wchar_t* name;
        const wchar_t* lookAlike; // null: none that a file could have
    };
    const Case cases[] = {
        {L"resfix\u0101.dll", L"resfixa.dll"}, {L"\u0141ib.dll", L"Lib.dll"},  {L"sub\uff3cfix.dll", L"sub\\fix.dll"},
        {L"fix\uff0edll", L"fix.dll"},         {L"\u4e2d\u6587.dll", nullptr},
    };
    for (const bool ansiOnly : {false, true}) {
        const std::unique_ptr<KernelFunctionsOverride> windows9x(ansiOnly ? new KernelFunctionsOverride(nullptr)
                                                                          : nullptr);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::PrintToString(Text(c.name)) + (ansiOnly ? " (A functions)" : " (W functions)"));
            if (c.lookAlike) {
                ASSERT_TRUE(
                    CopyFileW(BesideTestExe(L"resource_fixture.dll").c_str(), (dir / c.lookAlike).c_str(), FALSE));
            }
            CResDll res;
            res.DllName(dir / c.name);
            EXPECT_EQ(CurrentError().Number, 48);
            EXPECT_EQ(CurrentError().Description, L"Error in loading DLL: " + dir / c.name);
            EXPECT_EQ(res.DllName(), L"");
            // Unbound: it reads the running executable, not the look-alike.
            EXPECT_EQ(res.LoadDllData(FIXTURE_CUSTOM_ID), Pattern(FIXTURE_EXE_CUSTOM_SIZE, FIXTURE_EXE_CUSTOM_SEED));
        }
    }
}

TEST_F(Binding, LibraryUnderANameTheCodePageCannotHoldIsBoundReadAndFreed)
{
    ScratchDir dir;
    for (const wchar_t* folder : {L"\u0141ukasz", L"\u4e2d\u6587", L"sub\uff3cdir", L"a\uff0eb"}) {
        SCOPED_TRACE(testing::PrintToString(Text(folder)));
        const Text library = dir / folder + L"\\\u4e2d\u0141.dll";
        ASSERT_TRUE(CreateDirectoryW((dir / folder).c_str(), nullptr));
        ASSERT_TRUE(CopyFileW(BesideTestExe(L"resource_fixture.dll").c_str(), library.c_str(), FALSE));
        {
            CResDll res;
            res.DllName(library);
            EXPECT_EQ(CurrentError().Number, 0);
            EXPECT_EQ(res.DllName(), library) << "the name as given";
            EXPECT_EQ(res.LoadDllData(FIXTURE_CUSTOM_ID), Pattern(FIXTURE_CUSTOM_SIZE, FIXTURE_CUSTOM_SEED));
        }
        EXPECT_TRUE(DeleteFileW(library.c_str())) << "the library must have been freed";
    }
}

TEST_F(Binding, GettingTheNameLeavesCurrentErrorAlone)
{
    CResDll res;
    res.DllName(L"missing.dll");
    (void)res.DllName();
    EXPECT_EQ(CurrentError().Number, 48);
}

TEST_F(Binding, FailedRebindFreesTheOldLibraryAndFallsBackToTheExecutable)
{
    CResDll res;
    res.DllName(L"load_tracer_a.dll");
    res.DllName(L"missing.dll");
    EXPECT_EQ(TracerEvents(), L"+a -a ");
    EXPECT_EQ(res.DllName(), L"");
    EXPECT_EQ(res.LoadDllData(FIXTURE_CUSTOM_ID).size(), static_cast<size_t>(FIXTURE_EXE_CUSTOM_SIZE));
}

TEST_F(Binding, RebindFreesTheOldLibraryBeforeLoadingTheNewOne)
{
    CResDll res;
    res.DllName(L"load_tracer_a.dll");
    res.DllName(L"load_tracer_b.dll");
    EXPECT_EQ(TracerEvents(), L"+a -a +b ");
    EXPECT_EQ(res.DllName(), L"load_tracer_b.dll");
}

TEST_F(Binding, RebindingTheSameNameReloadsItAndHoldsOneReference)
{
    {
        CResDll res;
        res.DllName(L"load_tracer_a.dll");
        res.DllName(L"load_tracer_a.dll");
        EXPECT_EQ(TracerEvents(), L"+a -a +a ");
    }
    EXPECT_EQ(TracerEvents(), L"+a -a +a -a ");
    EXPECT_FALSE(IsLoaded(L"load_tracer_a.dll"));
}

TEST_F(Binding, SuccessfulBindAfterAFailureClearsTheError)
{
    CResDll res;
    res.DllName(L"missing.dll");
    ASSERT_EQ(CurrentError().Number, 48);
    res.DllName(L"resource_fixture.dll");
    EXPECT_EQ(CurrentError().Number, 0);
    EXPECT_EQ(CurrentError().Description, L"");
}

TEST_F(Binding, DestructionFreesTheLibraryExactlyOnce)
{
    // The test holds a reference of its own: a second FreeLibrary by the
    // object would take that one and unload the library early.
    const HMODULE own = LoadLibraryW(L"load_tracer_a.dll");
    ASSERT_NE(own, nullptr);
    {
        CResDll res;
        res.DllName(L"load_tracer_a.dll");
    }
    EXPECT_TRUE(IsLoaded(L"load_tracer_a.dll"));
    FreeLibrary(own);
    EXPECT_FALSE(IsLoaded(L"load_tracer_a.dll"));
    EXPECT_EQ(TracerEvents(), L"+a -a ");
}

DWORD WINAPI ReadCurrentErrorNumber(void* seen)
{
    *static_cast<std::int32_t*>(seen) = CurrentError().Number;
    return 0;
}

TEST_F(Binding, CurrentErrorBelongsToTheThread)
{
    CResDll res;
    res.DllName(L"missing.dll");
    ASSERT_EQ(CurrentError().Number, 48);

    std::int32_t seenByOtherThread = -1;
    const UniqueHandle thread(CreateThread(nullptr, 0, ReadCurrentErrorNumber, &seenByOtherThread, 0, nullptr));
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread.get(), INFINITE);
    EXPECT_EQ(seenByOtherThread, 0);
    EXPECT_EQ(CurrentError().Number, 48);
}

} // namespace
