#pragma once

#include <torvalink/handles.h>

#include <windows.h>

namespace torvalink {

// One run of the installer at a time, in every session where the system has
// sessions: held from Acquire until the object goes.
class RunLock {
public:
    // Waits at most `limitMs` for another run to end. WAIT_OBJECT_0 when held
    // (also when a run ended without giving it back), WAIT_TIMEOUT when another
    // run still holds it, WAIT_FAILED with the last error set.
    DWORD Acquire(DWORD limitMs);

private:
    UniqueHandle mutex_;
    MutexOwnership owned_; // given back before mutex_ is closed
};

} // namespace torvalink
