#include "engine.h"

#include <array>
#include <fstream>
#include <sstream>

#include "common.h"
#include "text.h"
#include "workdir.h"

namespace urduspell::cli {
namespace fs = std::filesystem;
namespace {

// The library's word and suggestion layout: UTF-16LE, at most 40 bytes, ten 40-byte buffers.
constexpr std::size_t kWordBytes = 40;
constexpr int kMaxSuggestions = 10;

std::u16string TrimBlanks(std::u16string_view s) {
  const auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && blank(s[b])) ++b;
  while (e > b && blank(s[e - 1])) --e;
  return std::u16string(s.substr(b, e - b));
}

}  // namespace

Engine::Engine(const fs::path& workFolder) {
  ScopedCwd cwd(workFolder);
  if (!handle_.Initialize()) {
    throw CliError("the library could not initialise the data set in " + workFolder.string());
  }
}

Verdict Engine::Check(std::u16string_view word) {
  // The library ends a word at the first code unit whose low byte is 0. No such unit is a letter
  // of the Urdu alphabet, and the library drops everything that is not one, so leaving them out
  // asks the same question without cutting the word short.
  std::array<unsigned char, kWordBytes + 2> bytes{};
  std::size_t n = 0;
  for (const char16_t unit : word) {
    if ((unit & 0xFF) == 0) continue;
    if (n + 2 > kWordBytes) break;
    bytes[n++] = static_cast<unsigned char>(unit & 0xFF);
    bytes[n++] = static_cast<unsigned char>(unit >> 8);
  }
  std::array<std::array<char, kWordBytes>, kMaxSuggestions> buffers{};
  std::array<char*, kMaxSuggestions> pointers{};
  for (int i = 0; i < kMaxSuggestions; ++i) pointers[i] = buffers[i].data();

  const int count = handle_.SpellCheck(bytes.data(), pointers.data());
  Verdict verdict;
  if (count < 0) return verdict;
  verdict.ok = false;
  for (int i = 0; i < count && i < kMaxSuggestions; ++i) {
    std::u16string suggestion;
    for (std::size_t k = 0; k + 1 < kWordBytes; k += 2) {
      const auto unit = static_cast<char16_t>(static_cast<unsigned char>(buffers[i][k]) |
                                              (static_cast<unsigned char>(buffers[i][k + 1]) << 8));
      if (unit == 0) break;
      suggestion.push_back(unit);
    }
    if (!suggestion.empty()) verdict.suggestions.push_back(std::move(suggestion));
  }
  return verdict;
}

WordList::WordList(fs::path file) : file_(std::move(file)) {
  std::error_code ec;
  if (file_.empty() || !fs::exists(file_, ec)) return;
  std::ifstream in(file_, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (!in) throw CliError("cannot read the personal dictionary " + file_.string());
  const DecodedText decoded = DecodeText(bytes.str());
  if (!decoded.error.empty()) {
    throw CliError("the personal dictionary " + file_.string() + " is " + decoded.error);
  }
  std::size_t start = 0;
  while (start <= decoded.text.size()) {
    std::size_t end = decoded.text.find(u'\n', start);
    if (end == std::u16string::npos) end = decoded.text.size();
    std::u16string word = TrimBlanks(std::u16string_view(decoded.text).substr(start, end - start));
    if (!word.empty()) words_.insert(std::move(word));
    start = end + 1;
  }
}

bool WordList::Contains(std::u16string_view word) const {
  return words_.find(std::u16string(word)) != words_.end();
}

void WordList::Accept(std::u16string word) {
  word = TrimBlanks(word);
  if (!word.empty()) words_.insert(std::move(word));
}

void WordList::Add(std::u16string word) {
  word = TrimBlanks(word);
  if (word.empty()) return;
  unsaved_.push_back(word);
  words_.insert(std::move(word));
}

void WordList::Save() {
  if (unsaved_.empty()) return;
  if (file_.empty()) throw CliError("no personal dictionary to save the words to");
  std::error_code ec;
  if (file_.has_parent_path()) fs::create_directories(file_.parent_path(), ec);
  std::string text;
  {
    // Appending must not glue the first new word to a last line without a line end, nor mix
    // UTF-8 into a UTF-16 file.
    std::ifstream existing(file_, std::ios::binary);
    std::string head(2, '\0');
    if (existing.read(head.data(), 2) && (head == "\xFF\xFE" || head == "\xFE\xFF")) {
      throw CliError("the personal dictionary " + file_.string() +
                     " is UTF-16; words are added as UTF-8, so convert it to UTF-8 first");
    }
    existing.clear();
    if (existing.seekg(-1, std::ios::end) && existing.get() != '\n') text = "\n";
  }
  for (const auto& word : unsaved_) text += ToUtf8(word) + "\n";
  std::ofstream out(file_, std::ios::binary | std::ios::app);
  out << text;
  out.close();
  if (!out) throw CliError("cannot write the personal dictionary " + file_.string());
  unsaved_.clear();
}

}  // namespace urduspell::cli
