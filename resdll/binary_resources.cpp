// Resources as raw bytes: into a buffer, and into a file.

#include "CResDll.h"

#include "ansi_text.h"
#include "current_error.h"
#include "number_text.h"

#include <cstring>

namespace {

void WriteNewFile(const AnsiText& path, const ByteBuffer& bytes)
{
    // OPEN_ALWAYS: an existing file is opened without being cut.
    UniqueHandle file(NullIfInvalid(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file)
        RaiseWin32(GetLastError());

    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        RaiseWin32(GetLastError());
    if (written != bytes.size())
        RaiseWin32(ERROR_WRITE_FAULT);

    if (!CloseHandle(file.release()))
        RaiseWin32(GetLastError());
}

bool HasWildcard(const AnsiText& path)
{
    return path.find_first_of("*?") != AnsiText::npos;
}

} // namespace

ByteBuffer CResDll::LoadDllData(std::int32_t index, const Text& resformat)
{
    return IgnoreFailures([&] {
        const HMODULE module = DllHandle.get();
        const AnsiText type = ToAnsi(resformat);
        const HRSRC info = IsResourceId(index) ? FindResourceA(module, MAKEINTRESOURCEA(index), type.c_str()) : nullptr;
        if (!info)
            Raise(326, L"Custom resource with identifier " + Decimal(index) + L" not found.");

        const DWORD size = SizeofResource(module, info);
        if (size == 0)
            return ByteBuffer{};

        const HGLOBAL data = LoadResource(module, info);
        const void* first = data ? LockResource(data) : nullptr;
        if (!first)
            Raise(31037, L"Error loading from file");

        ByteBuffer buffer(size);
        std::memcpy(buffer.data(), first, size);
        return buffer;
    });
}

std::int32_t CResDll::SaveDllData(std::int16_t index, const Text& Path, const Text& resformat, bool overwrite)
{
    return FailureNumberOf([&] {
        // A wildcard would make the deletion below remove every file it matches.
        // Checked on the ANSI form: characters the code page lacks turn into "?".
        const AnsiText path = ToAnsi(Path);
        if (HasWildcard(path))
            RaiseWin32(ERROR_INVALID_NAME);

        if (PathExists(Path)) {
            if (!overwrite)
                Raise(58, L"File already exists");
            if (!DeleteFileA(path.c_str()))
                RaiseWin32(GetLastError());
        }

        const ByteBuffer buffer = LoadDllData(index, resformat);
        if (IsBufferEmpty(buffer))
            Raise(326, L"Resource with identifier " + Decimal(index) + L" not found.");

        WriteNewFile(path, buffer);
    });
}

bool CResDll::PathExists(const Text& Path) const
{
    WIN32_FIND_DATAA found;
    const UniqueFind search(NullIfInvalid(FindFirstFileA(ToAnsi(Path).c_str(), &found)));
    return search != nullptr;
}

bool CResDll::IsBufferEmpty(const ByteBuffer& buffer)
{
    return buffer.empty();
}
