#pragma once

// The test executable's own allocation functions (allocation_hooks.cpp, linked
// into it): they count what is allocated and not yet freed, and fail on
// request, as a machine without memory would.

#include <cstddef>

namespace torvalink {

// Blocks that the C++ allocation functions gave out and that are not freed yet.
long LiveAllocations();

// While it lives, every allocation of at least `bytes` on the creating thread
// fails (std::bad_alloc, or null from the nothrow forms).
class FailingAllocations {
public:
    explicit FailingAllocations(std::size_t bytes);
    ~FailingAllocations();
    FailingAllocations(const FailingAllocations&) = delete;
    FailingAllocations& operator=(const FailingAllocations&) = delete;
};

} // namespace torvalink
