#include "run_lock.h"

#include "windows_family.h"

namespace torvalink {

DWORD RunLock::Acquire(DWORD limitMs)
{
    // The Global\ prefix holds for every session of the NT family from
    // Windows 2000 on; the systems before it do not know it.
    const char* const name = "Global\\Setup_TORVALINK.Install";
    mutex_.reset(CreateMutexA(nullptr, FALSE, Windows2000OrLater() ? name : name + 7));
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
