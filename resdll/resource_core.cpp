// Resources as bytes, and as new files written straight from the module.

#include "resource_core.h"

#include "ansi_text.h"
#include <torvalink/current_error.h>
#include "failures.h"
#include "named_files.h"
#include "number_text.h"

namespace torvalink {

namespace {

// The allocation that holds `address`, when it is committed memory.
const void* AllocationOf(const void* address)
{
    MEMORY_BASIC_INFORMATION region{};
    if (VirtualQuery(address, &region, sizeof region) != sizeof region || region.State != MEM_COMMIT)
        return nullptr;
    return region.AllocationBase;
}

// Whether the bytes lie inside the module's own mapping. A damaged resource
// directory can name bytes anywhere, and Wine, unlike Windows, hands out such
// an address without looking.
bool InsideModule(HMODULE module, const std::uint8_t* first, std::uint32_t size)
{
    // A library mapped as data has the low bits of its handle set.
    const auto* base = reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(module) & ~std::uintptr_t{3});
    return AllocationOf(first) == base && AllocationOf(first + size - 1) == base;
}

} // namespace

Status FindResourceBytes(HMODULE module, std::int32_t index, const Text& type, ResourceBytes& bytes)
{
    bytes = {};
    AnsiText ansiType;
    TORVALINK_RETURN_IF_FAILED(ToAnsi(type, ansiType));
    const HRSRC info = IsResourceId(index) ? FindResourceA(module, MAKEINTRESOURCEA(index), ansiType.c_str()) : nullptr;
    if (!info)
        return Failure(ErrResourceNotFound, L"Custom resource with identifier " + Decimal(index) + L" not found.");

    const DWORD size = SizeofResource(module, info);
    if (size == 0)
        return {};

    const HGLOBAL data = LoadResource(module, info);
    const auto* first = static_cast<const std::uint8_t*>(data ? LockResource(data) : nullptr);
    if (!first || !InsideModule(module ? module : GetModuleHandleA(nullptr), first, size))
        return Failure(ErrResourceLoad, L"Error loading from file");
    bytes = {first, size};
    return {};
}

Status ClearWayForNewFile(const Text& path, bool overwrite)
{
    if (path.find_first_of(TextView(L"*?", 3)) != Text::npos)
        return RunTimeFailure(ErrBadFileName);
    FoundEntry found;
    if (!FindNamedEntry(path, found))
        return {};
    if (!overwrite)
        return RunTimeFailure(ErrFileExists);
    return FileResult(DeleteNamedFile(path));
}

Status CheckOnlyName(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information))
        return LastFileFailure();
    const bool ordinary =
        information.nNumberOfLinks == 1 &&
        (information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0;
    return ordinary ? Status() : RunTimeFailure(ErrPathFileAccess);
}

Status WriteNewFile(const Text& path, const ResourceBytes& bytes)
{
    // Created new: a name that reappeared since the deletion, a link to
    // another file among them, fails instead of being opened and cut. Nobody
    // else may write to the file while it is open.
    UniqueFile file = CreateNewNamedFile(path, GENERIC_WRITE, FILE_SHARE_READ);
    if (!file)
        return LastFileFailure();
    TORVALINK_RETURN_IF_FAILED(CheckOnlyName(file.get()));
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data, bytes.size, &written, nullptr))
        return LastFileFailure();
    if (written != bytes.size)
        return FileFailure(ERROR_WRITE_FAULT);
    return FileResult(CloseHandle(file.release()));
}

Status SaveResource(HMODULE module, std::int32_t index, const Text& type, const Text& path, bool overwrite,
                    ResourceBytes& saved)
{
    saved = {};
    TORVALINK_RETURN_IF_FAILED(ClearWayForNewFile(path, overwrite));
    ResourceBytes bytes;
    IgnoreFailures([&] { return FindResourceBytes(module, index, type, bytes); });
    if (bytes.size == 0)
        return RunTimeFailure(ErrResourceNotFound);
    TORVALINK_RETURN_IF_FAILED(WriteNewFile(path, bytes));
    saved = bytes;
    return {};
}

} // namespace torvalink
