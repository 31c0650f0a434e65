#include "error_text.h"

#include <cstring>

namespace torvalink {

namespace {

constexpr std::int16_t ClassicNumbers[] = {5, 7, 52, 53, 54, 57, 58, 61, 67, 68, 70, 71, 75, 76, 429};
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
                                "ActiveX component can't create object";

// Platform codes of failed file operations and the classic numbers for them.
constexpr std::uint8_t FileCodes[] = {
    ERROR_FILE_NOT_FOUND,    ERROR_PATH_NOT_FOUND,    ERROR_TOO_MANY_OPEN_FILES, ERROR_ACCESS_DENIED,
    ERROR_NOT_ENOUGH_MEMORY, ERROR_OUTOFMEMORY,       ERROR_INVALID_DRIVE,       ERROR_WRITE_PROTECT,
    ERROR_NOT_READY,         ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION,      ERROR_HANDLE_DISK_FULL,
    ERROR_FILE_EXISTS,       ERROR_DISK_FULL,         ERROR_INVALID_NAME,        ERROR_ALREADY_EXISTS};
constexpr std::uint8_t FileNumbers[] = {53, 76, 67, 70, 7, 7, 68, 70, 71, 70, 70, 61, 58, 61, 52, 58};
static_assert(sizeof FileCodes == sizeof FileNumbers);

} // namespace

Text ErrorDescription(std::int32_t number)
{
    const char* text = ClassicTexts;
    for (const std::int16_t classic : ClassicNumbers) {
        const char* const end = text + std::strlen(text);
        if (classic == number)
            return Text(text, end);
        text = end + 1;
    }
    return SystemMessage(static_cast<DWORD>(number));
}

Status RunTimeFailure(std::int32_t number)
{
    return Failure(number, ErrorDescription(number));
}

Status FileFailure(DWORD code)
{
    std::int32_t number = 75;
    for (std::size_t i = 0; i < sizeof FileCodes; ++i)
        if (FileCodes[i] == code)
            number = FileNumbers[i];
    return RunTimeFailure(number);
}

} // namespace torvalink
