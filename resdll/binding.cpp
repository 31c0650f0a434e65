// Creation, destruction and binding of CResDll to a library.

#include <torvalink/CResDll.h>

#include <torvalink/current_error.h>
#include "named_files.h"
#include "resource_core.h"

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

        // Never a look-alike of the name (Windows 95, 98 and Me: one that the
        // code page cannot hold), which could name another library.
        DllHandle = LoadNamedLibrary(vData);
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

HMODULE BoundModule(const CResDll& resources)
{
    return resources.DllHandle.get();
}

} // namespace torvalink
