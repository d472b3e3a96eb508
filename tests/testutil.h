// Helpers shared by the tests: a temporary folder per test, byte-exact file fixtures, and a scope
// that makes a folder the current directory (the library reads config.ini from there).
#ifndef URDUSPELL_TESTS_TESTUTIL_H_
#define URDUSPELL_TESTS_TESTUTIL_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testutil {

using Bytes = std::vector<unsigned char>;

// A fresh, empty folder removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Makes dir the current directory for the life of the object.
class ScopedCwd {
 public:
  explicit ScopedCwd(const std::filesystem::path& dir);
  ~ScopedCwd();
  ScopedCwd(const ScopedCwd&) = delete;
  ScopedCwd& operator=(const ScopedCwd&) = delete;

 private:
  std::filesystem::path previous_;
};

void WriteBytes(const std::string& path, const Bytes& bytes);
void WriteText(const std::string& path, const std::string& text);  // bytes as given
Bytes ReadBytes(const std::string& path);

// UTF-16LE bytes of text, with the mark FF FE in front when withMark.
Bytes Utf16Le(const std::u16string& text, bool withMark = true);
// Convenience: UTF-8 source text to UTF-16 code units (BMP only is enough for tests).
std::u16string U16(const std::string& utf8);
std::string U8(const std::u16string& utf16);

// splitmix64: the same numbers on every platform and library, unlike the standard distributions.
class SplitMix {
 public:
  explicit SplitMix(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    state_ += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }

 private:
  std::uint64_t state_;
};

// Bytes as "FF FE 27 06" for readable failure messages.
std::string Hex(const Bytes& bytes);

}  // namespace testutil

#endif  // URDUSPELL_TESTS_TESTUTIL_H_
