#include "error_text.h"
#include "print_text.h"

#include <gtest/gtest.h>

using namespace torvalink;

namespace {

TEST(ErrorDescription, ClassicNumbersHaveTheirClassicTexts)
{
    struct Case {
        std::int32_t number;
        const wchar_t* text;
    };
    const Case cases[] = {
        {5, L"Invalid procedure call or argument"},
        {7, L"Out of memory"},
        {52, L"Bad file name or number"},
        {53, L"File not found"},
        {54, L"Bad file mode"},
        {57, L"Device I/O error"},
        {58, L"File already exists"},
        {61, L"Disk full"},
        {67, L"Too many files"},
        {68, L"Device unavailable"},
        {70, L"Permission denied"},
        {71, L"Disk not ready"},
        {75, L"Path/File access error"},
        {76, L"Path not found"},
        {429, L"ActiveX component can't create object"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(ErrorDescription(c.number), c.text);
        const Status failure = RunTimeFailure(c.number);
        EXPECT_EQ(failure.Number(), c.number);
        EXPECT_EQ(failure.Error().Description, c.text);
        EXPECT_EQ(failure.Error().Source, L"");
    }
}

TEST(ErrorDescription, OtherNumbersHaveTheSystemsTextAndNeverNone)
{
    // Wine's texts; the last number is one that no system has a text for.
    EXPECT_EQ(ErrorDescription(ERROR_NO_UNICODE_TRANSLATION), L"No Unicode translation.");
    EXPECT_EQ(ErrorDescription(static_cast<std::int32_t>(E_OUTOFMEMORY)), L"Out of memory.");
    EXPECT_EQ(ErrorDescription(0x2000ABCD), L"Application-defined or object-defined error");
    EXPECT_EQ(Win32Failure(0x2000ABCD).Error().Description, L"Application-defined or object-defined error");
    EXPECT_EQ(HResultFailure(CO_E_CLASSSTRING).Error().Description, L"Application-defined or object-defined error");
}

TEST(FileFailure, PlatformCodesBecomeTheClassicFileNumbers)
{
    struct Case {
        DWORD code;
        std::int32_t number;
        const wchar_t* text;
    };
    const Case cases[] = {
        {ERROR_FILE_NOT_FOUND, 53, L"File not found"},
        {ERROR_PATH_NOT_FOUND, 76, L"Path not found"},
        {ERROR_TOO_MANY_OPEN_FILES, 67, L"Too many files"},
        {ERROR_ACCESS_DENIED, 70, L"Permission denied"},
        {ERROR_NOT_ENOUGH_MEMORY, 7, L"Out of memory"},
        {ERROR_OUTOFMEMORY, 7, L"Out of memory"},
        {ERROR_INVALID_DRIVE, 68, L"Device unavailable"},
        {ERROR_WRITE_PROTECT, 70, L"Permission denied"},
        {ERROR_NOT_READY, 71, L"Disk not ready"},
        {ERROR_SHARING_VIOLATION, 70, L"Permission denied"},
        {ERROR_LOCK_VIOLATION, 70, L"Permission denied"},
        {ERROR_HANDLE_DISK_FULL, 61, L"Disk full"},
        {ERROR_FILE_EXISTS, 58, L"File already exists"},
        {ERROR_DISK_FULL, 61, L"Disk full"},
        {ERROR_INVALID_NAME, 52, L"Bad file name or number"},
        {ERROR_ALREADY_EXISTS, 58, L"File already exists"},
        // Anything else.
        {ERROR_CRC, 75, L"Path/File access error"},
        {ERROR_WRITE_FAULT, 75, L"Path/File access error"},
        {0, 75, L"Path/File access error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const Status failure = FileFailure(c.code);
        EXPECT_EQ(failure.Number(), c.number);
        EXPECT_EQ(failure.Error().Description, c.text);
    }
    SetLastError(ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(LastFileFailure().Number(), 76);
}

} // namespace
