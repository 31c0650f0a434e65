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
    IgnoreFailures([&] {
        // The old library goes first, also when the new name is the same.
        ReleaseLibrary();
        DllNameValue.clear();

        const AnsiText ansiName = ToAnsi(vData);
        const Text name = FromAnsi(ansiName);
        DllHandle.reset(LoadLibraryA(ansiName.c_str()));
        if (!DllHandle)
            Raise(48, L"Error in loading DLL: " + name);
        DllNameValue = name;
    });
}

Text CResDll::DllName() const
{
    return DllNameValue;
}
