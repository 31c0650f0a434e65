#include "failures.h"

#include <torvalink/handles.h>

#include <cstring>
#include <iterator>

namespace torvalink {

namespace {

// The numbers that can reach a message box without a text of their own.
constexpr std::int16_t ClassicNumbers[] = {
    ErrInvalidArgument, ErrOutOfMemory,       ErrBadFileName,      ErrFileNotFound,
    ErrBadFileMode,     ErrDeviceIo,          ErrFileExists,       ErrDiskFull,
    ErrTooManyFiles,    ErrDeviceUnavailable, ErrPermissionDenied, ErrDiskNotReady,
    ErrPathFileAccess,  ErrPathNotFound,      ErrResourceNotFound, ErrCannotCreateObject};
// Their texts, in the same order, each ended by a zero byte.
constexpr char ClassicTexts[] = "Invalid procedure call or argument\0"
                                "Out of memory\0"
                                "Bad file name or number\0"
                                "File not found\0"
                                "Bad file mode\0"
                                "Device I/O error\0"
                                "File already exists\0"
                                "Disk full\0"
                                "Too many files\0"
                                "Device unavailable\0"
                                "Permission denied\0"
                                "Disk not ready\0"
                                "Path/File access error\0"
                                "Path not found\0"
                                "Resource not found\0"
                                "ActiveX component can't create object";

// Win32 codes of failed file operations and the classic numbers for them. A
// name that the code page cannot hold (Windows 95, 98 and Me) is a bad name.
constexpr std::uint16_t FileCodes[] = {ERROR_FILE_NOT_FOUND,
                                       ERROR_PATH_NOT_FOUND,
                                       ERROR_TOO_MANY_OPEN_FILES,
                                       ERROR_ACCESS_DENIED,
                                       ERROR_NOT_ENOUGH_MEMORY,
                                       ERROR_OUTOFMEMORY,
                                       ERROR_INVALID_DRIVE,
                                       ERROR_WRITE_PROTECT,
                                       ERROR_NOT_READY,
                                       ERROR_SHARING_VIOLATION,
                                       ERROR_LOCK_VIOLATION,
                                       ERROR_HANDLE_DISK_FULL,
                                       ERROR_FILE_EXISTS,
                                       ERROR_DISK_FULL,
                                       ERROR_INVALID_NAME,
                                       ERROR_ALREADY_EXISTS,
                                       ERROR_NO_UNICODE_TRANSLATION};
constexpr std::uint8_t FileNumbers[] = {ErrFileNotFound, ErrPathNotFound,     ErrTooManyFiles,      ErrPermissionDenied,
                                        ErrOutOfMemory,  ErrOutOfMemory,      ErrDeviceUnavailable, ErrPermissionDenied,
                                        ErrDiskNotReady, ErrPermissionDenied, ErrPermissionDenied,  ErrDiskFull,
                                        ErrFileExists,   ErrDiskFull,         ErrBadFileName,       ErrFileExists,
                                        ErrBadFileName};
static_assert(std::size(FileCodes) == std::size(FileNumbers));

constexpr wchar_t NoText[] = L"Application-defined or object-defined error";

} // namespace

Text SystemMessage(DWORD code)
{
    // Windows 95, 98 and Me know only the plain codes of Win32 HRESULTs.
    if (HRESULT_FACILITY(code) == FACILITY_WIN32)
        code = HRESULT_CODE(code);
    // The A form: Windows 95, 98 and Me have FormatMessageW only as a stub.
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    const UniqueLocal owner(text);
    // In the code page; converted here, since the conversion's own failures
    // are described by this very function.
    Text message;
    const int wide =
        text && length > 0 ? MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0) : 0;
    if (wide > 0) {
        message.assign(static_cast<std::size_t>(wide), L'\0');
        MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), message.data(), wide);
    }
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return message.empty() ? NoText : message;
}

Text ErrorDescription(std::int32_t number)
{
    // An HRESULT: the system may have a text for it.
    if (number < 0)
        return SystemMessage(static_cast<DWORD>(number));
    const char* text = ClassicTexts;
    for (const std::int16_t classic : ClassicNumbers) {
        const char* const end = text + std::strlen(text);
        if (classic == number)
            return Text(text, end);
        text = end + 1;
    }
    // A run-time number that came without its text: the system's texts are
    // for other numbers.
    return NoText;
}

Status RunTimeFailure(std::int32_t number)
{
    return Failure(number, ErrorDescription(number));
}

std::int32_t FileErrorNumber(DWORD code)
{
    for (std::size_t i = 0; i < std::size(FileCodes); ++i)
        if (FileCodes[i] == code)
            return FileNumbers[i];
    return ErrPathFileAccess;
}

Status FileFailure(DWORD code)
{
    return RunTimeFailure(FileErrorNumber(code));
}

Status Win32Failure(DWORD code)
{
    // A failing call that left no code still must not read as success.
    return HResultFailure(HRESULT_FROM_WIN32(code == ERROR_SUCCESS ? ERROR_GEN_FAILURE : code));
}

std::int32_t ErrorNumberOf(HRESULT result)
{
    // S_OK would read as success; no failing call reports it.
    if (SUCCEEDED(result))
        result = E_FAIL;
    const bool control = HRESULT_FACILITY(result) == FACILITY_CONTROL && HRESULT_CODE(result) != 0;
    return control ? HRESULT_CODE(result) : static_cast<std::int32_t>(result);
}

HRESULT NumberAsHResult(std::int32_t number)
{
    if (number < 0)
        return number;
    return number >= 1 && number <= 0xFFFF ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number) : E_FAIL;
}

Status HResultFailure(HRESULT result)
{
    return RunTimeFailure(ErrorNumberOf(result));
}

} // namespace torvalink
