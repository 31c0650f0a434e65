#include "allocation_hooks.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace torvalink {

namespace {

std::atomic<long> live{0};
std::atomic<std::size_t> failFrom{0}; // 0: none fails
std::atomic<DWORD> failingThread{0};

void* Allocate(std::size_t size) noexcept
{
    const std::size_t limit = failFrom.load();
    if (limit != 0 && size >= limit && GetCurrentThreadId() == failingThread.load())
        return nullptr;
    void* block = std::malloc(size ? size : 1);
    if (block)
        ++live;
    return block;
}

void Release(void* block) noexcept
{
    if (!block)
        return;
    --live;
    std::free(block);
}

} // namespace

long LiveAllocations()
{
    return live.load();
}

FailingAllocations::FailingAllocations(std::size_t bytes)
{
    failingThread = GetCurrentThreadId();
    failFrom = bytes;
}

FailingAllocations::~FailingAllocations()
{
    failFrom = 0;
}

} // namespace torvalink

void* operator new(std::size_t size)
{
    if (void* block = torvalink::Allocate(size))
        return block;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return torvalink::Allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return torvalink::Allocate(size);
}

void operator delete(void* block) noexcept
{
    torvalink::Release(block);
}

void operator delete[](void* block) noexcept
{
    torvalink::Release(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    torvalink::Release(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    torvalink::Release(block);
}

void operator delete(void* block, const std::nothrow_t&) noexcept
{
    torvalink::Release(block);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    torvalink::Release(block);
}
