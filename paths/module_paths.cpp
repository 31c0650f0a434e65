#include "module_paths.h"

#include "ansi_text.h"
#include "failures.h"
#include "kernel_functions.h"

namespace torvalink {

Status GetModulePath(HMODULE module, Text& path)
{
    path.clear();
    const KernelFunctions kernel = LookUpKernelFunctions();
    if (kernel.WideNames()) {
        // A path that fills the buffer may have been cut: try a larger one.
        for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
            path.assign(size, L'\0');
            const DWORD length = kernel.GetModuleFileNameW(module, path.data(), size);
            if (length == 0)
                return LastWin32Failure();
            if (length < size) {
                path.resize(length);
                return {};
            }
        }
        path.clear();
        return Win32Failure(ERROR_INSUFFICIENT_BUFFER);
    }
    char buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, buffer, MAX_PATH);
    if (length == 0)
        return LastWin32Failure();
    if (length >= MAX_PATH)
        return Win32Failure(ERROR_INSUFFICIENT_BUFFER);
    return FromAnsi(AnsiView(buffer, length), path);
}

Status GetSystemFolderPath(Text& path)
{
    path.clear();
    const KernelFunctions kernel = LookUpKernelFunctions();
    if (kernel.WideNames()) {
        wchar_t buffer[MAX_PATH];
        const UINT length = kernel.GetSystemDirectoryW(buffer, MAX_PATH);
        if (length == 0)
            return LastWin32Failure();
        if (length >= MAX_PATH)
            return Win32Failure(ERROR_INSUFFICIENT_BUFFER);
        path.assign(buffer, length);
        return {};
    }
    char buffer[MAX_PATH];
    const UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
    if (length == 0)
        return LastWin32Failure();
    if (length >= MAX_PATH)
        return Win32Failure(ERROR_INSUFFICIENT_BUFFER);
    return FromAnsi(AnsiView(buffer, length), path);
}

} // namespace torvalink
