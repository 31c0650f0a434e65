#include "modWindowsVersion.h"

#include <torvalink/text.h>

namespace torvalink {

namespace {

// The service-pack text with its blanks trimmed: Windows 95 and 98 report
// their letter as " C", " B" or " A".
AnsiView CsdText(const OSVERSIONINFOA& record)
{
    AnsiView text(record.szCSDVersion, sizeof record.szCSDVersion);
    text = text.substr(0, text.find('\0'));
    const auto first = text.find_first_not_of(' ');
    if (first == AnsiView::npos)
        return {};
    text.remove_prefix(first);
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

std::int32_t ClassifyWindows9x(const OSVERSIONINFOA& record)
{
    if (record.dwMajorVersion != 4)
        return 0;
    switch (record.dwMinorVersion) {
    case 0:
        return CsdText(record) == "C" ? 4 : CsdText(record) == "B" ? 3 : 2;
    case 10:
        return CsdText(record) == "A" ? 6 : 5;
    case 90:
        return 7;
    default:
        return 0;
    }
}

std::int32_t ClassifyWindowsNt(const OSVERSIONINFOA& record)
{
    switch (record.dwMajorVersion) {
    case 4:
        return 8;
    case 5:
        return record.dwMinorVersion <= 2 ? static_cast<std::int32_t>(9 + record.dwMinorVersion) : 0;
    case 6:
        return 12;
    default:
        return 0;
    }
}

} // namespace

std::int32_t ClassifyWindowsVersion(const OSVERSIONINFOA& record)
{
    switch (record.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return 1;
    case VER_PLATFORM_WIN32_WINDOWS:
        return ClassifyWindows9x(record);
    case VER_PLATFORM_WIN32_NT:
        return ClassifyWindowsNt(record);
    default:
        return 0;
    }
}

std::int32_t GetWindowsVersion()
{
    OSVERSIONINFOA record{};
    record.dwOSVersionInfoSize = sizeof record;
    // A failed call leaves the record zeroed but for its size: code 1, nothing installed.
    GetVersionExA(&record);
    return ClassifyWindowsVersion(record);
}

} // namespace torvalink
