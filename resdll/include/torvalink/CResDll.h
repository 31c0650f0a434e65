#pragma once

#include <torvalink/byte_buffer.h>
#include <torvalink/handles.h>
#include <torvalink/raised_error.h>
#include <torvalink/text.h>

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <cstdint>

namespace torvalink {

using PictureRef = Microsoft::WRL::ComPtr<IPictureDisp>;

// Only 1 to 65535 are integer resource identifiers; any other value, handed to
// the platform in that form, would be read as a pointer to a name.
constexpr bool IsResourceId(std::int64_t index)
{
    return index >= 1 && index <= 0xFFFF;
}

// Reads the resources of one module: the running executable while unbound,
// or the library that setting DllName loaded.
//
// Members that can fail run in ignore-failures mode: they return normally with
// an empty result and leave the failure in CurrentError(). SaveDllData instead
// returns the failure's number. Pictures, buffers and texts belong to the caller.
class CResDll {
public:
    ByteBuffer LoadDllData(std::int32_t index, TextArg resformat = L"CUSTOM");
    std::int32_t SaveDllData(std::int16_t index, TextArg Path, TextArg resformat = L"CUSTOM", bool overwrite = true);
    // Lädt ein Bitmap, Icon oder Cursor aus einer Resource-DLL
    PictureRef LoadDllPicture(std::int32_t index, std::int32_t resformat);
    void DllName(TextArg vData);
    Text DllName() const;
    bool PlayWave(std::int32_t index);
    Text LoadDllString(std::int32_t index, const std::int32_t& length = 255);
    Text GetDllURL(std::int16_t index, TextArg resformat = L"CUSTOM");
    Text LoadDllText(std::int16_t index, TextArg resformat = L"CUSTOM");
    PictureRef LoadDllIcon(std::int32_t index);
    PictureRef LoadDllCursor(std::int32_t index);
    PictureRef LoadDllBitmap(std::int32_t index);

public:
    CResDll() = default;
    ~CResDll();
    CResDll(const CResDll&) = delete;
    CResDll& operator=(const CResDll&) = delete;

private:
    void ReleaseLibrary();
    // The module that the members read, for the project's own code (resource_core.h).
    friend HMODULE BoundModule(const CResDll& resources);

    UniqueModule DllHandle; // null while unbound: the platform then reads the running executable
    Text DllNameValue;
};

} // namespace torvalink
