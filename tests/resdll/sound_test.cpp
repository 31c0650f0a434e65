#include <torvalink/CResDll.h>
#include "event_log.h"
#include "fixture_ids.h"
#include "print_text.h"
#include "test_overrides.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

#include <string>

using namespace torvalink;

namespace {

// PlayWave against sound_recorder.dll in place of winmm.dll: it records each
// call, and for a stop whether resource_fixture.dll was still loaded.
class PlayWaveCalls : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetEnvironmentVariableW(L"SOUND_RECORDER_EVENTS", nullptr);
        recorder_ = LoadLibraryW(L"sound_recorder.dll");
        ASSERT_NE(recorder_, nullptr);
        OverrideSystemLibrary(RunTimeLibrary::Winmm, recorder_);
    }
    void TearDown() override
    {
        OverrideSystemLibrary(RunTimeLibrary::Winmm, nullptr);
        FreeLibrary(recorder_);
    }

    static std::wstring Events() { return ReadFixtureLog(L"SOUND_RECORDER_EVENTS"); }
    static std::wstring Played(int id)
    {
        return L"play(" + std::to_wstring(id) + L"," + std::to_wstring(SND_RESOURCE | SND_ASYNC) + L"):fixture ";
    }

private:
    HMODULE recorder_ = nullptr;
};

TEST_F(PlayWaveCalls, StartsTheBoundLibrarysWaveWithoutWaitingForIt)
{
    CResDll res;
    res.DllName(L"resource_fixture.dll");
    EXPECT_TRUE(res.PlayWave(FIXTURE_SOUND_ID));
    EXPECT_EQ(Events(), Played(FIXTURE_SOUND_ID));
}

TEST_F(PlayWaveCalls, StopsTheSoundBeforeTheLibraryGoes)
{
    {
        CResDll res;
        res.DllName(L"resource_fixture.dll");
        ASSERT_TRUE(res.PlayWave(FIXTURE_SOUND_ID));
        res.DllName(L"resource_fixture.dll"); // rebinding frees the library first
        EXPECT_EQ(Events(), Played(FIXTURE_SOUND_ID) + L"stop(0):fixture-loaded ");
        SetEnvironmentVariableW(L"SOUND_RECORDER_EVENTS", nullptr);
        ASSERT_TRUE(res.PlayWave(FIXTURE_SOUND_ID));
    }
    EXPECT_EQ(Events(), Played(FIXTURE_SOUND_ID) + L"stop(0):fixture-loaded ");
    EXPECT_EQ(GetModuleHandleW(L"resource_fixture.dll"), nullptr);
}

TEST_F(PlayWaveCalls, IdentifiersOutsideTheResourceRangeAreNotPlayed)
{
    CResDll res;
    res.DllName(L"resource_fixture.dll");
    EXPECT_FALSE(res.PlayWave(0));
    EXPECT_FALSE(res.PlayWave(65536));
    EXPECT_FALSE(res.PlayWave(-1));
    EXPECT_TRUE(res.PlayWave(65535)) << "the platform decides whether such a sound exists";
    EXPECT_EQ(Events(), Played(65535));
}

TEST(PlayWave, FalseWhenTheSoundLibraryHasNoPlaySound)
{
    const HMODULE withoutIt = LoadLibraryW(L"load_tracer_a.dll");
    ASSERT_NE(withoutIt, nullptr);
    OverrideSystemLibrary(RunTimeLibrary::Winmm, withoutIt);
    CResDll res;
    res.DllName(L"resource_fixture.dll");
    EXPECT_FALSE(res.PlayWave(FIXTURE_SOUND_ID));
    res.DllName(L""); // nothing to stop; must not call through a null pointer
    OverrideSystemLibrary(RunTimeLibrary::Winmm, nullptr);
    FreeLibrary(withoutIt);
}

} // namespace
