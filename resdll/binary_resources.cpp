// Resources as raw bytes: into a buffer, and into a file.

#include <torvalink/CResDll.h>

#include "ansi_text.h"
#include <torvalink/current_error.h>
#include "failures.h"
#include "named_files.h"
#include "number_text.h"

namespace torvalink {

namespace {

// 0 when the file holds exactly `bytes`, otherwise the failure's number.
std::int32_t WriteNewFile(const Text& path, const ByteBuffer& bytes)
{
    // CREATE_ALWAYS: a file that another writer put there since the deletion is
    // cut, so success means exactly these bytes. Nobody else may write to the
    // file while it is open.
    UniqueFile file = CreateNamedFile(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return FileErrorNumber(GetLastError());
    if (written != bytes.size())
        return FileErrorNumber(ERROR_WRITE_FAULT);
    if (!CloseHandle(file.release()))
        return FileErrorNumber(GetLastError());
    return 0;
}

// A wildcard would make the deletion below remove every file it matches; a
// zero character would cut the name short.
bool IsBadName(const Text& path)
{
    return path.find_first_of(TextView(L"*?", 3)) != Text::npos;
}

} // namespace

ByteBuffer CResDll::LoadDllData(std::int32_t index, TextArg resformat)
{
    return IgnoreFailures<ByteBuffer>([&](ByteBuffer& buffer) -> Status {
        const HMODULE module = DllHandle.get();
        AnsiText type;
        TORVALINK_RETURN_IF_FAILED(ToAnsi(resformat.text(), type));
        const HRSRC info = IsResourceId(index) ? FindResourceA(module, MAKEINTRESOURCEA(index), type.c_str()) : nullptr;
        if (!info)
            return Failure(ErrResourceNotFound, L"Custom resource with identifier " + Decimal(index) + L" not found.");

        const DWORD size = SizeofResource(module, info);
        if (size == 0)
            return {};

        const HGLOBAL data = LoadResource(module, info);
        const void* first = data ? LockResource(data) : nullptr;
        if (!first)
            return Failure(ErrResourceLoad, L"Error loading from file");

        const auto* bytes = static_cast<const std::uint8_t*>(first);
        buffer.assign(bytes, bytes + size);
        return {};
    });
}

// Gives back only the number of a failure: a description would reach nobody.
std::int32_t CResDll::SaveDllData(std::int16_t index, TextArg Path, TextArg resformat, bool overwrite)
{
    if (IsBadName(Path))
        return ErrBadFileName;

    if (PathExists(Path)) {
        if (!overwrite)
            return ErrFileExists;
        if (!DeleteNamedFile(Path))
            return FileErrorNumber(GetLastError());
    }

    const ByteBuffer buffer = LoadDllData(index, resformat);
    if (IsBufferEmpty(buffer))
        return ErrResourceNotFound;
    return WriteNewFile(Path, buffer);
}

bool CResDll::PathExists(const Text& Path) const
{
    FoundEntry found;
    const UniqueFind search = FindNamedEntry(Path, found);
    return search != nullptr;
}

bool CResDll::IsBufferEmpty(const ByteBuffer& buffer)
{
    return buffer.empty();
}

} // namespace torvalink
