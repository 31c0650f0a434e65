// Sound resources, played through winmm.dll.

#include "CResDll.h"

#include "system_library.h"

#include <mmsystem.h>

#include <atomic>

namespace torvalink {

namespace {

// winmm.dll is no Known DLL, so it is loaded from the system folder at run
// time. It stays loaded for the rest of the process: a sound goes on playing
// inside it after PlayWave has returned.
decltype(&PlaySoundA) PlaySoundFunction()
{
    static std::atomic<decltype(&PlaySoundA)> playSound{nullptr};
    if (const auto known = playSound.load(std::memory_order_acquire))
        return known;
    // Each racing thread takes a load reference; the module stays loaded either way.
    const HMODULE winmm = LoadSystemLibrary("winmm.dll").release();
    const auto found = winmm ? ProcAddress<decltype(PlaySoundA)>(winmm, "PlaySoundA") : nullptr;
    playSound.store(found, std::memory_order_release);
    return found;
}

} // namespace

bool CResDll::PlayWave(std::int32_t index)
{
    // Without winmm.dll no sound can start: the member reports false.
    const auto playSound = PlaySoundFunction();
    if (!playSound || !IsResourceId(index))
        return false;
    return playSound(MAKEINTRESOURCEA(index), DllHandle.get(), SND_RESOURCE | SND_ASYNC) != FALSE;
}

void CResDll::ReleaseLibrary()
{
    // A sound started from the library may still be playing from its memory:
    // stop it before the library goes. Without winmm loaded, nothing plays.
    if (DllHandle && GetModuleHandleA("winmm.dll"))
        if (const auto playSound = PlaySoundFunction())
            playSound(nullptr, nullptr, 0);
    DllHandle.reset();
}

} // namespace torvalink
