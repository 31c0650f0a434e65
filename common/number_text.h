#pragma once

#include <cstdint>
#include <string>

// Plain decimal: a minus sign for a negative number, no padding, no separators.
std::wstring Decimal(std::int64_t value);

// Decimal zero-filled on the left to at least `width` digits; longer numbers are written whole.
std::wstring ZeroPadded(std::uint32_t value, std::size_t width);
