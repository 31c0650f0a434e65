#pragma once

// What the tests put in place of the system's, all in one place: the kernel32
// table (to run the Windows 95, 98 and Me forms of the named-file calls, or to
// record the names given), and the libraries loaded at run time (to see the
// calls made into them). The other seams: RegisterDllWith (modRegisterDll.h),
// the picture maker of PictureFromImage (resource_core.h) and ShowMessage,
// whose recorder the test executables link in its place (message_box.h).

#include "kernel_functions.h"
#include "system_library.h"

namespace torvalink {

// For tests, while it lives: `table` in place of the system's (not owned);
// null stands for Windows 95, which has none of them.
class KernelFunctionsOverride {
public:
    explicit KernelFunctionsOverride(const KernelFunctions* table);
    ~KernelFunctionsOverride();
    KernelFunctionsOverride(const KernelFunctionsOverride&) = delete;
    KernelFunctionsOverride& operator=(const KernelFunctionsOverride&) = delete;
};

// For tests: `which` resolves to `library` from now on (not owned), so that a
// test can see the calls made into it; null loads the system's again.
void OverrideSystemLibrary(RunTimeLibrary which, HMODULE library);

} // namespace torvalink
