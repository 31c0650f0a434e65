#include <torvalink/raised_error.h>

#include "message_display.h"

namespace torvalink {

Status Failure(std::int32_t number, Text description, Text source)
{
    return RaisedError{number, std::move(source), std::move(description)};
}

void FailOutOfMemory()
{
    EndWithFatalFailure(ErrOutOfMemory, L"Run-time error '7':\n\nOut of memory");
}

} // namespace torvalink
