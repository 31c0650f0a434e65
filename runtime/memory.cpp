// The C++ allocation functions on the process heap, in place of the C
// run-time's. Running out of memory ends the program after telling the user.

#include "fatal_failure.h"

#include <windows.h>

#include <cstddef>
#include <new>

namespace {

void* Allocate(std::size_t size)
{
    if (void* memory = HeapAlloc(GetProcessHeap(), 0, size ? size : 1))
        return memory;
    torvalink::FailOutOfMemory();
}

void Release(void* memory) noexcept
{
    if (memory)
        HeapFree(GetProcessHeap(), 0, memory);
}

} // namespace

void* operator new(std::size_t size)
{
    return Allocate(size);
}

void* operator new[](std::size_t size)
{
    return Allocate(size);
}

void operator delete(void* memory) noexcept
{
    Release(memory);
}

void operator delete[](void* memory) noexcept
{
    Release(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    Release(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    Release(memory);
}
