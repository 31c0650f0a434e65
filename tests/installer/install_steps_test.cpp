// InstallPayload in the test executable, which carries a versioned library as
// its payload resource (CUSTOM 101), with file operations that record what
// they were asked to do.

#include "CResDll.h"
#include "install_steps.h"
#include "handles.h"
#include "print_text.h"
#include "recorded_messages.h"
#include "scratch_dir.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <vector>

using namespace torvalink;

namespace {

// Plain file operations, recorded. While the copy runs, it tries what another
// process could do to the temporary file.
class RecordingFiles final : public InstallFiles {
public:
    struct Attempts {
        DWORD write = 0, remove = 0, replace = 0, read = 0; // the error of each, 0 when it worked
    };

    std::vector<Text> calls;
    Attempts duringCopy;
    Text replacement;

    Status Exists(const Text& path, bool& exists) override
    {
        calls.push_back(L"exists");
        exists = FileExists(path);
        return {};
    }
    Status Copy(const Text& source, const Text& destination) override
    {
        calls.push_back(L"copy");
        duringCopy.write =
            Attempt(CreateFileW(source.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
        duringCopy.remove = DeleteFileW(source.c_str()) ? 0 : GetLastError();
        duringCopy.replace =
            MoveFileExW(replacement.c_str(), source.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : GetLastError();
        duringCopy.read = Attempt(CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
        return CopyFileW(source.c_str(), destination.c_str(), FALSE) ? Status() : Failure(1, L"copy failed");
    }
    Status Delete(const Text& path) override
    {
        calls.push_back(L"delete");
        return DeleteFileW(path.c_str()) ? Status() : Failure(2, L"delete failed");
    }

private:
    static DWORD Attempt(HANDLE file)
    {
        const DWORD error = file == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        return error;
    }
};

class InstallPayloadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearRecordedMessages();
        files.replacement = dir / L"replacement.bin";
        WriteFileBytes(files.replacement, ByteBuffer(8, 0x24));
    }

    ScratchDir dir;
    const Text target = dir / L"target.ocx", temporary = dir / L"temporary.ocx";
    const ByteBuffer carried = ReadFileBytes(BesideTestExe(L"version_1_0_0_23.dll"));
    RecordingFiles files;
};

TEST_F(InstallPayloadTest, NobodyElseCanChangeOrReplaceTheTemporaryFileUntilTheCopyHasFinished)
{
    CResDll resources;
    const Status status = InstallPayload(resources, target, temporary, files);
    EXPECT_EQ(status.Number(), 0) << testing::PrintToString(status.Error().Description);
    EXPECT_EQ(files.calls, (std::vector<Text>{L"exists", L"exists", L"copy", L"delete"}));
    EXPECT_EQ(files.duringCopy.write, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(files.duringCopy.remove, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(files.duringCopy.replace, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(files.duringCopy.read, 0u) << "reading it stays possible";
    EXPECT_TRUE(ReadFileBytes(target) == carried);
    // Given back before the deletion, which worked.
    EXPECT_FALSE(FileExists(temporary));
    // The library has no registration entry; the runner says so.
    ASSERT_EQ(RecordedMessages().size(), 1u);
    EXPECT_EQ(RecordedMessages()[0].prompt, L"Registrazione fallita EntryPoint mancante '" + target + L"'.");
}

TEST_F(InstallPayloadTest, StopsWithoutInstallingAnythingWhenTheSaveFails)
{
    const ByteBuffer planted(16, 0x24);
    struct Case {
        const char* what;
        Text temporary;
        bool readOnly;
        std::int32_t number;
        const wchar_t* description;
    };
    const Case cases[] = {
        {"a read-only file at the temporary path", temporary, true, 70, L"Permission denied"},
        {"a temporary folder that does not exist", dir / L"missing\\temporary.ocx", false, 76, L"Path not found"},
        {"a path the code page cannot hold", dir / L"\u0141\\temporary.ocx", false,
         HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION), L"No Unicode translation."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        files.calls.clear();
        if (c.readOnly) {
            WriteFileBytes(c.temporary, planted);
            ASSERT_TRUE(SetFileAttributesW(c.temporary.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        CResDll resources;
        const Status status = InstallPayload(resources, target, c.temporary, files);
        EXPECT_EQ(status.Number(), c.number);
        EXPECT_EQ(status.Error().Description, c.description);
        EXPECT_TRUE(files.calls.empty()) << "nothing is looked at, copied or deleted";
        EXPECT_FALSE(FileExists(target));
        if (c.readOnly) {
            EXPECT_TRUE(ReadFileBytes(c.temporary) == planted);
        }
    }
    EXPECT_TRUE(RecordedMessages().empty());
}

// The object reads another library here, so the file that the save leaves at
// the temporary path is not what the executable carries: it is not installed.
TEST_F(InstallPayloadTest, StopsWhenTheTemporaryFileDoesNotHoldTheCarriedBytes)
{
    CResDll resources;
    resources.DllName(L"resource_fixture.dll");
    const Status status = InstallPayload(resources, target, temporary, files);
    EXPECT_EQ(status.Number(), 75);
    EXPECT_EQ(status.Error().Description, L"Path/File access error");
    EXPECT_TRUE(files.calls.empty());
    EXPECT_FALSE(FileExists(target));
    EXPECT_TRUE(RecordedMessages().empty());
    // Given back: the file can be deleted now.
    EXPECT_TRUE(DeleteFileW(temporary.c_str()));
}

} // namespace
