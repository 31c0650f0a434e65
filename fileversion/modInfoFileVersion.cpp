#include "modInfoFileVersion.h"

#include "ansi_text.h"
#include "kernel_functions.h"
#include "number_text.h"
#include "system_library.h"

#include <windows.h>

#include <vector>

namespace torvalink {

namespace {

// The fixed file information of a version block, or null when the block holds
// no complete record of it (a cut block can leave stale bytes behind).
template <class Query, class Char>
const VS_FIXEDFILEINFO* FixedInfo(Query* query, const Char* root, std::vector<char>& block)
{
    void* record = nullptr;
    UINT length = 0;
    if (!query(block.data(), root, &record, &length) || !record || length < sizeof(VS_FIXEDFILEINFO))
        return nullptr;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(record);
    return fixed->dwSignature == VS_FFI_SIGNATURE ? fixed : nullptr;
}

struct VersionBlock {
    std::vector<char> bytes;                 // sized when the file has a version block
    const VS_FIXEDFILEINFO* fixed = nullptr; // in `bytes`, when complete
};

// Reads the block through version.dll's functions of one form.
template <class Size, class Info, class Query, class Char>
void ReadVersionBlock(Size* infoSize, Info* info, Query* query, const Char* path, const Char* root, VersionBlock& block)
{
    if (!infoSize || !info || !query)
        return;
    DWORD ignored = 0;
    const DWORD size = infoSize(path, &ignored);
    if (static_cast<std::int32_t>(size) < 1)
        return;
    block.bytes.assign(size, '\0');
    if (info(path, 0, size, block.bytes.data()))
        block.fixed = FixedInfo(query, root, block.bytes);
}

// In the form the system takes names in; version.dll is loaded at run time.
void ReadVersionBlock(const Text& path, VersionBlock& block)
{
    constexpr RunTimeLibrary version = RunTimeLibrary::Version;
    if (LookUpKernelFunctions().WideNames()) {
        ReadVersionBlock(SystemFunction<decltype(GetFileVersionInfoSizeW)>(version, "GetFileVersionInfoSizeW"),
                         SystemFunction<decltype(GetFileVersionInfoW)>(version, "GetFileVersionInfoW"),
                         SystemFunction<decltype(VerQueryValueW)>(version, "VerQueryValueW"), path.c_str(), L"\\",
                         block);
        return;
    }
    // A name the code page cannot hold names no file on these systems.
    AnsiText ansi;
    if (ToAnsi(path, ansi).Failed())
        return;
    ReadVersionBlock(SystemFunction<decltype(GetFileVersionInfoSizeA)>(version, "GetFileVersionInfoSizeA"),
                     SystemFunction<decltype(GetFileVersionInfoA)>(version, "GetFileVersionInfoA"),
                     SystemFunction<decltype(VerQueryValueA)>(version, "VerQueryValueA"), ansi.c_str(), "\\", block);
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
    VersionBlock block;
    ReadVersionBlock(FileName, block);
    if (block.bytes.empty())
        return {};
    const VS_FIXEDFILEINFO* fixed = block.fixed;
    Text text = fixed ? FormatFileVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS, ShortForm != 0) : Text();
    ProcessPendingMessages();
    return text;
}

} // namespace torvalink
