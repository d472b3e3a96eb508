// FileReader: the one way the library reads a file. Line reads for 8-bit text (config.ini, the
// class tables) and for UTF-16LE text (alphabet, word list); block reads, plain and positioned,
// for the binary files the library writes itself.
//
// Order of calls: Open (Read* | IsEof)* Close. Opening an open reader closes it first. The
// end-of-file flag is set by a read that delivered less than it asked for and stays set until
// Close: from then on every read raises "End of file encountered.". A read that finds nothing
// returns false and leaves its output unchanged. Every error is an IOException from module
// "filereader". Offsets of Unicode files count from the byte after the mark; a move in front of
// the content (a negative offset, an unread into the mark) fails, and the read after it delivers
// nothing. A folder counts as a file that cannot be opened.
#ifndef URDUSPELL_IO_FILEREADER_H_
#define URDUSPELL_IO_FILEREADER_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "io/filemode.h"

namespace urduspell {

class FileReader {
 public:
  FileReader() = default;
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  static bool Exists(const char* name);

  // True, or raises IOException 0x10 (empty name, cannot open, Unicode file without FF FE).
  bool Open(const char* name, FileMode mode);
  bool Open(const std::string& name, FileMode mode) { return Open(name.c_str(), mode); }
  void Close();
  bool IsEof() const;
  bool IsOpen() const { return file_ != nullptr; }
  FileMode GetMode() const { return mode_; }

  // Size in bytes, mark included; 0 when not open.
  std::int32_t GetSize();

  bool ReadAsciiLine(std::string& out, std::int32_t maxLength, char delimiter);
  bool ReadUnicodeLine(std::u16string& out, std::int32_t maxLength, char16_t delimiter);
  bool ReadUnicodeChars(std::u16string& out, std::int32_t count);
  bool ReadUnicodeBlock(char16_t* buffer, std::int32_t count);

  // Block reads deliver up to size bytes; `delivered` (when given) receives how many arrived, so
  // a caller can tell a short read from a full one.
  bool ReadBlock(void* buffer, std::int32_t size, std::int32_t* delivered = nullptr);
  bool ReadBlockAt(void* buffer, std::int32_t offset, std::int32_t size,
                   std::int32_t* delivered = nullptr);
  bool Seek(std::int32_t offset);

  bool UnreadAscii(std::int32_t count);
  bool UnreadUnicode(std::int32_t count);

 private:
  // Reads up to size bytes at the current position; a short delivery sets eof_.
  std::size_t ReadRaw(void* buffer, std::size_t size);
  // Reads one little-endian code unit; false (and eof_ set) when two bytes are not there.
  bool ReadUnit(char16_t& unit);
  // Moves the read position to an absolute byte offset or by a relative one; a failed move sets
  // lost_ so that reads deliver nothing until the state is reset.
  void Position(std::int64_t offset, int origin);
  // The checks every read starts with: false when closed, raises when eof_ is set.
  bool ReadyToRead() const;
  // ReadyToRead, plus the mode test raising `message` when the mode is not `wanted`.
  bool ReadyToRead(FileMode wanted, const char* message) const;
  void ResetState();

  std::FILE* file_ = nullptr;
  bool eof_ = false;   // a read delivered less than it asked for; sticky until Close
  bool lost_ = false;  // a positioning failed; reads deliver nothing until the state is reset
  FileMode mode_ = FileMode::Ascii;
};

}  // namespace urduspell

#endif  // URDUSPELL_IO_FILEREADER_H_
