#include "ansi_text.h"

#include "failures.h"
#include "system_library.h"

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

Status ToAnsiPath(const Text& path, AnsiText& ansi)
{
    if (Lossless(path, ansi))
        return {};

    // The folder's short form, followed by the last part as given: the folder
    // exists even where the file is still to be made. GetShortPathNameW works
    // on the NT family only (Windows 95, 98 and Me have it at most as a stub):
    // looked up, never imported. It takes one buffer for input and output.
    using ShortPathNameFn = DWORD WINAPI(LPCWSTR, LPWSTR, DWORD);
    const bool ntFamily = (GetVersion() & 0x80000000) == 0;
    auto* const shortPathName =
        ntFamily ? ProcAddress<ShortPathNameFn>(GetModuleHandleA("kernel32.dll"), "GetShortPathNameW") : nullptr;
    const std::size_t split = path.find_last_of(L'\\');
    wchar_t folder[MAX_PATH];
    if (shortPathName && split < MAX_PATH) {
        std::memcpy(folder, path.data(), split * sizeof(wchar_t));
        folder[split] = L'\0';
        const DWORD length = shortPathName(folder, folder, MAX_PATH);
        const std::size_t rest = path.size() - split;
        if (length > 0 && length + rest < MAX_PATH) {
            std::memcpy(folder + length, path.data() + split, rest * sizeof(wchar_t));
            if (Lossless(TextView(folder, length + rest), ansi))
                return {};
        }
    }
    return Win32Failure(ERROR_NO_UNICODE_TRANSLATION);
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
