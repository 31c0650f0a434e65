// String-table entries, resources as text, and resource addresses.

#include <torvalink/CResDll.h>

#include "ansi_text.h"
#include <torvalink/current_error.h>
#include "number_text.h"
#include "resource_core.h"

#include <climits>
#include <cstring>

namespace torvalink {

namespace {

constexpr std::size_t LongestUrlName = 256;

// A string-table entry holds at most 65535 UTF-16 units, each at most three
// bytes in any ANSI code page.
constexpr int LongestStringBytes = 3 * 65535;

// Whether string `index` lies whole inside its table block, as LoadString
// walks it: sixteen entries of a length in UTF-16 units and those units, which
// the platform follows without looking for the block's end.
bool StringInsideBlock(HMODULE module, std::int32_t index)
{
    ResourceBytes block;
    if (FindResourceBytes(module, (index >> 4) + 1, PredefinedType(RT_STRING), block).Failed())
        return false;
    std::uint32_t at = 0;
    for (std::int32_t entry = 0;; ++entry) {
        std::uint16_t length = 0;
        if (block.size - at < sizeof length)
            return false;
        std::memcpy(&length, block.data + at, sizeof length);
        at += sizeof length;
        if ((block.size - at) / 2 < length)
            return false;
        if (entry == (index & 15))
            return true;
        at += 2u * length;
    }
}

Text TrimSpaces(const Text& text)
{
    const auto first = text.find_first_not_of(L' ');
    if (first == Text::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

} // namespace

Text CResDll::LoadDllString(std::int32_t index, const std::int32_t& length)
{
    return IgnoreFailures<Text>([&](Text& text) -> Status {
        // length + 1 characters must fit a 32-bit count.
        if (length < 0 || length == INT_MAX)
            return Failure(ErrInvalidArgument, L"Invalid procedure call or argument");

        // No entry is longer than LongestStringBytes: a larger length needs no larger buffer.
        const int room = (length < LongestStringBytes ? length : LongestStringBytes) + 1;
        AnsiText buffer(static_cast<std::size_t>(room), '\0');
        const int copied = IsResourceId(index) && StringInsideBlock(DllHandle.get(), index)
                               ? LoadStringA(DllHandle.get(), static_cast<UINT>(index), buffer.data(), room)
                               : 0;
        if (copied <= 0)
            return Failure(ErrResourceNotFound, L"String resource with identifier " + Decimal(index) + L" not found.");
        // The count is in bytes: converting just those keeps the buffer's padding out.
        return FromAnsi(AnsiView(buffer.data(), static_cast<std::size_t>(copied)), text);
    });
}

Text CResDll::GetDllURL(std::int16_t index, TextArg resformat)
{
    return IgnoreFailures<Text>([&](Text& url) -> Status {
        if (!DllNameValue.empty() && DllNameValue.size() <= LongestUrlName)
            url = L"RES://" + DllNameValue + L"/" + TrimSpaces(resformat) + L"/" + Decimal(index);
        return {};
    });
}

Text CResDll::LoadDllText(std::int16_t index, TextArg resformat)
{
    const ByteBuffer bytes = LoadDllData(index, resformat);
    Text text;
    // No ignore-failures mode of its own: a failed conversion is left in
    // CurrentError beside what LoadDllData reported.
    Status converted;
    if (!RanWithinMemory(
            [&] { converted = FromAnsi(AnsiView(reinterpret_cast<const char*>(bytes.data()), bytes.size()), text); })) {
        StoreOutOfMemory();
        return {};
    }
    if (converted.Failed())
        StoreCurrentError(converted.TakeError());
    return text;
}

} // namespace torvalink
