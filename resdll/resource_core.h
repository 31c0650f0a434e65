#pragma once

// The work behind CResDll, for the project's own code: each step returns its
// Status, and CResDll turns that into CurrentError or a number.

#include <torvalink/CResDll.h>
#include <torvalink/raised_error.h>
#include <torvalink/text.h>

#include <windows.h>

#include <cstdint>

namespace torvalink {

// A resource's bytes where the module keeps them: valid for as long as the
// module stays loaded. Empty for a resource of size 0.
struct ResourceBytes {
    const std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
};

// The module that `resources` reads: null while it is unbound (the running
// executable).
HMODULE BoundModule(const CResDll& resources);

// Resource `index` of `type` in `module` (null: the running executable).
// 326 when there is no such resource; 31037 "Error loading from file" when its
// bytes cannot be had, or its data entry or bytes would lie outside the module
// or could not be read there (a damaged library): nothing has read them then.
Status FindResourceBytes(HMODULE module, std::int32_t index, const Text& type, ResourceBytes& bytes);
// The same for a type given in the platform's form: a name or MAKEINTRESOURCEA.
Status FindResourceBytes(HMODULE module, std::int32_t index, LPCSTR type, ResourceBytes& bytes);
// A predefined type (RT_*, wide under UNICODE): an integer identifier alike in both forms.
inline LPCSTR PredefinedType(LPCWSTR type)
{
    return reinterpret_cast<LPCSTR>(type);
}

// The steps of SaveResource, in their order. The first refuses a name with a
// wildcard (52; the deletion would remove every file it matches), then an
// existing file without `overwrite` (58), and deletes one with it.
Status ClearWayForNewFile(const Text& path, bool overwrite);
// Creates `path` as a new file and writes `bytes`: the failure of the creation
// where anything stands at the name by now, 75 where what was created is not
// an ordinary file with this one name (CheckOnlyName).
Status WriteNewFile(const Text& path, const ResourceBytes& bytes);
Status CheckOnlyName(HANDLE file);

// Writes resource `index` of `type` as the new file `path`, straight from
// where the module keeps it, as CResDll::SaveDllData does: first 52 for a name
// with a wildcard (the deletion would remove every file it matches), 58 for an
// existing file without `overwrite`, or the deletion's failure; then the
// search, in ignore-failures mode (CurrentError tells why nothing was found),
// and 326 when it gave no bytes; then the write's failure. Success means the
// file holds exactly `saved`, the bytes written; nobody else may write to it
// meanwhile.
Status SaveResource(HMODULE module, std::int32_t index, const Text& type, const Text& path, bool overwrite,
                    ResourceBytes& saved);

// The OLE picture object that takes over `image` (a cursor as an icon);
// 481 "Invalid Picture" when none can be made, and the image is destroyed.
enum PictureKind : std::int32_t { Bitmap = 0, Icon = 1, Cursor = 2 };
using CreatePictureFunction = decltype(&::OleCreatePictureIndirect);
Status PictureFromImage(UniqueImage image, PictureKind kind, PictureRef& picture,
                        CreatePictureFunction create = ::OleCreatePictureIndirect);

} // namespace torvalink
