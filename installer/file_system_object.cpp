#include "file_system_object.h"

#include "failures.h"

namespace torvalink {

Status FileSystemObject::Create()
{
    CLSID clsid;
    HRESULT result = CLSIDFromProgID(L"Scripting.FileSystemObject", &clsid);
    if (SUCCEEDED(result))
        result = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IDispatch),
                                  reinterpret_cast<void**>(object_.ReleaseAndGetAddressOf()));
    // Whatever the cause (no such class, a library that does not load), the
    // number and text that such programs have always shown for it.
    return FAILED(result) ? RunTimeFailure(ErrCannotCreateObject) : Status();
}

Status FileSystemObject::GetSpecialFolder(SpecialFolder folder, DispatchRef& found)
{
    const Variant kind(static_cast<LONG>(folder));
    Variant result;
    TORVALINK_RETURN_IF_FAILED(Invoke(object_.Get(), L"GetSpecialFolder", {&kind}, result));
    return AsObject(result, found);
}

Status FileSystemObject::FileExists(const Text& path, bool& exists)
{
    Variant file, result;
    TORVALINK_RETURN_IF_FAILED(TextVariant(path, file));
    TORVALINK_RETURN_IF_FAILED(Invoke(object_.Get(), L"FileExists", {&file}, result));
    return AsBool(result, exists);
}

Status FileSystemObject::CopyFile(const Text& source, const Text& destination, bool overwrite)
{
    Variant from, to, result;
    const Variant replace(overwrite);
    TORVALINK_RETURN_IF_FAILED(TextVariant(source, from));
    TORVALINK_RETURN_IF_FAILED(TextVariant(destination, to));
    return Invoke(object_.Get(), L"CopyFile", {&from, &to, &replace}, result);
}

Status FileSystemObject::DeleteFile(const Text& path, bool force)
{
    Variant file, result;
    const Variant evenReadOnly(force);
    TORVALINK_RETURN_IF_FAILED(TextVariant(path, file));
    return Invoke(object_.Get(), L"DeleteFile", {&file, &evenReadOnly}, result);
}

Status FileSystemObject::FolderPath(IDispatch* folder, Text& path)
{
    Variant result;
    TORVALINK_RETURN_IF_FAILED(Invoke(folder, L"Path", {}, result));
    return AsText(result, path);
}

} // namespace torvalink
