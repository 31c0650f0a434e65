#pragma once

// The owning types of the program, one per kind of resource, each with the
// value that means "none" as part of the type: modules, handles, files,
// searches, registry keys, local memory, mutex ownership, BSTRs, VARIANTs and
// loaded images.

#include <windows.h>
#include <oleauto.h>

#include <cstddef>
#include <memory>
#include <type_traits>

namespace torvalink {

struct ModuleFreer {
    void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer>;

// Handles for which null means none: threads, mutexes, events.
struct HandleCloser {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// A handle for which INVALID_HANDLE_VALUE means none, as files and searches
// report failure, in the form std::unique_ptr takes for its pointer. Null,
// which no such call returns, is taken as none too, so no deleter sees it.
class InvalidMeansNone {
public:
    InvalidMeansNone() noexcept = default;
    InvalidMeansNone(std::nullptr_t) noexcept {}
    InvalidMeansNone(HANDLE handle) noexcept : handle_(handle ? handle : INVALID_HANDLE_VALUE) {}
    operator HANDLE() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != INVALID_HANDLE_VALUE; }
    friend bool operator==(InvalidMeansNone a, InvalidMeansNone b) noexcept { return a.handle_ == b.handle_; }
    friend bool operator!=(InvalidMeansNone a, InvalidMeansNone b) noexcept { return !(a == b); }
    friend bool operator==(InvalidMeansNone a, std::nullptr_t) noexcept { return !a; }
    friend bool operator!=(InvalidMeansNone a, std::nullptr_t) noexcept { return !!a; }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

struct FileCloser {
    using pointer = InvalidMeansNone;
    void operator()(pointer file) const noexcept { CloseHandle(file); }
};
using UniqueFile = std::unique_ptr<void, FileCloser>;

struct FindCloser {
    using pointer = InvalidMeansNone;
    void operator()(pointer search) const noexcept { FindClose(search); }
};
using UniqueFind = std::unique_ptr<void, FindCloser>;

// Ownership of a mutex that the thread waited for: given back, not closed.
struct MutexReleaser {
    void operator()(HANDLE mutex) const noexcept { ReleaseMutex(mutex); }
};
using MutexOwnership = std::unique_ptr<void, MutexReleaser>;

struct LocalFreer {
    void operator()(void* memory) const noexcept { LocalFree(memory); }
};
using UniqueLocal = std::unique_ptr<void, LocalFreer>;

struct KeyCloser {
    void operator()(HKEY key) const noexcept { RegCloseKey(key); }
};
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

struct BstrFreer {
    void operator()(BSTR text) const noexcept { SysFreeString(text); }
};
using UniqueBstr = std::unique_ptr<OLECHAR, BstrFreer>;

// A bitmap, icon or cursor that nothing else owns yet; `type` is IMAGE_BITMAP,
// IMAGE_ICON or IMAGE_CURSOR, as for LoadImage.
struct ImageDestroyer {
    UINT type = IMAGE_BITMAP;
    void operator()(HANDLE image) const noexcept
    {
        if (type == IMAGE_BITMAP)
            DeleteObject(image);
        else if (type == IMAGE_ICON)
            DestroyIcon(static_cast<HICON>(image));
        else
            DestroyCursor(static_cast<HCURSOR>(image));
    }
};
using UniqueImage = std::unique_ptr<void, ImageDestroyer>;

// An owned VARIANT, cleared when it goes.
class Variant {
public:
    Variant() noexcept { VariantInit(&value_); }
    explicit Variant(bool flag) noexcept : Variant()
    {
        value_.vt = VT_BOOL;
        value_.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
    }
    explicit Variant(LONG number) noexcept : Variant()
    {
        value_.vt = VT_I4;
        value_.lVal = number;
    }
    Variant(Variant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    // Holds a copy of the text; false when no memory was left for it.
    bool AssignText(const wchar_t* text, std::size_t length) noexcept
    {
        VariantClear(&value_);
        value_.bstrVal = SysAllocStringLen(text, static_cast<UINT>(length));
        if (!value_.bstrVal)
            return false;
        value_.vt = VT_BSTR;
        return true;
    }

    VARIANT* get() noexcept { return &value_; }
    const VARIANT& value() const noexcept { return value_; }

private:
    VARIANT value_;
};

} // namespace torvalink
