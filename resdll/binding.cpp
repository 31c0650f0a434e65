// Creation, destruction and binding of CResDll to a library.

#include "CResDll.h"

#include "ansi_text.h"
#include "current_error.h"

namespace torvalink {

CResDll::~CResDll()
{
    ReleaseLibrary();
}

void CResDll::DllName(TextArg vData)
{
    IgnoreFailures([&]() -> Status {
        // The old library goes first, also when the new name is the same.
        ReleaseLibrary();
        DllNameValue.clear();

        // A name that the code page cannot hold is not handed over with look-alikes
        // in it, which could name another library: it cannot be loaded.
        AnsiText ansiName;
        if (!ToAnsiPath(vData, ansiName).Failed())
            DllHandle.reset(LoadLibraryA(ansiName.c_str()));
        if (!DllHandle)
            return Failure(ErrDllLoad, L"Error in loading DLL: " + vData.text());
        DllNameValue = vData;
        return {};
    });
}

Text CResDll::DllName() const
{
    return DllNameValue;
}

} // namespace torvalink
