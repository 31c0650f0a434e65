// Bitmaps, icons and cursors of the bound module as OLE picture objects.

#include "CResDll.h"

#include "current_error.h"
#include "number_text.h"

namespace torvalink {

namespace {

enum PictureKind : std::int32_t { Bitmap = 0, Icon = 1, Cursor = 2 };

// A loaded image handle that no picture owns yet.
struct LoadedImage {
    HANDLE handle = nullptr;
    PictureKind kind = Bitmap;

    ~LoadedImage()
    {
        if (!handle)
            return;
        if (kind == Bitmap)
            DeleteObject(handle);
        else if (kind == Icon)
            DestroyIcon(static_cast<HICON>(handle));
        else
            DestroyCursor(static_cast<HCURSOR>(handle));
    }
};

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
        LoadedImage image;
        image.kind = static_cast<PictureKind>(resformat);
        image.handle = knownKind ? LoadImageHandle(DllHandle.get(), index, image.kind) : nullptr;
        if (!image.handle)
            return Failure(326, L"Picture resource with identifier " + Decimal(index) + L" not found.");

        // A cursor is wrapped as an icon. The picture takes the handle over.
        PICTDESC description{};
        description.cbSizeofstruct = sizeof description;
        if (image.kind == Bitmap) {
            description.picType = PICTYPE_BITMAP;
            description.bmp.hbitmap = static_cast<HBITMAP>(image.handle);
        } else {
            description.picType = PICTYPE_ICON;
            description.icon.hicon = static_cast<HICON>(image.handle);
        }
        Microsoft::WRL::ComPtr<IDispatch> created;
        if (FAILED(OleCreatePictureIndirect(&description, __uuidof(IDispatch), TRUE,
                                            reinterpret_cast<void**>(created.GetAddressOf()))))
            return Failure(481, L"Invalid Picture");
        image.handle = nullptr;

        if (FAILED(created.As(&picture)))
            return Failure(481, L"Invalid Picture");
        return {};
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

} // namespace torvalink
