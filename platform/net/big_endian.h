#pragma once
// msgpack's lengths and numbers are stored big-endian; both readers of the
// wire take them from here. Pure functions, safe from any thread.

#include <bit>
#include <cstdint>
#include <cstring>

namespace wire {

// The unsigned integer of `n` (at most 8) bytes at `p`, stored big-endian.
// msgpack's widths (2, 4 and 8 bytes) are loaded whole, not byte by byte.
inline std::uint64_t ReadBigEndian(const unsigned char* p, std::size_t n) {
  const auto swapped = [](auto v) {
    if constexpr (std::endian::native == std::endian::little) {
      if constexpr (sizeof v == 8) return __builtin_bswap64(v);
      else if constexpr (sizeof v == 4) return __builtin_bswap32(v);
      else return __builtin_bswap16(v);
    } else {
      return v;
    }
  };
  switch (n) {
    case 8: {
      std::uint64_t v;
      std::memcpy(&v, p, 8);
      return swapped(v);
    }
    case 4: {
      std::uint32_t v;
      std::memcpy(&v, p, 4);
      return swapped(v);
    }
    case 2: {
      std::uint16_t v;
      std::memcpy(&v, p, 2);
      return swapped(v);
    }
    default: {
      std::uint64_t v = 0;
      for (std::size_t i = 0; i < n; ++i) v = (v << 8) | p[i];
      return v;
    }
  }
}

}  // namespace wire
