#include "number_text.h"

namespace {

std::wstring Digits(std::uint64_t magnitude)
{
    wchar_t digits[20]; // 2^64 has 20 digits
    wchar_t* const end = digits + 20;
    wchar_t* first = end;
    do {
        *--first = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    return std::wstring(first, end);
}

} // namespace

std::wstring Decimal(std::int64_t value)
{
    // Negate in unsigned arithmetic so the smallest value does not overflow.
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    return value < 0 ? L"-" + Digits(magnitude) : Digits(magnitude);
}

std::wstring ZeroPadded(std::uint32_t value, std::size_t width)
{
    std::wstring digits = Digits(value);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), L'0');
    return digits;
}
