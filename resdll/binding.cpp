// Creation, destruction and binding of CResDll to a library.

#include "CResDll.h"

#include "ansi_text.h"
#include "current_error.h"

CResDll::~CResDll()
{
    ReleaseLibrary();
}

void CResDll::DllName(const Text& vData)
{
    IgnoreFailures([&]() -> Status {
        // The old library goes first, also when the new name is the same.
        ReleaseLibrary();
        DllNameValue.clear();

        AnsiText ansiName;
        RETURN_IF_FAILED(ToAnsi(vData, ansiName));
        Text name;
        RETURN_IF_FAILED(FromAnsi(ansiName, name));
        DllHandle.reset(LoadLibraryA(ansiName.c_str()));
        if (!DllHandle)
            return Failure(48, L"Error in loading DLL: " + name);
        DllNameValue = name;
        return {};
    });
}

Text CResDll::DllName() const
{
    return DllNameValue;
}
