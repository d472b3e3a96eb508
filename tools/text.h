// Text handling for the command-line checker: decoding input files, UTF-8/UTF-16 conversion and
// splitting text into the words that are worth asking the library about.
//
// Positions are UTF-16 code unit indices into the decoded text; what users and editors see are
// characters (code points), so CodePoints() turns an index range into a character count.
#ifndef URDUSPELL_TOOLS_TEXT_H_
#define URDUSPELL_TOOLS_TEXT_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace urduspell::cli {

// The library examines at most 40 bytes of a word, that is 20 UTF-16 code units. Longer words
// are passed over rather than checked by their first 20 units.
inline constexpr std::size_t kMaxWordUnits = 20;

struct DecodedText {
  std::u16string text;  // without the byte-order mark
  std::string error;    // why the bytes are not text; empty when decoding succeeded
};

// Decodes the bytes of a file. A byte-order mark selects UTF-8, UTF-16LE or UTF-16BE; without one
// the bytes must be UTF-8. A NUL byte outside UTF-16 marks a binary file; malformed UTF-8 is
// reported with its line number.
DecodedText DecodeText(std::string_view bytes);

// UTF-8 to UTF-16; every malformed byte becomes U+FFFD (one character), so offsets stay
// meaningful for editor lines.
std::u16string FromUtf8Lossy(std::string_view utf8);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view utf16);

// Number of code points in text (a surrogate pair counts once).
std::size_t CodePoints(std::u16string_view text);

// True when the text holds at least one letter of the Arabic script (the script Urdu is written
// in). Latin words, numbers and punctuation hold none.
bool HasUrduLetter(std::u16string_view text);

// True when the word is one to ask the library about: it has an Urdu letter and fits the
// library's 20 code units.
bool IsCheckable(std::u16string_view word);

struct WordSpan {
  std::size_t begin;  // code unit index of the first unit
  std::size_t end;    // one past the last unit
};

// Splits text into words with ICU's word boundary rules (so joiners and combining marks stay
// inside a word, and punctuation and spaces are never part of one). Keeps only the spans that
// hold an Urdu letter; the caller decides about length. Not thread-safe: one per thread.
class WordSplitter {
 public:
  WordSplitter();
  ~WordSplitter();
  WordSplitter(const WordSplitter&) = delete;
  WordSplitter& operator=(const WordSplitter&) = delete;

  std::vector<WordSpan> Split(std::u16string_view text);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace urduspell::cli

#endif  // URDUSPELL_TOOLS_TEXT_H_
