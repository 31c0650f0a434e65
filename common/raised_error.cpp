#include <torvalink/raised_error.h>

namespace torvalink {

Status Failure(std::int32_t number, Text description, Text source)
{
    return RaisedError{number, std::move(source), std::move(description)};
}

} // namespace torvalink
