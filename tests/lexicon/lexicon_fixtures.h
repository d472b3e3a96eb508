// Word lists and alphabets for the lexicon and engine tests.
#ifndef URDUSPELL_TESTS_LEXICON_LEXICON_FIXTURES_H_
#define URDUSPELL_TESTS_LEXICON_LEXICON_FIXTURES_H_

#include <string>
#include <utility>
#include <vector>

#include "lexicon/unichar2indexmap.h"
#include "testutil.h"

namespace testutil {

using Entries = std::vector<std::pair<std::u16string, int>>;

// A word list: count line, then "word TAB frequency" lines ending in CR LF (the last one too
// when finalLineEnd).
inline Bytes WordListBytes(const std::string& countLine, const Entries& entries,
                           bool finalLineEnd = true) {
  std::u16string text(countLine.begin(), countLine.end());
  text += u"\r\n";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string freq = std::to_string(entries[i].second);
    text += entries[i].first + u"\t" + std::u16string(freq.begin(), freq.end());
    if (finalLineEnd || i + 1 < entries.size()) text += u"\r\n";
  }
  return Utf16Le(text);
}

// The letters the fixtures use, in this order.
inline const std::u16string kLetters = u"\u0627\u0628\u067E\u062A\u0679\u062B\u062C\u0686";

inline urduspell::UniChar2IndexMap LetterMap(const std::u16string& letters = kLetters) {
  urduspell::UniChar2IndexMap map;
  for (char16_t c : letters) map.AddChar(c);
  return map;
}

}  // namespace testutil

#endif  // URDUSPELL_TESTS_LEXICON_LEXICON_FIXTURES_H_
