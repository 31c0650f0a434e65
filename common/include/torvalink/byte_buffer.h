#pragma once

#include <cstdint>
#include <vector>

namespace torvalink {

// Bytes indexed from 0. Empty means never given a size: a sized buffer holds at least one byte.
using ByteBuffer = std::vector<std::uint8_t>;

} // namespace torvalink
