#pragma once

#include "text.h"

#include <cstdint>

// Plain decimal: a minus sign for a negative number, no padding, no separators.
Text Decimal(std::int32_t value);

// Decimal zero-filled on the left to at least `width` digits; longer numbers are written whole.
Text ZeroPadded(std::uint32_t value, std::size_t width);
