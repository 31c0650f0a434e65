// CResDll's raw bytes: into a buffer, and into a file.

#include <torvalink/CResDll.h>
#include <torvalink/current_error.h>

#include "resource_core.h"

namespace torvalink {

ByteBuffer CResDll::LoadDllData(std::int32_t index, TextArg resformat)
{
    return IgnoreFailures<ByteBuffer>([&](ByteBuffer& buffer) -> Status {
        ResourceBytes bytes;
        TORVALINK_RETURN_IF_FAILED(FindResourceBytes(DllHandle.get(), index, resformat, bytes));
        buffer.assign(bytes.data, bytes.data + bytes.size);
        return {};
    });
}

// Gives back only the number of a failure: a description would reach nobody.
std::int32_t CResDll::SaveDllData(std::int16_t index, TextArg Path, TextArg resformat, bool overwrite)
{
    std::int32_t number = 0;
    if (!RanWithinMemory([&] {
            ResourceBytes saved;
            number = SaveResource(DllHandle.get(), index, resformat, Path, overwrite, saved).Number();
        }))
        return ErrOutOfMemory;
    return number;
}

} // namespace torvalink
