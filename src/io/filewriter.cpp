#include "io/filewriter.h"

#include <algorithm>
#include <climits>

#include "io/coding.h"
#include "io/filereader.h"

namespace urduspell {

namespace {

// Units go out through this many bytes of scratch at a time, two bytes each, low byte first.
constexpr std::size_t kChunkUnits = 256;

// True when the first two bytes of an open file are the mark FF FE; a file shorter than two
// bytes has no mark.
bool StartsWithMark(std::FILE* file) {
  unsigned char ucs_2_bom[2] = {0, 0};
  if (std::fseek(file, 0, SEEK_SET) != 0) return false;
  return std::fread(ucs_2_bom, 1, 2, file) == 2 && DecodeFixed16(ucs_2_bom) == kByteOrderMark;
}

}  // namespace

FileWriter::~FileWriter() { Close(); }

bool FileWriter::Open(const char* name, FileMode mode, bool append) {
  if (name == nullptr || *name == '\0') return false;
  Close();
  bool existed = false;
  std::FILE* file = nullptr;
  if (append && FileReader::Exists(name)) {
    existed = true;
    file = std::fopen(name, "r+b");  // keeps the content; binary: no line-end changes
    if (file == nullptr) return false;
    // The mode must agree with the file: a Unicode file has its mark, an Ascii file has none.
    if (StartsWithMark(file) != (mode == FileMode::Unicode) || std::fseek(file, 0, SEEK_END) != 0) {
      std::fclose(file);
      return false;
    }
    std::clearerr(file);
  } else {
    file = std::fopen(name, "wb");  // created, or truncated to length 0
    if (file == nullptr) return false;
  }
  file_ = file;
  mode_ = mode;
  append_ = append;
  good_ = true;
  if (mode == FileMode::Unicode && !existed) {
    unsigned char ucs_2_bom[2];
    EncodeFixed16(ucs_2_bom, kByteOrderMark);
    Put(ucs_2_bom, 2);
  }
  return true;
}

bool FileWriter::Close() {
  if (file_ == nullptr) return true;  // nothing held, nothing lost
  const bool flushed = std::fflush(file_) == 0 && std::ferror(file_) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  append_ = false;
  if (!flushed || !closed) good_ = false;
  return flushed && closed;
}

bool FileWriter::WriteAscii(const std::string& text) {
  if (!IsOpen() || mode_ != FileMode::Ascii) return false;
  return Put(text.data(), text.size());
}

bool FileWriter::WriteUnicode(const std::u16string& text) {
  if (!IsOpen() || mode_ != FileMode::Unicode) return false;
  return PutUnits(text.data(), text.size());
}

bool FileWriter::WriteBlock(const void* data, std::int32_t size) {
  if (!IsOpen() || data == nullptr || size <= 0) return false;
  return Put(data, static_cast<std::size_t>(size));
}

bool FileWriter::WriteUnicodeBlock(const char16_t* units, std::int32_t count) {
  if (!IsOpen() || mode_ != FileMode::Unicode || units == nullptr || count <= 0) return false;
  return PutUnits(units, static_cast<std::size_t>(count));
}

void FileWriter::Flush() {
  if (IsOpen() && std::fflush(file_) != 0) good_ = false;
}

std::int32_t FileWriter::Tell() {
  if (!IsOpen()) return -1;
  const long position = std::ftell(file_);
  if (position < 0) return -1;
  return static_cast<std::int32_t>(std::min<long>(position, INT32_MAX));  // ours stay far below
}

bool FileWriter::Put(const void* data, std::size_t size) {
  if (size == 0) return true;
  if (std::fwrite(data, 1, size, file_) == size) return true;
  good_ = false;  // the stream refused the bytes: a full disk, say
  return false;
}

bool FileWriter::PutUnits(const char16_t* units, std::size_t count) {
  // Each unit passes through exactly two bytes, whatever the width of the wide character type.
  unsigned char wc_2[2 * kChunkUnits];
  for (std::size_t done = 0; done < count;) {
    const std::size_t n = std::min(count - done, kChunkUnits);
    for (std::size_t k = 0; k < n; ++k) {
      EncodeFixed16(wc_2 + 2 * k, static_cast<std::uint16_t>(units[done + k]));
    }
    if (!Put(wc_2, 2 * n)) return false;
    done += n;
  }
  return true;
}

}  // namespace urduspell
