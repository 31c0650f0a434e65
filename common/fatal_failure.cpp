#include "fatal_failure.h"

#include "failures.h"
#include "message_display.h"

namespace torvalink {

void EndWithFatalFailure(std::int32_t number, const wchar_t* prompt) noexcept
{
    DisplayMessage(prompt, MB_OK | MB_ICONERROR | MB_TASKMODAL, nullptr);
    ExitProcess(static_cast<UINT>(NumberAsHResult(number)));
}

void FailOutOfMemory()
{
    EndWithFatalFailure(ErrOutOfMemory, L"Run-time error '7':\n\nOut of memory");
}

void FailInternal()
{
    EndWithFatalFailure(ErrInternal, L"Run-time error '51':\n\nInternal error");
}

} // namespace torvalink
