#include "raised_error.h"

#include "ansi_text.h"
#include "handles.h"

namespace torvalink {

Text SystemMessage(DWORD code)
{
    // The A form: Windows 95, 98 and Me have FormatMessageW only as a stub.
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    const UniqueLocal owner(text);
    Text message;
    if (text)
        (void)FromAnsi(AnsiView(text, length), message); // a failure leaves it empty
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    // A number that the system has no text for still gets one.
    return message.empty() ? L"Application-defined or object-defined error" : message;
}

Status Failure(std::int32_t number, Text description, Text source)
{
    return RaisedError{number, std::move(source), std::move(description)};
}

Status Win32Failure(DWORD code)
{
    // A failing call that left no code still must not read as success.
    if (code == ERROR_SUCCESS)
        code = ERROR_GEN_FAILURE;
    return Failure(static_cast<std::int32_t>(code), SystemMessage(code));
}

Status HResultFailure(HRESULT result)
{
    // S_OK would read as success; no failing call reports it.
    if (SUCCEEDED(result))
        result = E_FAIL;
    return Failure(static_cast<std::int32_t>(result), SystemMessage(static_cast<DWORD>(result)));
}

void FailOutOfMemory()
{
    MessageBoxW(nullptr, L"Run-time error '7':\n\nOut of memory", nullptr, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(ErrOutOfMemory);
}

} // namespace torvalink
