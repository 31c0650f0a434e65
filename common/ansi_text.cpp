#include "ansi_text.h"

#include <windows.h>

#include <climits>

namespace {

bool FitsInt(std::size_t length)
{
    return length <= static_cast<std::size_t>(INT_MAX);
}

} // namespace

Status ToAnsi(TextView text, AnsiText& ansi)
{
    ansi.clear();
    if (text.empty())
        return {};
    if (!FitsInt(text.size()))
        return Win32Failure(ERROR_ARITHMETIC_OVERFLOW);
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return LastWin32Failure();
    ansi.assign(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), needed, nullptr, nullptr);
    return {};
}

Status FromAnsi(AnsiView text, Text& wide)
{
    wide.clear();
    if (text.empty())
        return {};
    if (!FitsInt(text.size()))
        return Win32Failure(ERROR_ARITHMETIC_OVERFLOW);
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (needed <= 0)
        return LastWin32Failure();
    wide.assign(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed);
    return {};
}
