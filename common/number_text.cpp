#include "number_text.h"

namespace {

Text Digits(std::uint32_t magnitude)
{
    wchar_t digits[10]; // 2^32 has 10 digits
    wchar_t* const end = digits + 10;
    wchar_t* first = end;
    do {
        *--first = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    return Text(first, end);
}

} // namespace

Text Decimal(std::int32_t value)
{
    // Negate in unsigned arithmetic so the smallest value does not overflow.
    const std::uint32_t magnitude =
        value < 0 ? 0 - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    return value < 0 ? L"-" + Digits(magnitude) : Digits(magnitude);
}

Text ZeroPadded(std::uint32_t value, std::size_t width)
{
    Text digits = Digits(value);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), L'0');
    return digits;
}
