// Runs words through the library, as a host would, for the quality report.
//
//   urduspell_quality_driver --data DIR [--empty-tables] < words.txt > results.tsv
//
// Input: UTF-8 words, one per line. Output: one UTF-8 line per input word,
//   word TAB result TAB suggestion 1 TAB ... TAB suggestion n
// where result is what SpellCheck returned (-1: nothing to correct, else the suggestion count).
//
// The library reads config.ini from the current directory and rewrites it after its first build,
// so the data folder is copied into a fresh temporary folder, which becomes the current directory
// for the run and is removed afterwards; DIR itself is never written. --empty-tables truncates the
// copies of the soundex and shapex files, so every class is 0 and the ranking falls back to
// frequency alone (the baseline the shipped tables are measured against).
//
// Only the public interface is used: the header <urduspell/spellcheckerptr.h> and the shared
// library.
#include <urduspell/spellcheckerptr.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kSuggestions = 10;
constexpr int kBufferBytes = 40;
constexpr std::size_t kMaxUnits = 20;

// UTF-8 to UTF-16 code units. Only the Basic Multilingual Plane matters for Urdu; a character
// beyond it or a malformed byte becomes U+FFFD, which is in no alphabet.
std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= text.size()) {
      out.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    out.push_back(cp > 0xFFFF ? u'\uFFFD' : static_cast<char16_t>(cp));
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

std::string Utf16ToUtf8(const std::u16string& text) {
  std::string out;
  for (char16_t u : text) {
    const unsigned cp = u;
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

// A suggestion buffer: UTF-16LE units up to the first unit whose low byte is 0.
std::u16string DecodeBuffer(const char* buffer) {
  std::u16string out;
  for (int i = 0; i + 1 < kBufferBytes; i += 2) {
    const unsigned char lo = static_cast<unsigned char>(buffer[i]);
    const unsigned char hi = static_cast<unsigned char>(buffer[i + 1]);
    if (lo == 0) break;
    out.push_back(static_cast<char16_t>(lo | (hi << 8)));
  }
  return out;
}

// The value of `key = value` in config.ini, or empty.
std::string ConfigValue(const fs::path& config, const std::string& key) {
  std::ifstream in(config, std::ios::binary);
  std::string line;
  const auto trim = [](std::string s) {
    const char* blanks = " \t\r\n";
    const auto b = s.find_first_not_of(blanks);
    if (b == std::string::npos) return std::string();
    return s.substr(b, s.find_last_not_of(blanks) - b + 1);
  };
  std::string value;
  while (std::getline(in, line)) {
    const auto eq = line.find('=');
    if (eq != std::string::npos && trim(line.substr(0, eq)) == key) value = trim(line.substr(eq + 1));
  }
  return value;
}

// A fresh folder under the system's temporary folder, removed with its content on destruction.
class WorkFolder {
 public:
  WorkFolder() {
    std::random_device device;
    for (int attempt = 0; attempt < 100; ++attempt) {
      const fs::path candidate =
          fs::temp_directory_path() / ("urduspell-quality-" + std::to_string(device()));
      if (fs::create_directory(candidate)) {
        path_ = candidate;
        return;
      }
    }
    throw std::runtime_error("cannot create a temporary folder");
  }
  ~WorkFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// Makes a folder the current directory for the life of the object.
class InFolder {
 public:
  explicit InFolder(const fs::path& dir) : previous_(fs::current_path()) { fs::current_path(dir); }
  ~InFolder() {
    std::error_code ignored;
    fs::current_path(previous_, ignored);
  }
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;

 private:
  fs::path previous_;
};

int Usage() {
  std::cerr << "usage: urduspell_quality_driver --data DIR [--empty-tables] < words > results\n";
  return 2;
}

int Run(const fs::path& data, bool emptyTables) {
  WorkFolder work;
  for (const fs::directory_entry& entry : fs::directory_iterator(data)) {
    if (entry.is_regular_file()) fs::copy_file(entry.path(), work.path() / entry.path().filename());
  }
  if (emptyTables) {
    for (const char* key : {"soundexFilePath", "shapexFilePath"}) {
      const std::string name = ConfigValue(work.path() / "config.ini", key);
      if (name.empty()) throw std::runtime_error(std::string("config.ini names no ") + key);
      std::ofstream(work.path() / name, std::ios::binary | std::ios::trunc);
    }
  }

  InFolder inWork(work.path());
  SpellCheckerPtr checker;
  if (!checker.Initialize()) {
    std::cerr << "urduspell_quality_driver: Initialize() returned false\n";
    return 1;
  }
  std::array<std::array<char, kBufferBytes>, kSuggestions> buffers{};
  std::array<char*, kSuggestions> suggestions{};
  for (int i = 0; i < kSuggestions; ++i) suggestions[i] = buffers[i].data();

  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::u16string word = Utf8ToUtf16(line);
    if (word.size() > kMaxUnits) word.resize(kMaxUnits);
    std::array<unsigned char, kBufferBytes + 2> bytes{};  // zero pair after 20 units
    for (std::size_t i = 0; i < word.size(); ++i) {
      bytes[2 * i] = static_cast<unsigned char>(word[i] & 0xFF);
      bytes[2 * i + 1] = static_cast<unsigned char>(word[i] >> 8);
    }
    const int result = checker.SpellCheck(bytes.data(), suggestions.data());
    std::string out = line + "\t" + std::to_string(result);
    for (int i = 0; i < result; ++i) out += "\t" + Utf16ToUtf8(DecodeBuffer(suggestions[i]));
    std::cout << out << '\n';
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  fs::path data;
  bool emptyTables = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--data" && i + 1 < argc) {
      data = argv[++i];
    } else if (arg == "--empty-tables") {
      emptyTables = true;
    } else {
      return Usage();
    }
  }
  if (data.empty()) return Usage();
  std::ios::sync_with_stdio(false);
  try {
    return Run(fs::absolute(data), emptyTables);
  } catch (const TRELVAException& ex) {
    std::cerr << "urduspell_quality_driver: " << ex.GetFormattedMessage() << '\n';
  } catch (const std::exception& ex) {
    std::cerr << "urduspell_quality_driver: " << ex.what() << '\n';
  }
  return 1;
}
