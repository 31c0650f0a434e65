#include <torvalink/CResDll.h>
#include <torvalink/current_error.h>
#include "fixture_ids.h"
#include "number_text.h"
#include "print_text.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <climits>
#include <type_traits>

using namespace torvalink;

namespace {

// The length is only read: the compiler holds LoadDllString to that through
// the reference to const, which this keeps in the signature.
static_assert(std::is_same_v<decltype(&CResDll::LoadDllString), Text (CResDll::*)(std::int32_t, const std::int32_t&)>);

class TextResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        res.DllName(L"resource_fixture.dll");
        ASSERT_EQ(CurrentError().Number, 0);
    }

    // The 300 characters of the long fixture entry: 0, 10, ..., 290, ten digits each.
    static Text LongEntry()
    {
        Text text;
        for (std::uint32_t number = 0; number < 300; number += 10)
            AppendDecimal(text, number, 10);
        return text;
    }

    CResDll res;
};

TEST_F(TextResources, LoadDllStringCutsToLength)
{
    EXPECT_EQ(res.LoadDllString(FIXTURE_LONG_STRING_ID), LongEntry().substr(0, 255));
    EXPECT_EQ(CurrentError().Number, 0);

    EXPECT_EQ(res.LoadDllString(FIXTURE_SHORT_STRING_ID, 10), L"Hello, wor");
    const std::int32_t wide = 1000;
    EXPECT_EQ(res.LoadDllString(FIXTURE_LONG_STRING_ID, wide), LongEntry());
    EXPECT_EQ(res.LoadDllString(FIXTURE_SHORT_STRING_ID), L"Hello, world!");
}

TEST_F(TextResources, LoadDllStringKeepsSpaces)
{
    EXPECT_EQ(res.LoadDllString(FIXTURE_SPACED_STRING_ID), L"  spaced out  ");
}

TEST_F(TextResources, LoadDllStringMissingOrNoRoomGives326)
{
    EXPECT_EQ(res.LoadDllString(7), L"");
    EXPECT_EQ(CurrentError().Number, 326);
    EXPECT_EQ(CurrentError().Description, L"String resource with identifier 7 not found.");

    const std::int32_t none = 0;
    EXPECT_EQ(res.LoadDllString(FIXTURE_SHORT_STRING_ID, none), L"");
    EXPECT_EQ(CurrentError().Number, 326);
    EXPECT_EQ(CurrentError().Description, L"String resource with identifier 2 not found.");
}

TEST_F(TextResources, LoadDllStringRefusesLengthsWithoutABuffer)
{
    for (const std::int32_t length : {-1, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(length);
        EXPECT_EQ(res.LoadDllString(FIXTURE_SHORT_STRING_ID, length), L"");
        EXPECT_NE(CurrentError().Number, 0);
    }
}

TEST_F(TextResources, LoadDllTextKeepsZeroBytesAndLineEnds)
{
    const Text text = res.LoadDllText(FIXTURE_TEXT_ID);
    EXPECT_EQ(text, Text(L"AB\0C\n", 5));
    EXPECT_EQ(CurrentError().Number, 0);
}

TEST_F(TextResources, LoadDllTextOfAMissingResourceIsEmptyWithTheLookupError)
{
    EXPECT_EQ(res.LoadDllText(7), L"");
    EXPECT_EQ(CurrentError().Number, 326);
    EXPECT_EQ(CurrentError().Description, L"Custom resource with identifier 7 not found.");
}

TEST(GetDllURL, BuildsResAddresses)
{
    struct Case {
        const wchar_t* name;
        std::int16_t index;
        const wchar_t* resformat;
        const wchar_t* url;
    };
    const Text fullPath = BesideTestExe(L"resource_fixture.dll");
    const Case cases[] = {
        {L"resource_fixture.dll", 101, L"CUSTOM", L"RES://resource_fixture.dll/CUSTOM/101"},
        {L"resource_fixture.dll", 2, L" CUSTOM ", L"RES://resource_fixture.dll/CUSTOM/2"},
        {L"resource_fixture.dll", -1, L"CUSTOM", L"RES://resource_fixture.dll/CUSTOM/-1"},
        {L"resource_fixture.dll", 7, L"  ", L"RES://resource_fixture.dll//7"},
        {fullPath.c_str(), 2, L"CUSTOM", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CResDll res;
        res.DllName(c.name);
        const Text expected = c.url ? c.url : L"RES://" + fullPath + L"/CUSTOM/2"; // unescaped
        EXPECT_EQ(res.GetDllURL(c.index, c.resformat), expected);
        EXPECT_EQ(CurrentError().Number, 0);
    }
    CResDll res;
    res.DllName(L"resource_fixture.dll");
    EXPECT_EQ(res.GetDllURL(101), L"RES://resource_fixture.dll/CUSTOM/101");
}

TEST(GetDllURL, EmptyWhenUnboundOrTheNameIsTooLong)
{
    CResDll unbound;
    unbound.DllName(L"missing.dll");
    EXPECT_EQ(unbound.GetDllURL(101), L"");
    EXPECT_EQ(CurrentError().Number, 0) << "GetDllURL clears the error of the failed bind";

    // Names of 256 and 257 characters that still load the fixture: its full
    // path lengthened with "x\..\" and ".\" steps, which the platform folds away.
    const Text fixture = BesideTestExe(L"resource_fixture.dll");
    const std::size_t folder = fixture.find_last_of(L'\\') + 1;
    const auto nameOfLength = [&](std::size_t length) {
        Text steps = (length - fixture.size()) % 2 ? L"x\\..\\" : L"";
        while (fixture.size() + steps.size() < length)
            steps += L".\\";
        return fixture.substr(0, folder) + steps + fixture.substr(folder);
    };
    for (const std::size_t length : {std::size_t(256), std::size_t(257)}) {
        SCOPED_TRACE(length);
        const Text name = nameOfLength(length);
        ASSERT_EQ(name.size(), length);
        CResDll res;
        res.DllName(name);
        ASSERT_EQ(res.DllName(), name) << "the long name must bind";
        EXPECT_EQ(res.GetDllURL(101).empty(), length > 256);
    }
}

// How long a wave resource plays: the size of its data at its format's byte rate.
std::uint32_t PlayingTimeMs(const ByteBuffer& wave)
{
    const auto number = [&](std::size_t at, std::size_t size) {
        std::uint32_t value = 0;
        for (std::size_t i = size; i-- > 0;)
            value = value << 8 | (at + i < wave.size() ? wave[at + i] : 0);
        return value;
    };
    std::uint32_t byteRate = 0, dataSize = 0;
    for (std::size_t chunk = 12; chunk + 8 <= wave.size(); chunk += 8 + number(chunk + 4, 4)) {
        const std::string id(wave.begin() + chunk, wave.begin() + chunk + 4);
        if (id == "fmt ")
            byteRate = number(chunk + 16, 4);
        else if (id == "data")
            dataSize = number(chunk + 4, 4);
    }
    return byteRate ? static_cast<std::uint32_t>(std::uint64_t(dataSize) * 1000 / byteRate) : 0;
}

// PlayWave starts the sound and returns while it plays. No measure of its
// speed: the bound is half the sound's own playing time, seconds, which only a
// call that waited for the sound to end would reach. (Where no sound device
// works, as under the tests' Wine, such a call fails at once instead.)
TEST(PlayWave, StartsASoundAndReturnsWhileItPlays)
{
    CResDll res;
    res.DllName(L"resource_fixture.dll");
    const std::uint32_t playingTimeMs = PlayingTimeMs(res.LoadDllData(FIXTURE_SOUND_ID, L"WAVE"));
    ASSERT_EQ(playingTimeMs, 4000u);
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(res.PlayWave(FIXTURE_SOUND_ID));
    EXPECT_LT(GetTickCount64() - start, playingTimeMs / 2) << "PlayWave must not wait for the sound to end";
    // Rebinding stops the sound before the library it plays from goes.
    res.DllName(L"resource_fixture.dll");
    EXPECT_EQ(CurrentError().Number, 0);
}

} // namespace
