#include <torvalink/CResDll.h>
#include <torvalink/current_error.h>
#include "fixture_ids.h"
#include <torvalink/handles.h>
#include "test_overrides.h"
#include "pattern.h"
#include "print_text.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace torvalink;

namespace {

class BoundToFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        res.DllName(L"resource_fixture.dll");
        ASSERT_EQ(CurrentError().Number, 0) << "the fixture library must load";
    }

    CResDll res;
    const ByteBuffer custom = Pattern(FIXTURE_CUSTOM_SIZE, FIXTURE_CUSTOM_SEED);
};

using LoadDllData = BoundToFixture;

TEST_F(LoadDllData, CopiesTheResourceByteForByteFromIndexZero)
{
    const ByteBuffer bytes = res.LoadDllData(FIXTURE_CUSTOM_ID, L"CUSTOM");
    ASSERT_EQ(bytes.size(), custom.size());
    EXPECT_EQ(bytes.front(), custom.front());
    EXPECT_EQ(bytes, custom);
    EXPECT_EQ(CurrentError().Number, 0);
}

// The fixture has a resource of another type under the same identifier.
TEST_F(LoadDllData, DefaultTypeIsCustom)
{
    EXPECT_EQ(res.LoadDllData(FIXTURE_CUSTOM_ID), custom);
    EXPECT_EQ(CurrentError().Number, 0);
}

TEST_F(LoadDllData, TellsTypesApartForTheSameIdentifier)
{
    EXPECT_EQ(res.LoadDllData(FIXTURE_CUSTOM_ID, L"OTHERDATA"),
              Pattern(FIXTURE_OTHER_TYPE_SIZE, FIXTURE_OTHER_TYPE_SEED));
}

TEST_F(LoadDllData, MissingResourceGivesEmptyBufferAndError326)
{
    struct Case {
        std::int32_t index;
        const wchar_t* type;
        const wchar_t* description;
    };
    const Case cases[] = {
        {7, L"CUSTOM", L"Custom resource with identifier 7 not found."},
        {FIXTURE_CUSTOM_ID, L"NOSUCHTYPE", L"Custom resource with identifier 101 not found."},
        {-3, L"CUSTOM", L"Custom resource with identifier -3 not found."},
        {0, L"CUSTOM", L"Custom resource with identifier 0 not found."},
        // Beyond 16 bits the value would be read as a pointer to a name.
        {70000, L"CUSTOM", L"Custom resource with identifier 70000 not found."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        EXPECT_TRUE(res.LoadDllData(c.index, c.type).empty());
        EXPECT_EQ(CurrentError().Number, 326);
        EXPECT_EQ(CurrentError().Description, c.description);
        EXPECT_EQ(CurrentError().Source, L"");
    }
}

TEST_F(LoadDllData, EmptyResourceGivesEmptyBufferWithoutError)
{
    res.DllName(L"missing.dll"); // leaves an error behind, which the next call clears
    res.DllName(L"resource_fixture.dll");
    EXPECT_TRUE(res.LoadDllData(FIXTURE_EMPTY_ID).empty());
    EXPECT_EQ(CurrentError().Number, 0);
}

TEST_F(LoadDllData, SuccessClearsAnEarlierError)
{
    (void)res.LoadDllData(7);
    ASSERT_EQ(CurrentError().Number, 326);
    (void)res.LoadDllData(FIXTURE_CUSTOM_ID);
    EXPECT_EQ(CurrentError().Number, 0);
}

class SaveDllData : public BoundToFixture {
protected:
    ScratchDir dir;
    const Text target = dir / L"payload.bin";
};

TEST_F(SaveDllData, WritesTheResourceByteForByte)
{
    EXPECT_EQ(res.SaveDllData(FIXTURE_CUSTOM_ID, target), 0);
    EXPECT_EQ(ReadFileBytes(target), custom);
}

TEST_F(SaveDllData, UnboundObjectWritesTheExecutablesOwnResource)
{
    CResDll unbound;
    EXPECT_EQ(unbound.SaveDllData(FIXTURE_CUSTOM_ID, target, L"CUSTOM", true), 0);
    EXPECT_EQ(ReadFileBytes(target), Pattern(FIXTURE_EXE_CUSTOM_SIZE, FIXTURE_EXE_CUSTOM_SEED));
}

TEST_F(SaveDllData, ReplacesALongerFileInsteadOfWritingIntoIt)
{
    WriteFileBytes(target, ByteBuffer(FIXTURE_CUSTOM_SIZE * 3, 0xEE));
    EXPECT_EQ(res.SaveDllData(FIXTURE_CUSTOM_ID, target), 0);
    EXPECT_EQ(ReadFileBytes(target), custom);
}

TEST_F(SaveDllData, ExistingTargetWithoutOverwriteGives58AndChangesNothing)
{
    const ByteBuffer before(10, 0x5A);
    WriteFileBytes(target, before);
    (void)res.LoadDllData(7); // an error that only a lookup would clear
    EXPECT_EQ(res.SaveDllData(FIXTURE_CUSTOM_ID, target, L"CUSTOM", false), 58);
    EXPECT_EQ(ReadFileBytes(target), before);
    EXPECT_EQ(CurrentError().Number, 326) << "the resource must not have been looked up";
}

TEST_F(SaveDllData, MissingResourceDeletesTheTargetAndGives326)
{
    WriteFileBytes(target, ByteBuffer(10, 0x5A));
    EXPECT_EQ(res.SaveDllData(7, target), 326);
    EXPECT_FALSE(FileExists(target));
}

TEST_F(SaveDllData, EmptyResourceGives326AndWritesNothing)
{
    EXPECT_EQ(res.SaveDllData(FIXTURE_EMPTY_ID, target), 326);
    EXPECT_FALSE(FileExists(target));
}

TEST_F(SaveDllData, NegativeIndexIsWidenedAndNotFound)
{
    EXPECT_EQ(res.SaveDllData(-1, target), 326);
    EXPECT_EQ(CurrentError().Description, L"Custom resource with identifier -1 not found.");
}

TEST_F(SaveDllData, FileLayerFailuresGiveTheClassicNumbersAndLeaveTheTargetAlone)
{
    const Text sub = dir / L"sub";
    ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
    const Text readOnly = dir / L"read-only.bin", inUse = dir / L"in-use.bin";
    const ByteBuffer keep(10, 0x5A);
    WriteFileBytes(readOnly, keep);
    ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    WriteFileBytes(inUse, keep);
    // Open without delete sharing, as a file in use is.
    const UniqueFile held(CreateFileW(inUse.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);

    struct Case {
        Text path;
        std::int32_t result;
    };
    const Case cases[] = {
        {dir / L"no such dir\\payload.bin", 76}, // Path not found
        {sub, 70},                               // a directory: Permission denied
        {readOnly, 70},
        {inUse, 70},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        EXPECT_EQ(res.SaveDllData(FIXTURE_CUSTOM_ID, c.path), c.result);
    }
    EXPECT_FALSE(FileExists(dir / L"no such dir"));
    EXPECT_TRUE(FileExists(sub));
    EXPECT_EQ(ReadFileBytes(readOnly), keep);
    EXPECT_EQ(ReadFileBytes(inUse), keep);
}

TEST_F(SaveDllData, RefusesAWildcardOrZeroInThePathWith52AndTouchesNothing)
{
    const ByteBuffer keep(10, 0x5A);
    WriteFileBytes(dir / L"a.bin", keep);
    WriteFileBytes(dir / L"b.bin", keep);
    const Text withZero = dir / Text(L"a.bin\0x", 7);
    for (const Text& path : {dir / L"*.bin", dir / L"?.bin", withZero}) {
        SCOPED_TRACE(testing::PrintToString(path));
        for (bool overwrite : {true, false}) {
            EXPECT_EQ(res.SaveDllData(FIXTURE_CUSTOM_ID, path, L"CUSTOM", overwrite), 52);
            EXPECT_EQ(ReadFileBytes(dir / L"a.bin"), keep);
            EXPECT_EQ(ReadFileBytes(dir / L"b.bin"), keep);
        }
    }
}

// Characters that code page 1252 lacks, and the look-alikes that Windows would put in.
struct LookAlike {
    const wchar_t* name;
    const wchar_t* lookAlike; // null: none that a file could have
};
const LookAlike lookAlikes[] = {
    {L"\u0141ukasz", L"Lukasz"},
    {L"sub\uff3cbf", L"sub\\bf"},
    {L"a\uff0eb", L"a.b"},
    {L"\u4e2d\u6587", nullptr},
};

// On the NT family the name reaches the system as it is: the file is written
// under it, in a folder of such a name too, and never under the look-alike.
TEST_F(SaveDllData, WritesUnderANameTheCodePageCannotHoldAndNeverUnderItsLookAlike)
{
    const ByteBuffer keep(10, 0x5A);
    CreateDirectoryW((dir / L"sub").c_str(), nullptr); // "sub\bf" needs its folder
    for (const LookAlike& c : lookAlikes) {
        SCOPED_TRACE(testing::PrintToString(Text(c.name)));
        if (c.lookAlike)
            WriteFileBytes(dir / c.lookAlike, keep);
        EXPECT_EQ(res.SaveDllData(FIXTURE_CUSTOM_ID, dir / c.name), 0);
        EXPECT_EQ(ReadFileBytes(dir / c.name), custom);
        if (c.lookAlike) {
            EXPECT_EQ(ReadFileBytes(dir / c.lookAlike), keep);
        }

        const Text folder = dir / c.name + L".folder";
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        // Twice: the second time over the file that the first wrote.
        for (int time = 0; time < 2; ++time) {
            EXPECT_EQ(res.SaveDllData(FIXTURE_CUSTOM_ID, folder + L"\\payload.bin"), 0);
            EXPECT_EQ(ReadFileBytes(folder + L"\\payload.bin"), custom);
        }
    }
}

// Windows 95, 98 and Me take names in the code page only: a name that it
// cannot hold is a bad file name there, and no look-alike is written instead.
TEST_F(SaveDllData, OnWindows9xANameTheCodePageCannotHoldGives52)
{
    const KernelFunctionsOverride ansiOnly(nullptr);
    const ByteBuffer keep(10, 0x5A);
    CreateDirectoryW((dir / L"sub").c_str(), nullptr);
    for (const LookAlike& c : lookAlikes) {
        SCOPED_TRACE(testing::PrintToString(Text(c.name)));
        if (c.lookAlike)
            WriteFileBytes(dir / c.lookAlike, keep);
        // In a folder that exists, and in one that does not.
        EXPECT_EQ(res.SaveDllData(FIXTURE_CUSTOM_ID, dir / c.name), ErrBadFileName);
        EXPECT_EQ(res.SaveDllData(FIXTURE_CUSTOM_ID, dir / c.name + L"\\payload.bin"), ErrBadFileName);
        EXPECT_FALSE(FileExists(dir / c.name));
        if (c.lookAlike) {
            EXPECT_EQ(ReadFileBytes(dir / c.lookAlike), keep);
        }
    }
    // What the code page holds is written as on the NT family.
    EXPECT_EQ(res.SaveDllData(FIXTURE_CUSTOM_ID, dir / L"\u00e9t\u00e9.bin"), 0);
    EXPECT_EQ(ReadFileBytes(dir / L"\u00e9t\u00e9.bin"), custom);
}

// Another writer keeps moving a longer file to the target whenever there is
// none, also between the deletion and the opening of the target. Whenever the
// save reports success, the target holds exactly the resource: the writer
// cannot put a file there while the saved one stands.
TEST_F(SaveDllData, SuccessMeansExactlyTheResourceAlsoWhenAnotherWriterPutsAFileThere)
{
    const Text longer = dir / L"longer.bin";
    std::atomic<bool> stop{false};
    std::atomic<int> moved{0};
    std::thread writer([&] {
        while (!stop) {
            if (!FileExists(longer))
                WriteFileBytes(longer, ByteBuffer(FIXTURE_CUSTOM_SIZE * 2, 0xEE));
            if (MoveFileW(longer.c_str(), target.c_str()))
                ++moved;
        }
    });
    int saved = 0;
    for (int round = 0; round < 300; ++round) {
        if (res.SaveDllData(FIXTURE_CUSTOM_ID, target) != 0)
            continue;
        ++saved;
        EXPECT_TRUE(ReadFileBytes(target) == custom) << "round " << round;
        DeleteFileW(target.c_str());
    }
    stop = true;
    writer.join();
    EXPECT_GT(saved, 0);
    EXPECT_GT(moved, 0);
}

TEST_F(SaveDllData, ClosesTheFileItWrote)
{
    ASSERT_EQ(res.SaveDllData(FIXTURE_CUSTOM_ID, target), 0);
    // An exclusive open fails while any handle to the file is still open.
    const HANDLE exclusive =
        CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
    CloseHandle(exclusive);
}

} // namespace
