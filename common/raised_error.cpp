#include <torvalink/raised_error.h>

namespace torvalink {

Status Failure(std::int32_t number, Text description, Text source)
{
    return RaisedError{number, std::move(source), std::move(description)};
}

void FailOutOfMemory()
{
    MessageBoxW(nullptr, L"Run-time error '7':\n\nOut of memory", nullptr, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(ErrOutOfMemory);
}

} // namespace torvalink
