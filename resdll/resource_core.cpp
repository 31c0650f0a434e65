// Resources as bytes, and as new files written straight from the module.

#include "resource_core.h"

#include "ansi_text.h"
#include <torvalink/current_error.h>
#include "failures.h"
#include "named_files.h"
#include "number_text.h"
#include "windows_family.h"

namespace torvalink {

namespace {

bool Readable(DWORD protection)
{
    return protection != 0 && (protection & (PAGE_NOACCESS | PAGE_GUARD)) == 0;
}

// Whether every byte lies inside the module's own mapping and may be read. A
// damaged resource directory can name bytes anywhere, or in a section that was
// mapped without access; Wine, unlike Windows, hands out such an address
// without looking.
bool ReadableInModule(HMODULE module, const void* first, std::size_t size)
{
    // A library mapped as data has the low bits of its handle set.
    const auto* base = reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(module) & ~std::uintptr_t{3});
    auto at = reinterpret_cast<std::uintptr_t>(first);
    const std::uintptr_t end = at + size;
    if (end < at)
        return false;
    while (at < end) {
        MEMORY_BASIC_INFORMATION region{};
        if (VirtualQuery(reinterpret_cast<const void*>(at), &region, sizeof region) != sizeof region ||
            region.State != MEM_COMMIT || region.AllocationBase != base || !Readable(region.Protect))
            return false;
        at = reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize;
    }
    return true;
}

// On the NT family (and Wine) the information handle is the resource's data
// entry in the module, which SizeofResource and LoadResource read: a damaged
// directory can point it anywhere. Windows 95, 98 and Me give a handle of
// their own.
bool DataEntryReadable(HMODULE module, HRSRC info)
{
    return Windows9xFamily() || ReadableInModule(module, info, sizeof(IMAGE_RESOURCE_DATA_ENTRY));
}

} // namespace

Status FindResourceBytes(HMODULE module, std::int32_t index, const Text& type, ResourceBytes& bytes)
{
    bytes = {};
    AnsiText ansiType;
    TORVALINK_RETURN_IF_FAILED(ToAnsi(type, ansiType));
    return FindResourceBytes(module, index, ansiType.c_str(), bytes);
}

Status FindResourceBytes(HMODULE module, std::int32_t index, LPCSTR type, ResourceBytes& bytes)
{
    bytes = {};
    const HRSRC info = IsResourceId(index) ? FindResourceA(module, MAKEINTRESOURCEA(index), type) : nullptr;
    if (!info)
        return Failure(ErrResourceNotFound, L"Custom resource with identifier " + Decimal(index) + L" not found.");

    const HMODULE image = module ? module : GetModuleHandleA(nullptr);
    if (!DataEntryReadable(image, info))
        return Failure(ErrResourceLoad, L"Error loading from file");
    const DWORD size = SizeofResource(module, info);
    if (size == 0)
        return {};

    const HGLOBAL data = LoadResource(module, info);
    const auto* first = static_cast<const std::uint8_t*>(data ? LockResource(data) : nullptr);
    if (!first || !ReadableInModule(image, first, size))
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
