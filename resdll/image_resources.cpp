// Bitmaps, icons and cursors of the bound module as OLE picture objects.

#include <torvalink/CResDll.h>

#include "resource_core.h"

#include <torvalink/current_error.h>
#include "number_text.h"

#include <cstring>

namespace torvalink {

namespace {

// The image type of each kind, as UniqueImage destroys it.
constexpr UINT ImageTypes[] = {IMAGE_BITMAP, IMAGE_ICON, IMAGE_CURSOR};

template <class Field> Field Read(const std::uint8_t* at)
{
    Field field;
    std::memcpy(&field, at, sizeof field);
    return field;
}

// Whether a device-independent bitmap, as user32 reads it, lies whole inside
// its `size` bytes: the platform takes the pixels' length from the header and
// reads that far. An icon's or a cursor's holds its mask too, the header's
// height counting both. A PNG image carries its own lengths.
bool BitmapFits(const std::uint8_t* data, std::uint32_t size, bool masked)
{
    static constexpr std::uint8_t Png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (masked && size >= sizeof Png && std::memcmp(data, Png, sizeof Png) == 0)
        return true;
    if (size < sizeof(BITMAPCOREHEADER))
        return false;
    const auto header = Read<std::uint32_t>(data);
    std::uint64_t width, height, bits, colours, compression = BI_RGB, imageSize = 0, used = header;
    if (header == sizeof(BITMAPCOREHEADER)) {
        const auto core = Read<BITMAPCOREHEADER>(data);
        width = core.bcWidth, height = core.bcHeight, bits = core.bcBitCount;
        colours = 3 * (bits <= 8 ? std::uint64_t{1} << bits : 0);
    } else {
        if (header < sizeof(BITMAPINFOHEADER) || header > size)
            return false;
        const auto info = Read<BITMAPINFOHEADER>(data);
        width = info.biWidth < 0 ? 0 : info.biWidth;
        height = info.biHeight < 0 ? -std::int64_t{info.biHeight} : info.biHeight;
        bits = info.biBitCount, compression = info.biCompression, imageSize = info.biSizeImage;
        colours = 4 * (info.biClrUsed ? info.biClrUsed : bits <= 8 ? std::uint64_t{1} << bits : 0);
        if (compression == BI_BITFIELDS && header == sizeof(BITMAPINFOHEADER))
            used += 3 * sizeof(DWORD);
    }
    // Run-length pixels are as long as the header says; other pixels by their rows.
    const bool runLength = compression == BI_RLE8 || compression == BI_RLE4;
    if (width == 0 || height == 0 || width > 0xFFFF || height > 0x1FFFF || bits == 0 || bits > 32 ||
        (!runLength && compression != BI_RGB && compression != BI_BITFIELDS) || (runLength && imageSize == 0))
        return false;
    if (masked)
        height /= 2;
    std::uint64_t pixels = runLength ? imageSize : (width * bits + 31) / 32 * 4 * height;
    if (masked)
        pixels += (width + 31) / 32 * 4 * height;
    return used + colours + pixels <= size;
}

// Whether the resource `index` of `type` is one that user32 may be handed: its
// bytes inside the module, and for an icon or cursor group every image that it
// names too (user32 picks one of them by the display).
bool ImageFits(HMODULE module, std::int32_t index, PictureKind kind)
{
    static const LPCWSTR Types[] = {RT_BITMAP, RT_GROUP_ICON, RT_GROUP_CURSOR};
    ResourceBytes bytes;
    if (FindResourceBytes(module, index, PredefinedType(Types[kind]), bytes).Failed())
        return false;
    if (kind == Bitmap)
        return BitmapFits(bytes.data, bytes.size, false);

    // A group: three words (reserved, type, count), then 14 bytes an image
    // whose last word is the image's identifier.
    constexpr std::uint32_t Header = 6, Entry = 14;
    if (bytes.size < Header)
        return false;
    const auto count = Read<std::uint16_t>(bytes.data + 4);
    if ((bytes.size - Header) / Entry < count)
        return false;
    // A cursor's bitmap follows its hot spot.
    const std::uint32_t hotSpot = kind == Cursor ? 4 : 0;
    for (std::uint32_t image = 0; image < count; ++image) {
        const std::uint16_t id = Read<std::uint16_t>(bytes.data + Header + image * Entry + 12);
        ResourceBytes bits;
        if (FindResourceBytes(module, id, PredefinedType(kind == Cursor ? RT_CURSOR : RT_ICON), bits).Failed() ||
            bits.size < hotSpot || !BitmapFits(bits.data + hotSpot, bits.size - hotSpot, true))
            return false;
    }
    return true;
}

// Null for an identifier that is no integer resource identifier or a kind that is none of the three.
HANDLE LoadImageHandle(HMODULE module, std::int32_t index, PictureKind kind)
{
    // Unbound, the platform's own images are loaded: none of them is damaged.
    if (!IsResourceId(index) || (module && !ImageFits(module, index, kind)))
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
