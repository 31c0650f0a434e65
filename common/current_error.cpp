#include <torvalink/current_error.h>

#include "fatal_failure.h"
#include "kernel_functions.h"

#include <atomic>
#include <iterator>
#include <new>

namespace torvalink {

namespace {

// Room that a record's description keeps from its creation on, so that "Out of
// memory" can be stored when no memory is left.
constexpr std::size_t KeptDescriptionRoom = 32;

// One slot for the process, taken on first use, holding each thread's record.
// Where the system has fiber-local storage (Vista and later), the slot's
// callback deletes a thread's record when the thread ends. Windows 95 to XP
// have plain thread-local storage only, with no word of a thread's end: there a
// thread that ends leaves its record behind. Plain slots rather than
// thread_local: the compiler's thread_local needs run-time support that
// Windows before XP lacks, and a static TLS directory that Windows before
// Vista ignores in a library loaded at run time.
struct Slot {
    DWORD index;
    void*(WINAPI* get)(DWORD);
    BOOL(WINAPI* set)(DWORD, void*);
};

void WINAPI DeleteRecord(void* record)
{
    delete static_cast<RaisedError*>(record);
}

Slot TakeSlot()
{
    const KernelFunctions kernel = LookUpKernelFunctions();
    auto* const flsAlloc = kernel.FlsAlloc;
    auto* const flsGet = kernel.FlsGetValue;
    auto* const flsSet = kernel.FlsSetValue;
    auto* const pin = kernel.GetModuleHandleExW;
    // The callback runs at every later thread end: the module that holds it
    // (this library may be inside another program's DLL) stays loaded.
    HMODULE self = nullptr;
    if (flsAlloc && flsGet && flsSet && pin &&
        pin(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
            reinterpret_cast<LPCWSTR>(&DeleteRecord), &self)) {
        const DWORD index = flsAlloc(DeleteRecord);
        if (index == FLS_OUT_OF_INDEXES)
            FailOutOfMemory();
        return {index, flsGet, flsSet};
    }
    const DWORD index = TlsAlloc();
    if (index == TLS_OUT_OF_INDEXES)
        FailOutOfMemory();
    return {index, TlsGetValue, TlsSetValue};
}

// Taken once; holds the slot's index plus one, so that "none taken yet" is zero
// and costs the executable no initialised data.
std::atomic<DWORD> slotPlusOne{0};
std::atomic<void*(WINAPI*)(DWORD)> slotGet{nullptr};
std::atomic<BOOL(WINAPI*)(DWORD, void*)> slotSet{nullptr};
std::atomic<LONG> taking{0};

Slot ErrorSlot()
{
    for (;;) {
        if (const DWORD known = slotPlusOne.load(std::memory_order_acquire))
            return {known - 1, slotGet.load(std::memory_order_relaxed), slotSet.load(std::memory_order_relaxed)};
        // One thread takes the slot; others wait for it, which takes no time.
        if (taking.exchange(1, std::memory_order_acquire) == 0) {
            const Slot slot = TakeSlot();
            slotGet.store(slot.get, std::memory_order_relaxed);
            slotSet.store(slot.set, std::memory_order_relaxed);
            slotPlusOne.store(slot.index + 1, std::memory_order_release);
            return slot;
        }
        Sleep(0);
    }
}

RaisedError* ThreadRecord(const Slot& slot)
{
    return static_cast<RaisedError*>(slot.get(slot.index));
}

} // namespace

RaisedError& CurrentError()
{
    const Slot slot = ErrorSlot();
    if (RaisedError* record = ThreadRecord(slot))
        return *record;
    auto* record = new RaisedError;
    record->Description.reserve(KeptDescriptionRoom);
    slot.set(slot.index, record);
    return *record;
}

void ClearCurrentError()
{
    if (RaisedError* record = ThreadRecord(ErrorSlot())) {
        record->Number = 0;
        record->Source.clear();
        record->Description.clear();
    }
}

void StoreCurrentError(RaisedError&& error)
{
    RaisedError& record = CurrentError();
    record.Number = error.Number;
    // Copied into the room the record has: it never shrinks below what
    // StoreOutOfMemory needs.
    record.Source.assign(error.Source);
    record.Description.assign(error.Description);
}

void StoreOutOfMemory() noexcept
{
    const Slot slot = ErrorSlot();
    RaisedError* record = ThreadRecord(slot);
    if (!record) {
        record = new (std::nothrow) RaisedError;
        if (!record)
            return; // nowhere to keep it: CurrentError will say nothing
        slot.set(slot.index, record);
    }
    record->Number = ErrOutOfMemory;
    record->Source.clear();
    static constexpr wchar_t text[] = L"Out of memory";
    if (record->Description.capacity() >= std::size(text) - 1)
        record->Description.assign(text, std::size(text) - 1);
    else
        record->Description.clear(); // a caller gave the record a shorter one
}

} // namespace torvalink
