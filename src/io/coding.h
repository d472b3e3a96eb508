// Little-endian encoding and decoding of the fixed-width integers stored in our files. Every
// on-disk integer goes through these functions: explicit byte shifts, never a copy of a host
// integer, so the bytes are the same on every platform.
#ifndef URDUSPELL_IO_CODING_H_
#define URDUSPELL_IO_CODING_H_

#include <cstdint>

namespace urduspell {

inline void EncodeFixed16(unsigned char* dst, std::uint16_t value) {
  dst[0] = static_cast<unsigned char>(value);
  dst[1] = static_cast<unsigned char>(value >> 8);
}

inline void EncodeFixed32(unsigned char* dst, std::uint32_t value) {
  dst[0] = static_cast<unsigned char>(value);
  dst[1] = static_cast<unsigned char>(value >> 8);
  dst[2] = static_cast<unsigned char>(value >> 16);
  dst[3] = static_cast<unsigned char>(value >> 24);
}

inline std::uint16_t DecodeFixed16(const unsigned char* src) {
  return static_cast<std::uint16_t>(src[0] | (src[1] << 8));
}

inline std::uint32_t DecodeFixed32(const unsigned char* src) {
  return static_cast<std::uint32_t>(src[0]) | (static_cast<std::uint32_t>(src[1]) << 8) |
         (static_cast<std::uint32_t>(src[2]) << 16) | (static_cast<std::uint32_t>(src[3]) << 24);
}

inline std::int32_t DecodeSigned32(const unsigned char* src) {
  return static_cast<std::int32_t>(DecodeFixed32(src));
}

}  // namespace urduspell

#endif  // URDUSPELL_IO_CODING_H_
