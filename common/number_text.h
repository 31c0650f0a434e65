#pragma once

#include <torvalink/text.h>

#include <cstdint>

namespace torvalink {

// Plain decimal: a minus sign for a negative number, no padding, no separators.
Text Decimal(std::int32_t value);

// Appends `value` in decimal, zero-filled on the left to at least `width`
// digits; longer numbers are written whole.
void AppendDecimal(Text& text, std::uint32_t value, std::size_t width = 1);

} // namespace torvalink
