// The calls that take names, in both forms: the W functions of the NT family,
// and the A functions of Windows 95, 98 and Me, which the tests choose through
// the override.

#include "test_overrides.h"
#include "module_paths.h"
#include "named_files.h"
#include "print_text.h"
#include "scratch_dir.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <memory>

using namespace torvalink;

namespace {

enum class Form { Wide, Ansi };

struct Name {
    const wchar_t* text;
    bool inCodePage; // code page 1252, which the tests' Wine has
};
const Name Names[] = {
    {L"plain", true},         {L"\u00e9t\u00e9\u20ac", true}, {L"\u0141ukasz", false},
    {L"\u4e2d\u6587", false}, {L"sub\uff3cdir", false}, // a look-alike of the backslash
};

class NamedFiles : public ::testing::TestWithParam<Form> {
protected:
    void SetUp() override
    {
        if (GetParam() == Form::Ansi)
            ansiOnly = std::make_unique<KernelFunctionsOverride>(nullptr);
    }

    // Whether the form reaches a file of that name.
    bool Reaches(const Name& name) const { return GetParam() == Form::Wide || name.inCodePage; }

    ScratchDir dir;
    std::unique_ptr<KernelFunctionsOverride> ansiOnly;
};

INSTANTIATE_TEST_SUITE_P(BothForms, NamedFiles, ::testing::Values(Form::Wide, Form::Ansi),
                         [](const auto& info) { return info.param == Form::Wide ? "Wide" : "Ansi"; });

TEST_P(NamedFiles, FilesAreCreatedFoundCopiedAndDeletedUnderTheirOwnNames)
{
    const ByteBuffer bytes = {'a', 'b', 'c'};
    for (const Name& name : Names) {
        SCOPED_TRACE(testing::PrintToString(Text(name.text)));
        const Text folder = dir / name.text;
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        const Text file = folder + L"\\new.bin", copy = folder + L"\\copy.bin";

        UniqueFile created = CreateNamedFile(file, GENERIC_WRITE, 0, CREATE_NEW);
        const DWORD createError = GetLastError();
        FoundEntry found;
        if (!Reaches(name)) {
            EXPECT_FALSE(created);
            EXPECT_EQ(createError, static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
            EXPECT_FALSE(FileExists(file));
            // Nothing is done under a look-alike either.
            WriteFileBytes(file, bytes);
            EXPECT_FALSE(FindNamedEntry(file, found));
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
            EXPECT_FALSE(CopyNamedFile(file, copy));
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
            EXPECT_FALSE(DeleteNamedFile(file));
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
            EXPECT_TRUE(FileExists(file));
            EXPECT_FALSE(FileExists(copy));
            continue;
        }
        ASSERT_TRUE(created) << createError;
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(created.get(), bytes.data(), 3, &written, nullptr));
        created.reset();
        EXPECT_TRUE(ReadFileBytes(file) == bytes);

        ASSERT_TRUE(FindNamedEntry(file, found));
        EXPECT_TRUE(found.named);
        EXPECT_EQ(found.attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
        ASSERT_TRUE(FindNamedEntry(folder, found));
        EXPECT_NE(found.attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
        EXPECT_TRUE(FindNamedEntry(folder + L"\\*.bin", found));
        EXPECT_FALSE(FindNamedEntry(folder + L"\\*.txt", found));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

        ASSERT_TRUE(CopyNamedFile(file, copy));
        EXPECT_TRUE(ReadFileBytes(copy) == bytes);
        // The copy replaces its destination.
        WriteFileBytes(copy, ByteBuffer(100, 'x'));
        ASSERT_TRUE(CopyNamedFile(file, copy));
        EXPECT_TRUE(ReadFileBytes(copy) == bytes);

        EXPECT_TRUE(DeleteNamedFile(copy));
        EXPECT_FALSE(FileExists(copy));
        EXPECT_FALSE(DeleteNamedFile(copy));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    }
}

TEST_P(NamedFiles, LibrariesLoadUnderTheirOwnNamesAndReportThem)
{
    const ByteBuffer library = ReadFileBytes(BesideTestExe(L"resource_fixture.dll"));
    ASSERT_FALSE(library.empty());
    for (const Name& name : Names) {
        SCOPED_TRACE(testing::PrintToString(Text(name.text)));
        const Text folder = dir / name.text;
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        const Text path = folder + L"\\fixture.dll";
        WriteFileBytes(path, library);

        const UniqueModule loaded = LoadNamedLibrary(path);
        if (!Reaches(name)) {
            EXPECT_FALSE(loaded);
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
            continue;
        }
        ASSERT_TRUE(loaded) << GetLastError();
        Text reported;
        ASSERT_EQ(GetModulePath(loaded.get(), reported).Number(), 0);
        EXPECT_EQ(reported, path);
    }
}

TEST_P(NamedFiles, TheExecutableAndTheSystemFolderAreReportedAsTheSystemHasThem)
{
    wchar_t buffer[MAX_PATH];
    Text path;
    ASSERT_EQ(GetModulePath(nullptr, path).Number(), 0);
    EXPECT_EQ(path, Text(buffer, GetModuleFileNameW(nullptr, buffer, MAX_PATH)));
    ASSERT_EQ(GetSystemFolderPath(path).Number(), 0);
    EXPECT_EQ(path, Text(buffer, GetSystemDirectoryW(buffer, MAX_PATH)));
}

TEST(KernelFunctions, TheNtFamilyHasEveryWideFunctionAndTheOverrideStandsInForTests)
{
    ASSERT_EQ(GetVersion() & 0x80000000, 0u) << "the tests' Wine reports the NT family";
    KernelFunctions table = LookUpKernelFunctions();
    ASSERT_TRUE(table.WideNames());
    // The same functions as the test executable imports.
    EXPECT_EQ(table.CreateFileW, &::CreateFileW);
    EXPECT_EQ(table.DeleteFileW, &::DeleteFileW);
    EXPECT_EQ(table.CopyFileW, &::CopyFileW);
    EXPECT_EQ(table.FindFirstFileW, &::FindFirstFileW);
    EXPECT_EQ(table.LoadLibraryExW, &::LoadLibraryExW);
    EXPECT_EQ(table.GetModuleFileNameW, &::GetModuleFileNameW);
    EXPECT_EQ(table.GetSystemDirectoryW, &::GetSystemDirectoryW);
    EXPECT_EQ(table.SetDllDirectoryA, &::SetDllDirectoryA);
    EXPECT_NE(table.SetDefaultDllDirectories, nullptr);

    KernelFunctions given;
    given.CreateFileW = table.CreateFileW;
    {
        const KernelFunctionsOverride windows95(nullptr);
        table = LookUpKernelFunctions();
        EXPECT_FALSE(table.WideNames());
        EXPECT_EQ(table.CreateFileW, nullptr);
        EXPECT_EQ(table.SetDefaultDllDirectories, nullptr);
    }
    {
        const KernelFunctionsOverride other(&given);
        table = LookUpKernelFunctions();
        EXPECT_EQ(table.CreateFileW, given.CreateFileW);
        EXPECT_FALSE(table.WideNames()) << "only where every W function is there";
    }
    EXPECT_TRUE(LookUpKernelFunctions().WideNames()) << "the system's table again";
}

} // namespace
