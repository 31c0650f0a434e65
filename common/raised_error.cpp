#include "raised_error.h"

#include "handles.h"

Text SystemMessage(DWORD code)
{
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const UniqueLocal owner(text);
    Text message(text ? text : L"", length);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return message;
}

void Raise(std::int32_t number, Text description, Text source)
{
    throw RaisedError{number, std::move(source), std::move(description)};
}

void RaiseWin32(DWORD code)
{
    // A failing call that left no code still must not read as success.
    if (code == ERROR_SUCCESS)
        code = ERROR_GEN_FAILURE;
    Raise(static_cast<std::int32_t>(code), SystemMessage(code));
}

void RaiseHResult(HRESULT result)
{
    Raise(static_cast<std::int32_t>(result), SystemMessage(static_cast<DWORD>(result)));
}
