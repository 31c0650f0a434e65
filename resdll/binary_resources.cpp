// Resources as raw bytes: into a buffer, and into a file.

#include "CResDll.h"

#include "ansi_text.h"
#include "current_error.h"
#include "error_text.h"
#include "number_text.h"

namespace torvalink {

namespace {

Status WriteNewFile(const AnsiText& path, const ByteBuffer& bytes)
{
    // CREATE_ALWAYS: a file that another writer put there since the deletion is
    // cut, so success means exactly these bytes. Nobody else may write to the
    // file while it is open.
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return LastFileFailure();

    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return LastFileFailure();
    if (written != bytes.size())
        return FileFailure(ERROR_WRITE_FAULT);

    if (!CloseHandle(file.release()))
        return LastFileFailure();
    return {};
}

// A wildcard would make the deletion below remove every file it matches; a
// zero character would cut the name short.
bool IsBadName(const AnsiText& path)
{
    return path.find_first_of(AnsiView("*?", 3)) != AnsiText::npos;
}

} // namespace

ByteBuffer CResDll::LoadDllData(std::int32_t index, TextArg resformat)
{
    return IgnoreFailures<ByteBuffer>([&](ByteBuffer& buffer) -> Status {
        const HMODULE module = DllHandle.get();
        AnsiText type;
        RETURN_IF_FAILED(ToAnsi(resformat.text(), type));
        const HRSRC info = IsResourceId(index) ? FindResourceA(module, MAKEINTRESOURCEA(index), type.c_str()) : nullptr;
        if (!info)
            return Failure(326, L"Custom resource with identifier " + Decimal(index) + L" not found.");

        const DWORD size = SizeofResource(module, info);
        if (size == 0)
            return {};

        const HGLOBAL data = LoadResource(module, info);
        const void* first = data ? LockResource(data) : nullptr;
        if (!first)
            return Failure(31037, L"Error loading from file");

        const auto* bytes = static_cast<const std::uint8_t*>(first);
        buffer.assign(bytes, bytes + size);
        return {};
    });
}

std::int32_t CResDll::SaveDllData(std::int16_t index, TextArg Path, TextArg resformat, bool overwrite)
{
    return WriteResourceFile(index, Path, resformat, overwrite).Number();
}

Status CResDll::WriteResourceFile(std::int16_t index, const Text& Path, const Text& resformat, bool overwrite)
{
    AnsiText path;
    RETURN_IF_FAILED(ToAnsiPath(Path, path));
    if (IsBadName(path))
        return FileFailure(ERROR_INVALID_NAME);

    if (PathExists(Path)) {
        if (!overwrite)
            return Failure(58, L"File already exists");
        if (!DeleteFileA(path.c_str()))
            return LastFileFailure();
    }

    const ByteBuffer buffer = LoadDllData(index, resformat);
    if (IsBufferEmpty(buffer))
        return Failure(326, L"Resource with identifier " + Decimal(index) + L" not found.");

    return WriteNewFile(path, buffer);
}

bool CResDll::PathExists(const Text& Path) const
{
    AnsiText path;
    if (ToAnsiPath(Path, path).Failed())
        return false;
    WIN32_FIND_DATAA found;
    const UniqueFind search(FindFirstFileA(path.c_str(), &found));
    return search != nullptr;
}

bool CResDll::IsBufferEmpty(const ByteBuffer& buffer)
{
    return buffer.empty();
}

} // namespace torvalink
