// Bitmaps, icons and cursors of the bound module as OLE picture objects.

#include <torvalink/CResDll.h>

#include "resource_core.h"

#include <torvalink/current_error.h>
#include "number_text.h"

namespace torvalink {

namespace {

// The image type of each kind, as UniqueImage destroys it.
constexpr UINT ImageTypes[] = {IMAGE_BITMAP, IMAGE_ICON, IMAGE_CURSOR};

// Null for an identifier that is no integer resource identifier or a kind that is none of the three.
HANDLE LoadImageHandle(HMODULE module, std::int32_t index, PictureKind kind)
{
    if (!IsResourceId(index))
        return nullptr;
    const LPCSTR name = MAKEINTRESOURCEA(index);
    switch (kind) {
    case Bitmap:
        return LoadBitmapA(module, name);
    case Icon:
        return LoadIconA(module, name);
    case Cursor:
        return LoadCursorA(module, name);
    }
    return nullptr;
}

} // namespace

PictureRef CResDll::LoadDllPicture(std::int32_t index, std::int32_t resformat)
{
    return IgnoreFailures<PictureRef>([&](PictureRef& picture) -> Status {
        const bool knownKind = resformat == Bitmap || resformat == Icon || resformat == Cursor;
        const auto kind = static_cast<PictureKind>(knownKind ? resformat : Bitmap);
        UniqueImage image(knownKind ? LoadImageHandle(DllHandle.get(), index, kind) : nullptr,
                          ImageDestroyer{ImageTypes[kind]});
        if (!image)
            return Failure(ErrResourceNotFound, L"Picture resource with identifier " + Decimal(index) + L" not found.");

        return PictureFromImage(std::move(image), kind, picture);
    });
}

PictureRef CResDll::LoadDllIcon(std::int32_t index)
{
    return LoadDllPicture(index, Icon);
}

PictureRef CResDll::LoadDllCursor(std::int32_t index)
{
    return LoadDllPicture(index, Cursor);
}

PictureRef CResDll::LoadDllBitmap(std::int32_t index)
{
    return LoadDllPicture(index, Bitmap);
}

Status PictureFromImage(UniqueImage image, PictureKind kind, PictureRef& picture, CreatePictureFunction create)
{
    // A cursor is wrapped as an icon. The picture takes the handle over.
    PICTDESC description{};
    description.cbSizeofstruct = sizeof description;
    if (kind == Bitmap) {
        description.picType = PICTYPE_BITMAP;
        description.bmp.hbitmap = static_cast<HBITMAP>(image.get());
    } else {
        description.picType = PICTYPE_ICON;
        description.icon.hicon = static_cast<HICON>(image.get());
    }
    Microsoft::WRL::ComPtr<IDispatch> created;
    if (FAILED(create(&description, __uuidof(IDispatch), TRUE, reinterpret_cast<void**>(created.GetAddressOf()))))
        return Failure(ErrInvalidPicture, L"Invalid Picture");
    image.release();

    if (FAILED(created.As(&picture)))
        return Failure(ErrInvalidPicture, L"Invalid Picture");
    return {};
}

} // namespace torvalink
