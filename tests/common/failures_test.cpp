#include "failures.h"
#include "print_text.h"
#include "system_text.h"

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
        {326, L"Resource not found"},
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

TEST(ErrorDescription, HResultsHaveTheSystemsTextAndOtherNumbersNeverNone)
{
    // A Win32 HRESULT has the text of its Win32 code.
    ASSERT_NE(SystemText(ERROR_NO_UNICODE_TRANSLATION), L"");
    EXPECT_EQ(ErrorDescription(HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION)),
              SystemText(ERROR_NO_UNICODE_TRANSLATION));
    EXPECT_EQ(ErrorDescription(E_OUTOFMEMORY), SystemText(ERROR_OUTOFMEMORY));
    ASSERT_NE(SystemText(E_FAIL), L"");
    EXPECT_EQ(ErrorDescription(E_FAIL), SystemText(E_FAIL));
    // A run-time number without a classic text is not taken for a Win32 code
    // (1113 is ERROR_NO_UNICODE_TRANSLATION); nor is a code the system has no text for.
    EXPECT_EQ(ErrorDescription(1113), L"Application-defined or object-defined error");
    EXPECT_EQ(ErrorDescription(ErrDllLoad), L"Application-defined or object-defined error");
    EXPECT_EQ(Win32Failure(0x2000ABCD).Error().Description, L"Application-defined or object-defined error");
    ASSERT_EQ(SystemText(0x8004ABCD), L"");
    EXPECT_EQ(HResultFailure(static_cast<HRESULT>(0x8004ABCD)).Error().Description,
              L"Application-defined or object-defined error");
}

// Where each kind of failure lands, so that no number means two things.
TEST(ErrorNumbers, Win32CodesAreHResultsAndAutomationErrorsRunTimeNumbers)
{
    const Status denied = Win32Failure(ERROR_ACCESS_DENIED);
    EXPECT_EQ(denied.Number(), static_cast<std::int32_t>(0x80070005));
    EXPECT_EQ(denied.Error().Description, SystemText(ERROR_ACCESS_DENIED));
    EXPECT_EQ(denied.Error().Source, L"");
    // A failing call that left no code still fails.
    EXPECT_EQ(Win32Failure(ERROR_SUCCESS).Number(), static_cast<std::int32_t>(0x8007001F));
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(Win32Result(FALSE).Number(), static_cast<std::int32_t>(0x8007007A));
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    EXPECT_FALSE(Win32Result(TRUE).Failed());
    SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(FileResult(FALSE).Number(), ErrFileNotFound);

    struct Case {
        HRESULT result;
        std::int32_t number;
        Text text;
    };
    const Case cases[] = {
        {static_cast<HRESULT>(0x800A0035), ErrFileNotFound, L"File not found"},
        {static_cast<HRESULT>(0x800A0046), ErrPermissionDenied, L"Permission denied"},
        {static_cast<HRESULT>(0x800A01AD), ErrCannotCreateObject, L"ActiveX component can't create object"},
        // No run-time number in its low word: it stays an HRESULT.
        {static_cast<HRESULT>(0x800A0000), static_cast<std::int32_t>(0x800A0000),
         L"Application-defined or object-defined error"},
        {E_OUTOFMEMORY, static_cast<std::int32_t>(E_OUTOFMEMORY), SystemText(ERROR_OUTOFMEMORY)},
        {S_OK, static_cast<std::int32_t>(E_FAIL), SystemText(E_FAIL)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        EXPECT_EQ(ErrorNumberOf(c.result), c.number);
        const Status failure = HResultFailure(c.result);
        EXPECT_EQ(failure.Number(), c.number);
        EXPECT_EQ(failure.Error().Description, c.text);
    }
}

// The exit code of a run that a failure ended: the number as an HRESULT, and
// back to the same number.
TEST(ErrorNumbers, NumbersBecomeHResultsAndBack)
{
    struct Case {
        std::int32_t number;
        HRESULT result;
    };
    const Case cases[] = {
        {ErrPermissionDenied, static_cast<HRESULT>(0x800A0046)},
        {ErrResourceLoad, static_cast<HRESULT>(0x800A793D)},
        {0xFFFF, static_cast<HRESULT>(0x800AFFFF)},
        {static_cast<std::int32_t>(0x80070005), static_cast<HRESULT>(0x80070005)},
        {0, E_FAIL},
        {0x10000, E_FAIL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(NumberAsHResult(c.number), c.result);
        if (c.result != E_FAIL) {
            EXPECT_EQ(ErrorNumberOf(c.result), c.number);
        }
    }
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
        EXPECT_EQ(FileErrorNumber(c.code), c.number);
        EXPECT_EQ(failure.Error().Description, c.text);
    }
    SetLastError(ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(LastFileFailure().Number(), 76);
}

} // namespace
