#include "modInfoFileVersion.h"
#include "print_text.h"
#include "test_overrides.h"
#include "test_paths.h"

#include <torvalink/handles.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <type_traits>

using namespace torvalink;

namespace {

// ShortForm is only read: the compiler holds GetFileVersionText to that through
// the reference to const, which this keeps in the signature.
static_assert(std::is_same_v<decltype(GetFileVersionText), Text(const Text&, const std::int16_t&)>);

Text Padded(const Text& file)
{
    const std::int16_t shortForm = 0;
    return GetFileVersionText(BesideTestExe(file), shortForm);
}

TEST(FormatFileVersion, PaddedAndShortForms)
{
    struct Case {
        std::uint16_t major, minor, build, revision;
        const wchar_t* padded;
        const wchar_t* shortText;
    };
    const Case cases[] = {
        {1, 0, 0, 23, L"0001.0000.0000.0023", L"1.0.23"},
        {10, 2, 300, 4, L"0010.0002.0300.0004", L"10.2.4"},
        {0, 0, 0, 0, L"0000.0000.0000.0000", L"0.0.0"},
        {9999, 9999, 9999, 9999, L"9999.9999.9999.9999", L"9999.9999.9999"},
        {65535, 1, 2, 3, L"65535.0001.0002.0003", L"65535.1.3"},
        {1, 65535, 65535, 65535, L"0001.65535.65535.65535", L"1.65535.65535"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.padded);
        const std::uint32_t ms = MAKELONG(c.minor, c.major), ls = MAKELONG(c.revision, c.build);
        EXPECT_EQ(FormatFileVersion(ms, ls, false), c.padded);
        EXPECT_EQ(FormatFileVersion(ms, ls, true), c.shortText);
    }
}

TEST(FormatFileVersion, PaddedTextsSortAsVersions)
{
    const auto text = [](std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d) {
        return FormatFileVersion(MAKELONG(b, a), MAKELONG(d, c), false);
    };
    EXPECT_GT(text(1, 0, 0, 23), text(1, 0, 0, 22));
    EXPECT_GT(text(1, 2, 0, 0), text(1, 1, 9999, 9999));
    EXPECT_GT(text(0, 0, 0, 0), Text());
    // Where the number of digits differs, only the padding keeps the order.
    EXPECT_LT(text(1, 0, 0, 9), text(1, 0, 0, 10));
    EXPECT_LT(text(1, 0, 99, 0), text(1, 0, 100, 0));
}

TEST(GetFileVersionText, ReadsTheFileVersionOfAFile)
{
    EXPECT_EQ(Padded(L"version_1_0_0_22.dll"), L"0001.0000.0000.0022");
    EXPECT_EQ(Padded(L"version_1_0_0_23.dll"), L"0001.0000.0000.0023");
    EXPECT_EQ(Padded(L"version_1_0_0_24.dll"), L"0001.0000.0000.0024");
    EXPECT_EQ(Padded(L"version_65535.dll"), L"65535.0001.0002.0003");
}

TEST(GetFileVersionText, UsesTheFileVersionNotTheProductVersion)
{
    EXPECT_EQ(Padded(L"version_product_differs.dll"), L"0010.0002.0300.0004");
}

TEST(GetFileVersionText, AnyNonZeroShortFormSelectsTheShortForm)
{
    for (std::int16_t shortForm : {std::int16_t(1), std::int16_t(-1), std::int16_t(2), std::int16_t(INT16_MIN)}) {
        SCOPED_TRACE(shortForm);
        EXPECT_EQ(GetFileVersionText(BesideTestExe(L"version_product_differs.dll"), shortForm), L"10.2.4");
    }
}

TEST(GetFileVersionText, EmptyWhenThereIsNoVersion)
{
    EXPECT_EQ(Padded(L"no such file.dll"), L"");
    EXPECT_EQ(Padded(L"plain.txt"), L"");
    EXPECT_EQ(Padded(L"resource_fixture.dll"), L"");
}

TEST(GetFileVersionText, EmptyWhenTheVersionBlockHoldsNoValidRecord)
{
    EXPECT_EQ(Padded(L"version_bad_signature.dll"), L"");
    EXPECT_EQ(Padded(L"version_no_record.dll"), L"");
}

// version.dll replaced by one that reports the size given, for as long as it lives.
class ReportedSize {
public:
    ReportedSize() : standIn_(LoadLibraryW(L"version_stand_in.dll"))
    {
        OverrideSystemLibrary(RunTimeLibrary::Version, standIn_.get());
    }
    ~ReportedSize()
    {
        OverrideSystemLibrary(RunTimeLibrary::Version, nullptr);
        SetEnvironmentVariableW(L"VERSION_STAND_IN_SIZE", nullptr);
    }
    bool Loaded() const { return standIn_ != nullptr; }
    void Report(DWORD size) const
    {
        wchar_t hex[16];
        swprintf(hex, 16, L"%lx", static_cast<unsigned long>(size));
        SetEnvironmentVariableW(L"VERSION_STAND_IN_SIZE", hex);
    }

private:
    UniqueModule standIn_;
};

// The block size that version.dll reports is taken only where it is one for
// the file's version resource: at least the resource, at most four times it
// and a signature; anything else, tiny, wrapped or huge, is no version.
TEST(GetFileVersionText, TakesOnlyABlockSizeThatFitsTheFilesVersionResource)
{
    DWORD resource = 0;
    {
        const Text file = BesideTestExe(L"version_1_0_0_23.dll");
        const UniqueModule data(LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(data);
        const HRSRC info = FindResourceW(data.get(), MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
        ASSERT_NE(info, nullptr);
        resource = SizeofResource(data.get(), info);
    }
    const ReportedSize reported;
    ASSERT_TRUE(reported.Loaded());
    const wchar_t* const version = L"0001.0000.0000.0023";
    struct Case {
        DWORD size;
        const wchar_t* text;
    };
    const Case cases[] = {
        {0, L""},
        {1, L""},
        {resource - 1, L""},
        {resource, version},
        {2 * resource + 4, version},
        {4 * resource + 4, version},
        {4 * resource + 5, L""},
        {0x7FFFFFFF, L""},
        {0x80000000, L""},
        {0xFFFFFFFF, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        reported.Report(c.size);
        EXPECT_EQ(Padded(L"version_1_0_0_23.dll"), c.text);
    }
}

TEST(GetFileVersionText, HandlesTheMessagesWaitingInTheQueue)
{
    PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_APP, WM_APP, PM_NOREMOVE));
    (void)Padded(L"version_1_0_0_23.dll");
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_APP, WM_APP, PM_NOREMOVE));
}

} // namespace
