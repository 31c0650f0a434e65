#include "ansi_text.h"
#include "print_text.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

using namespace torvalink;

namespace {

// The cases below are written for the code page that Wine gives the tests.
TEST(AnsiText, TheTestsRunUnderCodePage1252)
{
    EXPECT_EQ(GetACP(), 1252u);
}

TEST(ToAnsi, KeepsWhatTheCodePageHoldsAndRefusesEverythingElse)
{
    struct Case {
        const wchar_t* text;
        const char* ansi; // null: refused
    };
    const Case cases[] = {
        {L"", ""},
        {L"CUSTOM", "CUSTOM"},
        {L"C:\\tmp\\\u00e9t\u00e9\u20ac.bin", "C:\\tmp\\\xe9t\xe9\x80.bin"},
        // Windows would put in "L", "a", "\", "." and "??" for these.
        {L"\u0141ukasz", nullptr},
        {L"resfix\u0101.dll", nullptr},
        {L"sub\uff3cbf.bin", nullptr},
        {L"a\uff0e.bin", nullptr},
        {L"\u4e2d\u6587", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(Text(c.text)));
        AnsiText ansi = "left over";
        const Status status = ToAnsi(c.text, ansi);
        if (c.ansi) {
            EXPECT_EQ(status.Number(), 0);
            EXPECT_EQ(std::string(ansi.data(), ansi.size()), c.ansi);
        } else {
            EXPECT_EQ(status.Number(), HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION));
            EXPECT_EQ(status.Error().Description, L"No Unicode translation.");
            EXPECT_TRUE(ansi.empty());
        }
    }
}

Text ShortForm(const Text& path)
{
    wchar_t shortPath[MAX_PATH];
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    return Text(shortPath, length < MAX_PATH ? length : 0);
}

TEST(ToAnsiPath, TakesTheShortFormOfAnExistingFolderAndKeepsTheLastPart)
{
    ScratchDir dir;
    for (const wchar_t* folder : {L"\u0141ukasz", L"\u4e2d\u6587", L"sub\uff3cdir", L"a\uff0eb"}) {
        SCOPED_TRACE(testing::PrintToString(Text(folder)));
        const Text existing = dir / folder;
        ASSERT_TRUE(CreateDirectoryW(existing.c_str(), nullptr));
        const Text shortFolder = ShortForm(existing);
        ASSERT_FALSE(shortFolder.empty());
        // The short form is what the A functions get, and it names the same folder.
        AnsiText ansi;
        ASSERT_EQ(ToAnsiPath(existing + L"\\file.bin", ansi).Number(), 0);
        EXPECT_EQ(Text(ansi.begin(), ansi.end()), shortFolder + L"\\file.bin");
        WriteFileBytes(existing + L"\\file.bin", ByteBuffer(3, 0x41));
        EXPECT_NE(GetFileAttributesA(ansi.c_str()), INVALID_FILE_ATTRIBUTES);

        // A folder that does not exist has no short form, and the last part is
        // taken as given: it must fit the code page.
        EXPECT_EQ(ToAnsiPath(existing + L"\\missing\\file.bin", ansi).Number(),
                  HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION));
        EXPECT_EQ(ToAnsiPath(dir / L"x" + folder + L"\\file.bin", ansi).Number(),
                  HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION));
        EXPECT_EQ(ToAnsiPath(existing, ansi).Number(), HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION));
        EXPECT_TRUE(ansi.empty());
    }
}

TEST(ToAnsiPath, LeavesAPathTheCodePageHoldsAsItIs)
{
    AnsiText ansi;
    ASSERT_EQ(ToAnsiPath(L"C:\\no such folder\\\u00e9.bin", ansi).Number(), 0);
    EXPECT_EQ(std::string(ansi.data(), ansi.size()), "C:\\no such folder\\\xe9.bin");
}

} // namespace
