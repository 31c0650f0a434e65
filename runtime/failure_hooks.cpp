// The C++ library's failure hooks, for binaries built without exceptions and
// without the C++ run-time library. Its templates call these when a string or
// vector cannot grow or is misused; nothing sensible can go on then.

#include "fatal_failure.h"

#include <cstddef>

namespace std {

void __throw_length_error(const char*)
{
    torvalink::FailOutOfMemory();
}

void __throw_bad_alloc()
{
    torvalink::FailOutOfMemory();
}

void __throw_bad_array_new_length()
{
    torvalink::FailOutOfMemory();
}

// Out-of-range positions and null character pointers: errors in the program itself.
void __throw_logic_error(const char*)
{
    torvalink::FailInternal();
}

void __throw_out_of_range_fmt(const char*, ...)
{
    torvalink::FailInternal();
}

} // namespace std

extern "C" void __cxa_pure_virtual()
{
    torvalink::FailInternal();
}
