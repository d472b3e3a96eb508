// FileWriter: the one way the library writes a file. Never raises: every failure is a false
// result (or nothing done). A new or truncated Unicode file starts with the mark FF FE; an
// appended one keeps its own. Order of calls: Open Write* (Flush)* Close; the destructor closes.
#ifndef URDUSPELL_IO_FILEWRITER_H_
#define URDUSPELL_IO_FILEWRITER_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "io/filemode.h"

namespace urduspell {

class FileWriter {
 public:
  FileWriter() = default;
  ~FileWriter();
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  bool Open(const char* name, FileMode mode, bool append);
  bool Open(const std::string& name, FileMode mode, bool append) {
    return Open(name.c_str(), mode, append);
  }
  // Closes the file. Returns false when bytes could not be written out (a full disk, say);
  // callers that must know whether the file is whole look at it.
  bool Close();
  bool IsOpen() const { return file_ != nullptr; }

  // Each write is true when its bytes were handed to the stream. Bytes lost later, when the
  // stream writes them out, show in Good() and in the result of Close().
  bool WriteAscii(const std::string& text);
  bool WriteUnicode(const std::u16string& text);
  bool WriteBlock(const void* data, std::int32_t size);
  bool WriteUnicodeBlock(const char16_t* units, std::int32_t count);
  void Flush();
  std::int32_t Tell();

  // False once any write since Open failed in the stream; lets a caller verify a whole file.
  bool Good() const { return good_; }

 private:
  // Hands bytes to the stream; false (and good_ cleared) when it refused them.
  bool Put(const void* data, std::size_t size);
  // Writes code units as 16-bit little-endian values.
  bool PutUnits(const char16_t* units, std::size_t count);

  std::FILE* file_ = nullptr;
  FileMode mode_ = FileMode::Ascii;
  bool append_ = false;
  bool good_ = true;
};

}  // namespace urduspell

#endif  // URDUSPELL_IO_FILEWRITER_H_
