#include "modInfoFileVersion.h"

#include "ansi_text.h"
#include "number_text.h"
#include "system_library.h"

#include <windows.h>

#include <vector>

namespace torvalink {

namespace {

// The version functions of version.dll, which is loaded at run time.
struct VersionApi {
    decltype(&GetFileVersionInfoSizeA) infoSize =
        SystemFunction<decltype(GetFileVersionInfoSizeA)>(RunTimeLibrary::Version, "GetFileVersionInfoSizeA");
    decltype(&GetFileVersionInfoA) info =
        SystemFunction<decltype(GetFileVersionInfoA)>(RunTimeLibrary::Version, "GetFileVersionInfoA");
    decltype(&VerQueryValueA) query =
        SystemFunction<decltype(VerQueryValueA)>(RunTimeLibrary::Version, "VerQueryValueA");

    bool Usable() const { return infoSize && info && query; }
};

// The fixed file information of a version block, or null when the block holds
// no complete record of it.
const VS_FIXEDFILEINFO* FixedInfo(const VersionApi& api, std::vector<char>& block)
{
    void* record = nullptr;
    UINT length = 0;
    if (!api.query(block.data(), "\\", &record, &length) || !record || length < sizeof(VS_FIXEDFILEINFO))
        return nullptr;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(record);
    return fixed->dwSignature == VS_FFI_SIGNATURE ? fixed : nullptr;
}

// Lets the calling thread handle the window messages waiting in its queue.
void ProcessPendingMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

Text ReadFileVersionText(const VersionApi& api, const AnsiText& path, DWORD size, bool shortForm)
{
    std::vector<char> block(size, '\0');
    if (!api.info(path.c_str(), 0, size, block.data()))
        return {};
    const VS_FIXEDFILEINFO* fixed = FixedInfo(api, block);
    return fixed ? FormatFileVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS, shortForm) : Text();
}

} // namespace

Text FormatFileVersion(std::uint32_t versionMS, std::uint32_t versionLS, bool shortForm)
{
    // major.minor.build.revision, or major.minor.revision in the short form.
    const std::uint32_t parts[] = {HIWORD(versionMS), LOWORD(versionMS), HIWORD(versionLS), LOWORD(versionLS)};
    Text text;
    for (std::size_t part = 0; part < 4; ++part) {
        if (shortForm && part == 2)
            continue;
        if (!text.empty())
            text += L'.';
        AppendDecimal(text, parts[part], shortForm ? 1 : 4);
    }
    return text;
}

Text GetFileVersionText(const Text& FileName, const std::int16_t& ShortForm)
{
    const VersionApi api;
    if (!api.Usable())
        return {};

    // A name the code page cannot hold, and that has no short form, names no
    // file that the A functions can read.
    AnsiText path;
    if (ToAnsiPath(FileName, path).Failed())
        return {};
    DWORD ignored = 0;
    const DWORD size = api.infoSize(path.c_str(), &ignored);
    if (static_cast<std::int32_t>(size) < 1)
        return {};

    Text text = ReadFileVersionText(api, path, size, ShortForm != 0);
    ProcessPendingMessages();
    return text;
}

} // namespace torvalink
