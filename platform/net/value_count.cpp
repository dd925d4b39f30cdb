#include "value_count.h"

#include <cstdint>

#include "net/big_endian.h"

namespace wire {
namespace {

// The bytes one value occupies beyond its type byte, not counting the
// elements of an array or map (they follow as values of their own);
// `lengthBytes` is how many of those bytes give a payload length to skip too.
struct Layout {
  std::size_t fixed = 0;
  std::size_t lengthBytes = 0;
};

Layout LayoutOf(unsigned char type) {
  if (type <= 0x7f || type >= 0xe0) return {};                  // fixint
  if (type >= 0x80 && type <= 0x9f) return {};                  // fixmap, fixarray
  if (type >= 0xa0 && type <= 0xbf) return {type & 0x1fu, 0};   // fixstr
  switch (type) {
    case 0xc4: case 0xd9: return {1, 1};                        // bin 8, str 8
    case 0xc5: case 0xda: return {2, 2};                        // bin 16, str 16
    case 0xc6: case 0xdb: return {4, 4};                        // bin 32, str 32
    case 0xc7: return {2, 1};                                   // ext 8: length, type
    case 0xc8: return {3, 2};                                   // ext 16
    case 0xc9: return {5, 4};                                   // ext 32
    case 0xca: return {4, 0};                                   // float 32
    case 0xcb: return {8, 0};                                   // float 64
    case 0xcc: case 0xd0: return {1, 0};
    case 0xcd: case 0xd1: return {2, 0};
    case 0xce: case 0xd2: return {4, 0};
    case 0xcf: case 0xd3: return {8, 0};
    case 0xd4: return {2, 0};                                   // fixext 1
    case 0xd5: return {3, 0};
    case 0xd6: return {5, 0};
    case 0xd7: return {9, 0};
    case 0xd8: return {17, 0};
    case 0xdc: case 0xde: return {2, 0};                        // array 16, map 16
    case 0xdd: case 0xdf: return {4, 0};                        // array 32, map 32
    default: return {};                                         // nil, bool, unused
  }
}

}  // namespace

std::size_t CountValues(std::string_view body, std::size_t limit) {
  const auto* p = reinterpret_cast<const unsigned char*>(body.data());
  const std::size_t size = body.size();
  std::size_t at = 0, count = 0;
  while (at < size && count <= limit) {
    const unsigned char type = p[at++];
    ++count;
    const Layout layout = LayoutOf(type);
    if (layout.fixed > size - at) break;
    std::uint64_t skip = layout.fixed;
    if (layout.lengthBytes > 0) skip += ReadBigEndian(p + at, layout.lengthBytes);
    if (skip > size - at) break;
    at += static_cast<std::size_t>(skip);
  }
  return count;
}

}  // namespace wire
