#pragma once

#include <torvalink/handles.h>
#include <torvalink/text.h>

#include <windows.h>

namespace torvalink {

// The system's own text for an error code, without its line end: what the
// tests compare the program's descriptions with, so that they hold on Windows
// as under Wine, whose words differ ("Call failed." where Windows says
// "Unspecified error"). Empty when the system has none.
inline Text SystemText(DWORD code)
{
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const UniqueLocal owner(text);
    Text message(text ? text : L"", text ? length : 0);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return message;
}

} // namespace torvalink
