#include "number_text.h"

namespace torvalink {

void AppendDecimal(Text& text, std::uint32_t value, std::size_t width)
{
    wchar_t digits[10]; // 2^32 has 10 digits
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (; width > count; --width)
        text += L'0';
    while (count)
        text += digits[--count];
}

Text Decimal(std::int32_t value)
{
    Text text;
    if (value < 0)
        text += L'-';
    // Negate in unsigned arithmetic so the smallest value does not overflow.
    AppendDecimal(text, value < 0 ? 0 - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value));
    return text;
}

} // namespace torvalink
