#include "ansi_text.h"
#include "print_text.h"
#include "system_text.h"

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
            EXPECT_EQ(status.Error().Description, SystemText(ERROR_NO_UNICODE_TRANSLATION));
            EXPECT_TRUE(ansi.empty());
        }
    }
}

} // namespace
