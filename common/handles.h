#pragma once

// One owning type per kind of Windows handle; the invalid value is part of the type.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace torvalink {

struct ModuleFreer {
    void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer>;

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// Ownership of a mutex that the thread waited for: given back, not closed.
struct MutexReleaser {
    void operator()(HANDLE mutex) const noexcept { ReleaseMutex(mutex); }
};
using MutexOwnership = std::unique_ptr<void, MutexReleaser>;

struct FindCloser {
    void operator()(HANDLE search) const noexcept { FindClose(search); }
};
using UniqueFind = std::unique_ptr<void, FindCloser>;

struct LocalFreer {
    void operator()(void* memory) const noexcept { LocalFree(memory); }
};
using UniqueLocal = std::unique_ptr<void, LocalFreer>;

// File and search handles report failure as INVALID_HANDLE_VALUE, not null.
inline HANDLE NullIfInvalid(HANDLE handle) noexcept
{
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

struct KeyCloser {
    void operator()(HKEY key) const noexcept { RegCloseKey(key); }
};
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

} // namespace torvalink
