// String-table entries, resources as text, and resource addresses.

#include "CResDll.h"

#include "ansi_text.h"
#include "current_error.h"
#include "number_text.h"

#include <climits>

namespace {

constexpr std::size_t LongestUrlName = 256;

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
    return IgnoreFailures([&] {
        // length + 1 characters must fit a 32-bit count.
        if (length < 0 || length == INT_MAX)
            Raise(5, L"Invalid procedure call or argument");

        AnsiText buffer(static_cast<std::size_t>(length) + 1, '\0');
        const int copied =
            IsResourceId(index) ? LoadStringA(DllHandle.get(), static_cast<UINT>(index), buffer.data(), length + 1) : 0;
        if (copied <= 0)
            Raise(326, L"String resource with identifier " + Decimal(index) + L" not found.");
        // The count is in bytes: converting just those keeps the buffer's padding out.
        return FromAnsi(AnsiView(buffer.data(), static_cast<std::size_t>(copied)));
    });
}

Text CResDll::GetDllURL(std::int16_t index, const Text& resformat)
{
    return IgnoreFailures([&] {
        if (DllNameValue.empty() || DllNameValue.size() > LongestUrlName)
            return Text();
        return L"RES://" + DllNameValue + L"/" + TrimSpaces(resformat) + L"/" + Decimal(index);
    });
}

Text CResDll::LoadDllText(std::int16_t index, const Text& resformat)
{
    const ByteBuffer bytes = LoadDllData(index, resformat);
    return FromAnsi(AnsiView(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}
