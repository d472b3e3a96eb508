// How FileReader and FileWriter treat a file: Unicode files begin with the byte-order mark FF FE
// and hold 16-bit little-endian code units (or, for our binary files, raw records after the mark);
// Ascii files are plain bytes.
#ifndef URDUSPELL_IO_FILEMODE_H_
#define URDUSPELL_IO_FILEMODE_H_

#include <cstdint>

namespace urduspell {

enum class FileMode : std::int32_t { Unicode = 0, Ascii = 1 };

inline constexpr std::uint16_t kByteOrderMark = 0xFEFF;  // stored as FF FE

}  // namespace urduspell

#endif  // URDUSPELL_IO_FILEMODE_H_
