#include "ansi_text.h"

#include "failures.h"

#include <windows.h>

#include <climits>
#include <cstring>

namespace torvalink {

namespace {

bool FitsInt(std::size_t length)
{
    return length <= static_cast<std::size_t>(INT_MAX);
}

// The text in the code page, when it comes back unchanged from it. The round
// trip finds both the default character and the look-alikes that Windows puts
// in; WC_NO_BEST_FIT_CHARS, which would refuse the latter, does not exist on
// Windows 95.
bool Lossless(TextView text, AnsiText& ansi)
{
    ansi.clear();
    if (text.empty())
        return true;
    if (!FitsInt(text.size()))
        return false;
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return false;
    ansi.assign(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), needed, nullptr, nullptr);
    Text back;
    if (!FromAnsi(ansi, back).Failed() && back.size() == text.size() &&
        std::memcmp(back.data(), text.data(), text.size() * sizeof(wchar_t)) == 0)
        return true;
    ansi.clear();
    return false;
}

} // namespace

Status ToAnsi(TextView text, AnsiText& ansi)
{
    return Lossless(text, ansi) ? Status() : Win32Failure(ERROR_NO_UNICODE_TRANSLATION);
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

} // namespace torvalink
