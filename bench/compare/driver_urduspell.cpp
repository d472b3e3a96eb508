// urduspell in the comparison, through its public handle only (the public header and the shared
// library), as any host uses it. --dict is a data folder whose derived files are already built
// (config.ini says initialize = NO); it becomes the current directory, where the library looks
// for config.ini. The first run on a folder that still says YES builds them.
#include <urduspell/spellcheckerptr.h>

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "driver.h"

namespace {

constexpr int kWordBytes = 40;
constexpr int kSuggestionBytes = 40;
constexpr int kSuggestions = 10;

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : 3;
    char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k <= extra && i + k < text.size(); ++k) {
      cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
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

class Urduspell {
 public:
  // The caller's 40 bytes: UTF-16LE, zero-filled after the word.
  using Word = std::array<unsigned char, kWordBytes + 2>;

  Urduspell() {
    for (int i = 0; i < kSuggestions; ++i) pointers_[i] = buffers_[i].data();
  }

  void Load(const std::string& dictionary) {
    std::filesystem::current_path(dictionary);
    checker_ = std::make_unique<SpellCheckerPtr>();
    try {
      checker_->Initialize();
    } catch (const TRELVAException& e) {
      throw std::runtime_error(e.GetFormattedMessage());
    }
  }

  Word Prepare(const std::string& utf8) const {
    Word word{};
    const std::u16string units = Utf8ToUtf16(utf8);
    for (std::size_t i = 0; i < units.size() && i < kWordBytes / 2; ++i) {
      word[2 * i] = static_cast<unsigned char>(units[i] & 0xFF);
      word[2 * i + 1] = static_cast<unsigned char>(units[i] >> 8);
    }
    return word;
  }

  bool Correct(Word& word) { return checker_->SpellCheck(word.data(), pointers_.data()) == -1; }

  bool Suggest(Word& word) {
    count_ = checker_->SpellCheck(word.data(), pointers_.data());
    return count_ != -1;
  }

  std::vector<std::string> Suggestions() const {
    std::vector<std::string> out;
    for (int i = 0; i < count_; ++i) {
      std::u16string s;
      const auto* bytes = reinterpret_cast<const unsigned char*>(buffers_[i].data());
      for (int k = 0; k + 1 < kSuggestionBytes && bytes[k] != 0; k += 2) {
        s.push_back(static_cast<char16_t>(bytes[k] | (bytes[k + 1] << 8)));
      }
      out.push_back(Utf16ToUtf8(s));
    }
    return out;
  }

 private:
  std::unique_ptr<SpellCheckerPtr> checker_;
  std::array<std::array<char, kSuggestionBytes>, kSuggestions> buffers_{};
  std::array<char*, kSuggestions> pointers_{};
  int count_ = 0;
};

}  // namespace

int main(int argc, char** argv) { return compare::RunDriver<Urduspell>(argc, argv); }
