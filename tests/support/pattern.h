#pragma once

#include <torvalink/byte_buffer.h>

#include <cstddef>
#include <cstdint>

namespace torvalink {

// The bytes that tests/fixtures/make_fixture_data.py writes for `pattern SIZE SEED`.
inline ByteBuffer Pattern(std::size_t size, std::uint32_t seed)
{
    ByteBuffer bytes(size);
    std::uint32_t state = seed;
    for (auto& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(state >> 16);
    }
    return bytes;
}

} // namespace torvalink
