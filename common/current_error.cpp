#include <torvalink/current_error.h>

#include <atomic>

namespace torvalink {

namespace {

// One thread-local slot for the process, taken on first use. Plain TlsAlloc
// rather than thread_local: the compiler's thread_local needs run-time
// support that Windows before XP lacks, and a static TLS directory that
// Windows before Vista ignores in a library loaded at run time.
// Holds the slot plus one, so that "none taken yet" is zero and costs the
// executable no initialised data.
std::atomic<DWORD> errorSlotPlusOne{0};

DWORD ErrorSlot()
{
    DWORD known = errorSlotPlusOne.load(std::memory_order_acquire);
    if (known != 0)
        return known - 1;
    const DWORD fresh = TlsAlloc();
    if (fresh == TLS_OUT_OF_INDEXES)
        FailOutOfMemory();
    // Two threads may race here: the first slot wins and the other is given back.
    if (errorSlotPlusOne.compare_exchange_strong(known, fresh + 1, std::memory_order_acq_rel))
        return fresh;
    TlsFree(fresh);
    return known - 1;
}

} // namespace

RaisedError& CurrentError()
{
    const DWORD slot = ErrorSlot();
    auto* error = static_cast<RaisedError*>(TlsGetValue(slot));
    if (!error) {
        error = new RaisedError;
        TlsSetValue(slot, error);
    }
    return *error;
}

void ClearCurrentError()
{
    const DWORD slot = ErrorSlot();
    delete static_cast<RaisedError*>(TlsGetValue(slot));
    TlsSetValue(slot, nullptr);
}

} // namespace torvalink
