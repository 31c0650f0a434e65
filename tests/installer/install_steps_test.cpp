// InstallPayload in the test executable, which carries a versioned library as
// its payload resource (CUSTOM 101), with file operations that record what
// they were asked to do.

#include <torvalink/CResDll.h>
#include "failures.h"
#include <torvalink/handles.h>
#include "install_steps.h"
#include "modRegisterDll.h"
#include "test_overrides.h"
#include "print_text.h"
#include "recorded_messages.h"
#include "scratch_dir.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
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
        return CopyFileW(source.c_str(), destination.c_str(), FALSE) ? Status() : LastFileFailure();
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

// The names given to the system's W functions, recorded on their way.
std::vector<Text> NamesGiven;

HANDLE WINAPI RecordCreateFile(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE model)
{
    NamesGiven.push_back(name);
    return CreateFileW(name, access, share, security, disposition, flags, model);
}
BOOL WINAPI RecordDeleteFile(LPCWSTR name)
{
    NamesGiven.push_back(name);
    return DeleteFileW(name);
}
BOOL WINAPI RecordCopyFile(LPCWSTR source, LPCWSTR destination, BOOL failIfExists)
{
    NamesGiven.push_back(source);
    NamesGiven.push_back(destination);
    return CopyFileW(source, destination, failIfExists);
}
HANDLE WINAPI RecordFindFirstFile(LPCWSTR name, LPWIN32_FIND_DATAW found)
{
    NamesGiven.push_back(name);
    return FindFirstFileW(name, found);
}
HMODULE WINAPI RecordLoadLibraryEx(LPCWSTR name, HANDLE file, DWORD flags)
{
    NamesGiven.push_back(name);
    return LoadLibraryExW(name, file, flags);
}

// The system's table, with the calls that take names recorded.
KernelFunctions RecordingTable()
{
    KernelFunctions table = LookUpKernelFunctions();
    table.CreateFileW = RecordCreateFile;
    table.DeleteFileW = RecordDeleteFile;
    table.CopyFileW = RecordCopyFile;
    table.FindFirstFileW = RecordFindFirstFile;
    table.LoadLibraryExW = RecordLoadLibraryEx;
    return table;
}

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
    const InstallOutcome run = InstallPayload(resources, target, temporary, files);
    const Status& status = run.failure;
    EXPECT_EQ(status.Number(), 0) << testing::PrintToString(status.Error().Description);
    EXPECT_EQ(run.result, RegistrationEntryMissing) << "what the registration came to";
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
        bool windows9x = false; // the A functions
    };
    const Case cases[] = {
        {"a read-only file at the temporary path", temporary, true, 70, L"Permission denied"},
        {"a temporary folder that does not exist", dir / L"missing\\temporary.ocx", false, 76, L"Path not found"},
        {"a path the code page cannot hold, on Windows 9x", dir / L"\u0141\\temporary.ocx", false, 52,
         L"Bad file name or number", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        files.calls.clear();
        const std::unique_ptr<KernelFunctionsOverride> ansiOnly(c.windows9x ? new KernelFunctionsOverride(nullptr)
                                                                            : nullptr);
        if (c.readOnly) {
            WriteFileBytes(c.temporary, planted);
            ASSERT_TRUE(SetFileAttributesW(c.temporary.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        CResDll resources;
        const InstallOutcome run = InstallPayload(resources, target, c.temporary, files);
        const Status& status = run.failure;
        EXPECT_EQ(run.result, S_OK) << "the failure tells, not the outcome";
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

// The copy over the installed file fails: the run goes on and registers the
// old file again, but its outcome is the copy's failure, as an HRESULT.
TEST_F(InstallPayloadTest, AFailedCopyIsTheOutcomeAlthoughTheRunGoesOn)
{
    const ByteBuffer old(32, 0x11); // no version: older than any
    WriteFileBytes(target, old);
    const UniqueFile inUse(
        CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(inUse);
    CResDll resources;
    const InstallOutcome run = InstallPayload(resources, target, temporary, files);
    const Status& status = run.failure;
    EXPECT_EQ(status.Number(), 0);
    EXPECT_EQ(run.result, static_cast<HRESULT>(0x800A0046)) << "70, Permission denied";
    EXPECT_EQ(files.calls, (std::vector<Text>{L"exists", L"exists", L"copy", L"delete"}));
    EXPECT_TRUE(ReadFileBytes(target) == old);
    EXPECT_FALSE(FileExists(target + L".kept")) << "nothing to put back: the copy kept goes";
    // The old file is no library: the runner says so, unregistering it and
    // registering it again, and the copy's failure stays the outcome.
    ASSERT_EQ(RecordedMessages().size(), 2u);
    EXPECT_EQ(RecordedMessages()[0].prompt, L"Errore caricando la DLL");
    EXPECT_EQ(RecordedMessages()[1].prompt, L"Errore caricando la DLL");
}

// Only the bytes that the save wrote are installed: a temporary file that
// another process changed since, by a tail or by its last byte alone, or took
// away, is refused; one that holds them is held against changes.
TEST_F(InstallPayloadTest, HoldsOnlyATemporaryFileWithExactlyTheBytesSaved)
{
    const ResourceBytes saved{carried.data(), static_cast<std::uint32_t>(carried.size())};
    ByteBuffer tail = carried, last = carried;
    tail.push_back(carried.back());
    last.back() ^= 0xFF;
    struct Case {
        const char* what;
        const ByteBuffer* bytes; // null: no file
        std::int32_t number;
    };
    for (const Case& c : {Case{"the bytes saved", &carried, 0}, Case{"with a tail", &tail, 75},
                          Case{"another last byte", &last, 75}, Case{"no file", nullptr, 53}}) {
        SCOPED_TRACE(c.what);
        DeleteFileW(temporary.c_str());
        if (c.bytes)
            WriteFileBytes(temporary, *c.bytes);
        UniqueFile held;
        const Status status = HoldPayload(temporary, saved, held);
        EXPECT_EQ(status.Number(), c.number);
        if (c.number == 75) {
            EXPECT_EQ(status.Error().Description, L"Path/File access error");
        }
        if (c.number == 0) {
            EXPECT_FALSE(DeleteFileW(temporary.c_str())) << "held";
        }
    }
}

// Folders whose names code page 1252 cannot hold: every name reaches the
// system as it is, so no short (8.3) name is needed, which many volumes do not
// have (Wine makes them always: the recording shows that none is used).
TEST_F(InstallPayloadTest, InstallsBetweenFoldersTheCodePageCannotHoldUnderTheirOwnNames)
{
    const Text temporaryFolder = dir / L"\u4e2d\u6587", targetFolder = dir / L"\u0141ukasz";
    ASSERT_TRUE(CreateDirectoryW(temporaryFolder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(targetFolder.c_str(), nullptr));
    const Text temporaryFile = temporaryFolder + L"\\TORVALINK.ocx", targetFile = targetFolder + L"\\TORVALINK.ocx";
    NamesGiven.clear();
    Status status;
    {
        const KernelFunctions recordingTable = RecordingTable();
        const KernelFunctionsOverride recording(&recordingTable);
        CResDll resources;
        InstallOutcome run = InstallPayload(resources, targetFile, temporaryFile, files);
        EXPECT_EQ(run.result, RegistrationEntryMissing);
        status = std::move(run.failure);
    }
    EXPECT_EQ(status.Number(), 0) << testing::PrintToString(status.Error().Description);
    EXPECT_TRUE(ReadFileBytes(targetFile) == carried);
    EXPECT_FALSE(FileExists(temporaryFile));
    ASSERT_EQ(RecordedMessages().size(), 1u);
    EXPECT_EQ(RecordedMessages()[0].prompt, L"Registrazione fallita EntryPoint mancante '" + targetFile + L"'.");
    // Searched, written, checked and mapped for its version under its name; the
    // target loaded under its own.
    const std::vector<Text> expected = {temporaryFile, temporaryFile, temporaryFile, temporaryFile, targetFile};
    std::vector<Text> ours;
    for (const Text& name : NamesGiven)
        if (name.find(L'\\') != Text::npos) // not a system library loaded by its bare name
            ours.push_back(name);
    EXPECT_EQ(ours, expected);
}

} // namespace
