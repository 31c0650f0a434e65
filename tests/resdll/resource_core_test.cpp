// The work behind CResDll: resources found where the module keeps them, saved
// from there, and the failures that only a damaged library or a failing
// platform gives.

#include "allocation_hooks.h"
#include "fixture_ids.h"
#include "pattern.h"
#include "resource_core.h"
#include "scratch_dir.h"

#include <torvalink/current_error.h>
#include <torvalink/handles.h>

#include <gtest/gtest.h>

#include <cstring>

using namespace torvalink;

namespace {

TEST(ResourceCore, FindsTheBytesInsideTheModuleAndSavesThoseVeryBytes)
{
    const UniqueModule module(LoadLibraryW(L"resource_fixture.dll"));
    ASSERT_TRUE(module);
    ResourceBytes found;
    ASSERT_EQ(FindResourceBytes(module.get(), FIXTURE_CUSTOM_ID, L"CUSTOM", found).Number(), 0);
    ASSERT_EQ(found.size, static_cast<std::uint32_t>(FIXTURE_CUSTOM_SIZE));
    const ByteBuffer custom = Pattern(FIXTURE_CUSTOM_SIZE, FIXTURE_CUSTOM_SEED);
    EXPECT_EQ(std::memcmp(found.data, custom.data(), custom.size()), 0);
    MEMORY_BASIC_INFORMATION region{};
    ASSERT_TRUE(VirtualQuery(found.data, &region, sizeof region));
    EXPECT_EQ(region.AllocationBase, module.get()) << "a view of the module, not a copy";

    ScratchDir dir;
    ResourceBytes saved;
    ASSERT_EQ(SaveResource(module.get(), FIXTURE_CUSTOM_ID, L"CUSTOM", dir / L"saved.bin", false, saved).Number(), 0);
    EXPECT_EQ(saved.data, found.data) << "written from where the module keeps it";
    EXPECT_EQ(saved.size, found.size);
    EXPECT_EQ(ReadFileBytes(dir / L"saved.bin"), custom);
}

// Another process puts a second name of its own file at the path between the
// save's deletion and its creation of the file: the save fails with "File
// already exists" instead of writing through the link, and the other file
// keeps its bytes. Once more with the link there before the save: its
// deletion removes the name only.
TEST(ResourceCore, TheSaveNeverWritesThroughANameThatAnotherFileGotMeanwhile)
{
    ScratchDir dir;
    const Text other = dir / L"other.bin", path = dir / L"saved.bin";
    const ByteBuffer otherBytes(64, 0x5A);
    WriteFileBytes(other, otherBytes);
    const ByteBuffer payload = Pattern(FIXTURE_CUSTOM_SIZE, FIXTURE_CUSTOM_SEED);
    const ResourceBytes bytes{payload.data(), static_cast<std::uint32_t>(payload.size())};

    ASSERT_TRUE(CreateHardLinkW(path.c_str(), other.c_str(), nullptr));
    ASSERT_EQ(ClearWayForNewFile(path, true).Number(), 0);
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(ReadFileBytes(other), otherBytes);
    ASSERT_TRUE(CreateHardLinkW(path.c_str(), other.c_str(), nullptr)) << "the name is free again";
    const Status status = WriteNewFile(path, bytes);
    EXPECT_EQ(status.Number(), 58);
    EXPECT_EQ(status.Error().Description, L"File already exists");
    EXPECT_EQ(ReadFileBytes(other), otherBytes);

    ResourceBytes saved;
    ASSERT_EQ(SaveResource(nullptr, FIXTURE_CUSTOM_ID, L"CUSTOM", path, true, saved).Number(), 0);
    EXPECT_EQ(ReadFileBytes(path), Pattern(FIXTURE_EXE_CUSTOM_SIZE, FIXTURE_EXE_CUSTOM_SEED));
    EXPECT_EQ(ReadFileBytes(other), otherBytes);
}

// What was opened must be an ordinary file with one name before anything is
// written to it.
TEST(ResourceCore, OnlyAFileWithOneNameCountsAsTheSavesOwn)
{
    ScratchDir dir;
    const Text file = dir / L"file.bin", second = dir / L"second.bin";
    WriteFileBytes(file, ByteBuffer(4, 1));
    const auto check = [](const Text& path, DWORD flags) {
        const UniqueFile opened(
            CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, flags, nullptr));
        return opened ? CheckOnlyName(opened.get()).Number() : -1;
    };
    EXPECT_EQ(check(file, 0), 0);
    ASSERT_TRUE(CreateHardLinkW(second.c_str(), file.c_str(), nullptr));
    EXPECT_EQ(check(file, 0), 75) << "a file with a second name";
    EXPECT_EQ(check(second, 0), 75);
    EXPECT_EQ(check(dir.Path(), FILE_FLAG_BACKUP_SEMANTICS), 75) << "a folder";
}

// Windows refuses such an address; Wine hands it out, and reading it would
// crash the caller.
TEST(ResourceCore, BytesSaidToLieOutsideTheModuleGive31037AndAreNeverRead)
{
    const UniqueModule module(LoadLibraryW(L"misplaced_resource.dll"));
    ASSERT_TRUE(module);
    ResourceBytes found{reinterpret_cast<const std::uint8_t*>(1), 1};
    const Status status = FindResourceBytes(module.get(), FIXTURE_CUSTOM_ID, L"CUSTOM", found);
    EXPECT_EQ(status.Number(), 31037);
    EXPECT_EQ(status.Error().Description, L"Error loading from file");
    EXPECT_EQ(found.data, nullptr);
    EXPECT_EQ(found.size, 0u);
    ResourceBytes other;
    EXPECT_EQ(FindResourceBytes(module.get(), FIXTURE_CUSTOM_ID, L"OTHERDATA", other).Number(), 0)
        << "the library's other resources stay readable";
}

TEST(ResourceCore, CResDllReportsMisplacedBytesAs31037AndSavesNothing)
{
    CResDll res;
    res.DllName(L"misplaced_resource.dll");
    ASSERT_EQ(CurrentError().Number, 0);
    EXPECT_TRUE(res.LoadDllData(FIXTURE_CUSTOM_ID).empty());
    EXPECT_EQ(CurrentError().Number, 31037);
    EXPECT_EQ(CurrentError().Description, L"Error loading from file");

    ScratchDir dir;
    const Text target = dir / L"saved.bin";
    WriteFileBytes(target, ByteBuffer(3, 0x55));
    EXPECT_EQ(res.SaveDllData(FIXTURE_CUSTOM_ID, target), 326);
    EXPECT_EQ(CurrentError().Number, 31037) << "why nothing was found";
    EXPECT_FALSE(FileExists(target)) << "the old file is deleted first, and nothing written";
}

HRESULT WINAPI RefusePicture(PICTDESC*, REFIID, BOOL, void** created)
{
    *created = nullptr;
    return E_OUTOFMEMORY;
}

TEST(ResourceCore, APictureThePlatformCannotMakeGives481AndDestroysTheImage)
{
    const HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    ASSERT_NE(bitmap, nullptr);
    PictureRef picture;
    const Status status =
        PictureFromImage(UniqueImage(bitmap, ImageDestroyer{IMAGE_BITMAP}), Bitmap, picture, RefusePicture);
    EXPECT_EQ(status.Number(), 481);
    EXPECT_EQ(status.Error().Description, L"Invalid Picture");
    EXPECT_EQ(picture, nullptr);
    EXPECT_EQ(GetObjectType(bitmap), 0u) << "the bitmap was left behind";
}

// The buffer, or the text made of it, cannot be had: error 7 like any other
// failure, an empty result, and the next call works again.
TEST(ResourceCore, CResDllReportsRunningOutOfMemoryAsError7AndGoesOn)
{
    CResDll res;
    res.DllName(L"resource_fixture.dll");
    ASSERT_EQ(CurrentError().Number, 0);
    struct Outcome {
        bool empty = false;
        std::int32_t number = 0;
        bool saysOutOfMemory = false;
    } data, text;
    {
        const FailingAllocations bufferFails(FIXTURE_CUSTOM_SIZE);
        data.empty = res.LoadDllData(FIXTURE_CUSTOM_ID).empty();
        data.number = CurrentError().Number;
        data.saysOutOfMemory = CurrentError().Description == L"Out of memory";
    }
    {
        // The bytes fit; the text, two bytes a character, does not.
        const FailingAllocations textFails(FIXTURE_CUSTOM_SIZE + 1);
        text.empty = res.LoadDllText(FIXTURE_CUSTOM_ID).empty();
        text.number = CurrentError().Number;
        text.saysOutOfMemory = CurrentError().Description == L"Out of memory";
    }
    EXPECT_TRUE(data.empty);
    EXPECT_EQ(data.number, 7);
    EXPECT_TRUE(data.saysOutOfMemory);
    EXPECT_TRUE(text.empty);
    EXPECT_EQ(text.number, 7);
    EXPECT_TRUE(text.saysOutOfMemory);

    EXPECT_EQ(res.LoadDllData(FIXTURE_CUSTOM_ID), Pattern(FIXTURE_CUSTOM_SIZE, FIXTURE_CUSTOM_SEED));
    EXPECT_EQ(CurrentError().Number, 0);
}

} // namespace
