#include "io/filereader.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "errors/errors.h"
#include "io/coding.h"

namespace urduspell {

namespace {

constexpr const char* kModule = "filereader";

constexpr const char* kInvalidName = "Invalid file name specified.";
constexpr const char* kNotUnicodeBased = "File is not Unicode based.";
constexpr const char* kEndOfFile = "End of file encountered.";
constexpr const char* kNotAscii = "File not openned as ASCII initially.";
// Two spellings on purpose: the line read says "UNICODE", the character read and UnreadUnicode
// say "Unicode".
constexpr const char* kNotUnicodeLine = "File not openned as UNICODE initially.";
constexpr const char* kNotUnicode = "File not openned as Unicode initially.";
constexpr const char* kNullBuffer = "Null buffer or zero size specified.";

// The line of the caller, taken with the builtin that GCC, Clang and MSVC share: the standard
// library that ships with some supported compilers (Clang 14 with libstdc++) lacks
// std::source_location.
[[noreturn]] void Raise(int code, std::string message, int line = __builtin_LINE()) {
  throw IOException(kModule, line, code, std::move(message));
}

// A folder can be handed to fopen on some systems, but it holds nothing to read: we treat it as
// a file that cannot be opened.
bool IsDirectory(const char* name) {
  std::error_code ec;
  return std::filesystem::is_directory(name, ec);
}

// Byte offset at which the content starts: after the mark FF FE in a Unicode file.
std::int64_t ContentStart(FileMode mode) { return mode == FileMode::Unicode ? 2 : 0; }

}  // namespace

FileReader::~FileReader() { Close(); }

bool FileReader::Exists(const char* name) {
  if (name == nullptr || *name == '\0' || IsDirectory(name)) return false;
  std::FILE* iTestFile = std::fopen(name, "rb");
  if (iTestFile == nullptr) return false;
  std::fclose(iTestFile);
  return true;
}

bool FileReader::Open(const char* name, FileMode mode) {
  if (name == nullptr || *name == '\0') Raise(kErrOpen, kInvalidName);
  Close();
  file_ = IsDirectory(name) ? nullptr : std::fopen(name, "rb");  // binary: no line-end changes
  if (file_ == nullptr) {
    ResetState();
    Raise(kErrOpen, "Could not open file: " + std::string(name) + ".");
  }
  ResetState();
  mode_ = mode;
  if (mode == FileMode::Unicode) {
    unsigned char ucs_2_bom[2] = {0, 0};
    if (ReadRaw(ucs_2_bom, 2) != 2 || DecodeFixed16(ucs_2_bom) != kByteOrderMark) {
      Close();
      Raise(kErrOpen, kNotUnicodeBased);
    }
  }
  return true;
}

void FileReader::Close() {
  if (file_ == nullptr) return;
  std::fclose(file_);
  file_ = nullptr;
  ResetState();
}

bool FileReader::IsEof() const { return IsOpen() && eof_; }

std::int32_t FileReader::GetSize() {
  if (!IsOpen()) return 0;
  const long here = std::ftell(file_);
  if (here < 0 || std::fseek(file_, 0, SEEK_END) != 0) return 0;
  const long size = std::ftell(file_);
  std::fseek(file_, here, SEEK_SET);
  if (size < 0) return 0;
  return static_cast<std::int32_t>(std::min<long>(size, INT32_MAX));  // our files stay far below
}

bool FileReader::ReadAsciiLine(std::string& out, std::int32_t maxLength, char delimiter) {
  if (!ReadyToRead(FileMode::Ascii, kNotAscii)) return false;
  std::string sString;
  char c = 0;
  while (static_cast<std::int64_t>(sString.size()) < maxLength) {
    if (ReadRaw(&c, 1) != 1 || c == delimiter) break;
    sString.push_back(c);
  }
  if (sString.empty()) return false;
  out = std::move(sString);
  return true;
}

bool FileReader::ReadUnicodeLine(std::u16string& out, std::int32_t maxLength, char16_t delimiter) {
  if (!ReadyToRead(FileMode::Unicode, kNotUnicodeLine)) return false;
  std::u16string wsString;
  char16_t wc_2 = 0;
  while (static_cast<std::int64_t>(wsString.size()) < maxLength) {
    if (!ReadUnit(wc_2) || wc_2 == delimiter) break;
    wsString.push_back(wc_2);
  }
  if (wsString.empty()) return false;
  out = std::move(wsString);
  return true;
}

bool FileReader::ReadUnicodeChars(std::u16string& out, std::int32_t count) {
  if (!ReadyToRead(FileMode::Unicode, kNotUnicode)) return false;
  std::u16string wsString;
  char16_t wc_2 = 0;
  while (static_cast<std::int64_t>(wsString.size()) < count && ReadUnit(wc_2)) {
    wsString.push_back(wc_2);
  }
  if (wsString.empty()) return false;
  out = std::move(wsString);
  return true;
}

bool FileReader::ReadUnicodeBlock(char16_t* buffer, std::int32_t count) {
  if (buffer == nullptr || count <= 0) Raise(kErrRead, kNullBuffer);
  if (!ReadyToRead()) return false;
  buffer[0] = 0;
  // Decode through a small scratch array so each unit is exactly two bytes, low byte first.
  unsigned char bytes[512];
  std::int32_t stored = 0;
  while (stored < count) {
    const std::size_t want = 2 * static_cast<std::size_t>(std::min(count - stored, 256));
    const std::size_t got = ReadRaw(bytes, want);
    for (std::size_t k = 0; k + 1 < got; k += 2) buffer[stored++] = DecodeFixed16(bytes + k);
    if (got < want) break;  // the end of the file; a trailing odd byte is dropped
  }
  return stored > 0;
}

bool FileReader::ReadBlock(void* buffer, std::int32_t size, std::int32_t* delivered) {
  if (buffer == nullptr || size <= 0) Raise(kErrRead, kNullBuffer);
  if (delivered != nullptr) *delivered = 0;
  if (!ReadyToRead()) return false;
  const std::size_t got = ReadRaw(buffer, static_cast<std::size_t>(size));
  if (delivered != nullptr) *delivered = static_cast<std::int32_t>(got);
  return got > 0;
}

bool FileReader::ReadBlockAt(void* buffer, std::int32_t offset, std::int32_t size,
                             std::int32_t* delivered) {
  if (buffer == nullptr || size <= 0) Raise(kErrRead, kNullBuffer);
  if (delivered != nullptr) *delivered = 0;
  // The end-of-file test comes before the repositioning: once a read has run into the end,
  // positioned reads keep raising until the reader is closed.
  if (!ReadyToRead()) return false;
  lost_ = false;
  std::clearerr(file_);
  Seek(offset);
  return ReadBlock(buffer, size, delivered);
}

bool FileReader::Seek(std::int32_t offset) {
  if (!IsOpen()) return false;
  // A negative offset would land in the mark or before the file: it counts as a failed move.
  Position(offset < 0 ? -1 : ContentStart(mode_) + offset, SEEK_SET);
  return true;  // a failed move shows in the read that follows, which then delivers nothing
}

bool FileReader::UnreadAscii(std::int32_t count) {
  if (!IsOpen()) return false;
  if (mode_ != FileMode::Ascii) Raise(kErrRead, kNotAscii);
  ResetState();
  Position(-static_cast<std::int64_t>(count), SEEK_CUR);
  return true;
}

bool FileReader::UnreadUnicode(std::int32_t count) {
  if (!IsOpen()) return false;
  if (mode_ != FileMode::Unicode) Raise(kErrRead, kNotUnicode);
  ResetState();
  Position(-2 * static_cast<std::int64_t>(count), SEEK_CUR);
  return true;
}

std::size_t FileReader::ReadRaw(void* buffer, std::size_t size) {
  const std::size_t got = lost_ ? 0 : std::fread(buffer, 1, size, file_);
  if (got < size) eof_ = true;  // a read error is treated like the end of the file
  return got;
}

bool FileReader::ReadUnit(char16_t& unit) {
  unsigned char wc_2[2] = {0, 0};
  if (ReadRaw(wc_2, 2) != 2) return false;
  unit = static_cast<char16_t>(DecodeFixed16(wc_2));
  return true;
}

void FileReader::Position(std::int64_t offset, int origin) {
  std::int64_t target = offset;
  if (origin == SEEK_CUR) {
    const long here = std::ftell(file_);
    target = here < 0 ? -1 : here + offset;
  }
  // Moves in front of the content (into the mark, or before the file) fail.
  lost_ = target < ContentStart(mode_) || target > LONG_MAX ||
          std::fseek(file_, static_cast<long>(target), SEEK_SET) != 0;
}

bool FileReader::ReadyToRead() const {
  if (!IsOpen()) return false;
  if (eof_) Raise(kErrRead, kEndOfFile);
  return true;
}

bool FileReader::ReadyToRead(FileMode wanted, const char* message) const {
  if (!ReadyToRead()) return false;
  if (mode_ != wanted) Raise(kErrRead, message);
  return true;
}

void FileReader::ResetState() {
  eof_ = false;
  lost_ = false;
  if (file_ != nullptr) std::clearerr(file_);
}

}  // namespace urduspell
