// Sound resources, played through winmm.dll.

#include "CResDll.h"

#include "raised_error.h"
#include "system_library.h"

#include <mmsystem.h>

namespace {

// winmm.dll is no Known DLL, so it is loaded from the system folder at run
// time. It stays loaded for the rest of the process: a sound goes on playing
// inside it after PlayWave has returned.
decltype(&PlaySoundA) PlaySoundFunction()
{
    static const HMODULE winmm = LoadSystemLibrary(L"winmm.dll").release();
    return winmm ? ProcAddress<decltype(PlaySoundA)>(winmm, "PlaySoundA") : nullptr;
}

} // namespace

bool CResDll::PlayWave(std::int32_t index)
{
    const auto playSound = PlaySoundFunction();
    if (!playSound)
        RaiseWin32(ERROR_MOD_NOT_FOUND);
    if (!IsResourceId(index))
        return false;
    return playSound(MAKEINTRESOURCEA(index), DllHandle.get(), SND_RESOURCE | SND_ASYNC) != FALSE;
}

void CResDll::ReleaseLibrary()
{
    // A sound started from the library may still be playing from its memory:
    // stop it before the library goes. Without winmm loaded, nothing plays.
    if (DllHandle && GetModuleHandleW(L"winmm.dll"))
        if (const auto playSound = PlaySoundFunction())
            playSound(nullptr, nullptr, 0);
    DllHandle.reset();
}
