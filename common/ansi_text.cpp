#include "ansi_text.h"

#include "raised_error.h"

#include <windows.h>

#include <climits>

namespace {

int CheckedLength(std::size_t length)
{
    if (length > static_cast<std::size_t>(INT_MAX))
        RaiseWin32(ERROR_ARITHMETIC_OVERFLOW);
    return static_cast<int>(length);
}

} // namespace

AnsiText ToAnsi(TextView text)
{
    if (text.empty())
        return {};
    const int length = CheckedLength(text.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        RaiseWin32(GetLastError());
    AnsiText ansi(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), needed, nullptr, nullptr);
    return ansi;
}

Text FromAnsi(AnsiView text)
{
    if (text.empty())
        return {};
    const int length = CheckedLength(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (needed <= 0)
        RaiseWin32(GetLastError());
    Text wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed);
    return wide;
}
