// Sound resources, played through winmm.dll.

#include <torvalink/CResDll.h>

#include "resource_core.h"
#include "library_functions.h"
#include "system_library.h"

namespace torvalink {

bool CResDll::PlayWave(std::int32_t index)
{
    // Without winmm.dll no sound can start: the member reports false.
    const auto playSound = LookUpWinmmFunctions().PlaySoundA;
    if (!playSound || !IsResourceId(index))
        return false;
    // Bytes the module does not hold whole are not handed on; whether a
    // missing sound exists is the platform's to say.
    ResourceBytes bytes;
    if (FindResourceBytes(DllHandle.get(), index, "WAVE", bytes).Number() == ErrResourceLoad)
        return false;
    return playSound(MAKEINTRESOURCEA(index), DllHandle.get(), SND_RESOURCE | SND_ASYNC) != FALSE;
}

void CResDll::ReleaseLibrary()
{
    // A sound started from the library may still be playing from its memory:
    // stop it before the library goes. Before PlayWave loaded winmm, nothing
    // of ours plays.
    if (DllHandle && LoadedSystemLibrary(RunTimeLibrary::Winmm))
        if (const auto playSound = LookUpWinmmFunctions().PlaySoundA)
            playSound(nullptr, nullptr, 0);
    DllHandle.reset();
}

} // namespace torvalink
