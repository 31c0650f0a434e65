#include "file_system_object.h"

#include "raised_error.h"

FileSystemObject::FileSystemObject()
{
    CLSID clsid;
    HRESULT result = CLSIDFromProgID(L"Scripting.FileSystemObject", &clsid);
    if (SUCCEEDED(result))
        result = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IDispatch),
                                  reinterpret_cast<void**>(object_.GetAddressOf()));
    if (FAILED(result))
        RaiseHResult(result);
}

DispatchRef FileSystemObject::GetSpecialFolder(SpecialFolder folder)
{
    const Variant kind(static_cast<std::int32_t>(folder));
    return AsObject(Invoke(object_.Get(), L"GetSpecialFolder", {&kind}));
}

bool FileSystemObject::FileExists(const Text& path)
{
    const Variant file(path);
    return AsBool(Invoke(object_.Get(), L"FileExists", {&file}));
}

void FileSystemObject::CopyFile(const Text& source, const Text& destination, bool overwrite)
{
    const Variant from(source), to(destination), replace(overwrite);
    Invoke(object_.Get(), L"CopyFile", {&from, &to, &replace});
}

void FileSystemObject::DeleteFile(const Text& path, bool force)
{
    const Variant file(path), evenReadOnly(force);
    Invoke(object_.Get(), L"DeleteFile", {&file, &evenReadOnly});
}

Text FileSystemObject::FolderPath(IDispatch* folder)
{
    return AsText(Invoke(folder, L"Path"));
}
