#include "modInfoFileVersion.h"

#include "ansi_text.h"
#include "kernel_functions.h"
#include "library_functions.h"
#include "named_files.h"
#include "number_text.h"
#include "resource_core.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace torvalink {

namespace {

// The version resource as the file holds it, checked before version.dll reads it.
struct VersionResource {
    std::uint32_t size = 0; // 0: none that version.dll may be given
    WORD rootLength = 0;    // the root block's, at most `size`
};

// The fixed file information of a version block, or null when the block holds
// no complete record of it within the root block's length, inside the buffer.
// The length is the file's: version.dll writes its signature at the offset the
// length gives, over the block's own first bytes when it is 0.
template <class Query, class Char>
const VS_FIXEDFILEINFO* FixedInfo(Query* query, const Char* root, WORD rootLength, std::vector<char>& block)
{
    const char* const end = block.data() + (rootLength < block.size() ? rootLength : block.size());
    void* record = nullptr;
    UINT length = 0;
    if (!query(block.data(), root, &record, &length) || length < sizeof(VS_FIXEDFILEINFO))
        return nullptr;
    const auto* first = static_cast<const char*>(record);
    if (first < block.data() || first > end || static_cast<std::size_t>(end - first) < sizeof(VS_FIXEDFILEINFO))
        return nullptr;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(record);
    return fixed->dwSignature == VS_FFI_SIGNATURE ? fixed : nullptr;
}

struct VersionBlock {
    std::vector<char> bytes;                 // sized when the file has a version block
    const VS_FIXEDFILEINFO* fixed = nullptr; // in `bytes`, when complete
};

// Reads the block through version.dll's functions of one form. version.dll
// asks for the resource and room to convert its texts, at most four times the
// resource (a 16-bit block read through the W functions) and a signature. Any
// other size is no size of this file's block: VerQueryValue would read past a
// smaller buffer, and a larger one can run to gigabytes.
template <class Size, class Info, class Query, class Char>
void ReadVersionBlock(Size* infoSize, Info* info, Query* query, const Char* path, const Char* root,
                      const VersionResource& resource, VersionBlock& block)
{
    if (!infoSize || !info || !query)
        return;
    DWORD ignored = 0;
    const DWORD size = infoSize(path, &ignored);
    if (static_cast<std::int32_t>(size) < 1 || size < resource.size || size > 4 * std::uint64_t{resource.size} + 4)
        return;
    block.bytes.assign(size, '\0');
    if (info(path, 0, size, block.bytes.data()))
        block.fixed = FixedInfo(query, root, resource.rootLength, block.bytes);
}

// The file's version resource, looked at before version.dll reads it, which
// would follow a damaged one anywhere: the file mapped as data, the resource's
// entry and bytes inside it and readable, its root block within them.
VersionResource CheckedVersionResource(Text path)
{
    // LoadLibraryEx would read "name.dll" for a name without an extension.
    if (path.find(L'.', path.find_last_of(L"\\/") + 1) == Text::npos)
        path += L'.';
    const UniqueModule file = LoadNamedLibrary(path, LOAD_LIBRARY_AS_DATAFILE);
    ResourceBytes bytes;
    VersionResource resource;
    if (!file || FindResourceBytes(file.get(), VS_VERSION_INFO, PredefinedType(VS_FILE_INFO), bytes).Failed() ||
        bytes.size < sizeof resource.rootLength)
        return {};
    std::memcpy(&resource.rootLength, bytes.data, sizeof resource.rootLength);
    if (resource.rootLength <= bytes.size)
        resource.size = bytes.size;
    return resource;
}

// In the form the system takes names in; version.dll is loaded at run time.
void ReadVersionBlock(const Text& path, VersionBlock& block)
{
    const VersionResource resource = CheckedVersionResource(path);
    if (resource.size == 0)
        return;
    const VersionFunctions version = LookUpVersionFunctions();
    if (LookUpKernelFunctions().WideNames()) {
        ReadVersionBlock(version.GetFileVersionInfoSizeW, version.GetFileVersionInfoW, version.VerQueryValueW,
                         path.c_str(), L"\\", resource, block);
        return;
    }
    // A name the code page cannot hold names no file on these systems.
    AnsiText ansi;
    if (ToAnsi(path, ansi).Failed())
        return;
    ReadVersionBlock(version.GetFileVersionInfoSizeA, version.GetFileVersionInfoA, version.VerQueryValueA, ansi.c_str(),
                     "\\", resource, block);
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
