#include "run_lock.h"

#include <cstdint>

namespace torvalink {

DWORD RunLock::Acquire(DWORD limitMs)
{
    // The Global\ prefix holds for every session of the NT family from
    // version 5 (Windows 2000) on; the systems before it do not know it.
    // GetVersion sets its high bit on Windows 95, 98 and Me and gives the
    // major version in its low byte.
    const DWORD version = GetVersion();
    const char* const name = "Global\\Setup_TORVALINK.Install";
    mutex_.reset(CreateMutexA(nullptr, FALSE, static_cast<std::int32_t>(version & 0x800000FF) >= 5 ? name : name + 7));
    if (!mutex_)
        return WAIT_FAILED;
    DWORD waited = WaitForSingleObject(mutex_.get(), limitMs);
    if (waited == WAIT_ABANDONED)
        waited = WAIT_OBJECT_0;
    if (waited == WAIT_OBJECT_0)
        owned_.reset(mutex_.get());
    return waited;
}

} // namespace torvalink
