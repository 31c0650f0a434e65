// The FileSystemObject wrapper against the real Scripting Runtime: its failures
// come with the classic numbers, and with their texts where it gives none.

#include "file_system_object.h"
#include <torvalink/handles.h>
#include "print_text.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

#include <objbase.h>

using namespace torvalink;

namespace {

class FileSystemObjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        ASSERT_EQ(fso.Create().Number(), 0);
    }
    void TearDown() override
    {
        fso = FileSystemObject();
        CoUninitialize();
    }

    ScratchDir dir;
    FileSystemObject fso;
};

TEST_F(FileSystemObjectTest, FailuresCarryTheClassicNumberAndText)
{
    const Text existing = dir / L"existing.bin", other = dir / L"other.bin", locked = dir / L"locked.bin";
    WriteFileBytes(existing, ByteBuffer(4, 0x11));
    WriteFileBytes(other, ByteBuffer(4, 0x22));
    WriteFileBytes(locked, ByteBuffer(4, 0x33));
    ASSERT_TRUE(SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY));

    struct Case {
        const char* what;
        Status status;
        std::int32_t number;
        const wchar_t* description;
    };
    const Case cases[] = {
        {"delete a missing file", fso.DeleteFile(dir / L"missing.bin", true), 53, L"File not found"},
        {"copy onto a file without overwrite", fso.CopyFile(existing, other, false), 58, L"File already exists"},
        {"copy into a missing folder", fso.CopyFile(existing, dir / L"missing\\x.bin", true), 76, L"Path not found"},
        {"delete a read-only file without force", fso.DeleteFile(locked, false), 70, L"Permission denied"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.status.Number(), c.number);
        EXPECT_EQ(c.status.Error().Description, c.description);
    }
    EXPECT_EQ(ReadFileBytes(other), ByteBuffer(4, 0x22));
    EXPECT_TRUE(FileExists(locked));
}

TEST_F(FileSystemObjectTest, OperationsThatWorkReportNothing)
{
    const Text source = dir / L"source.bin", copy = dir / L"copy.bin";
    WriteFileBytes(source, ByteBuffer(4, 0x44));
    bool exists = false;
    EXPECT_EQ(fso.CopyFile(source, copy, true).Number(), 0);
    EXPECT_EQ(fso.FileExists(copy, exists).Number(), 0);
    EXPECT_TRUE(exists);
    EXPECT_EQ(fso.DeleteFile(copy, true).Number(), 0);
    EXPECT_EQ(fso.FileExists(copy, exists).Number(), 0);
    EXPECT_FALSE(exists);
}

} // namespace
