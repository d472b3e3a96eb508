// A small data set written into a folder: alphabet, word list, class tables and config.ini.
// Words are written in a Latin transliteration so that the test tables stay readable:
// a=ا b=ب p=پ t=ت T=ٹ s=س S=ث j=ج c=چ h=ح x=خ d=د r=ر z=ز k=ک g=گ l=ل m=م n=ن w=و y=ی
#ifndef URDUSPELL_TESTS_ENGINE_ENGINE_FIXTURE_H_
#define URDUSPELL_TESTS_ENGINE_ENGINE_FIXTURE_H_

#include <string>
#include <utility>
#include <vector>

#include "testutil.h"

namespace testutil {

inline const std::string kLatin = "abptTsSjchxdrzkglmnwy";
inline const std::u16string kUrdu =
    u"\u0627\u0628\u067E\u062A\u0679\u0633\u062B\u062C\u0686\u062D\u062E\u062F\u0631\u0632\u06A9"
    u"\u06AF\u0644\u0645\u0646\u0648\u06CC";

// Latin letters become Urdu letters; any other character is kept as it is.
inline std::u16string Ur(const std::string& latin) {
  std::u16string out;
  for (char c : latin) {
    const auto at = kLatin.find(c);
    out.push_back(at == std::string::npos ? static_cast<char16_t>(c) : kUrdu[at]);
  }
  return out;
}

inline std::string Latin(const std::u16string& urdu) {
  std::string out;
  for (char16_t c : urdu) {
    const auto at = kUrdu.find(c);
    out.push_back(at == std::u16string::npos ? '?' : kLatin[at]);
  }
  return out;
}

struct DataSet {
  std::vector<std::pair<std::string, int>> words;  // Latin transliteration, frequency
  // Class tables as "letter=class" pairs in transliteration, e.g. {{'s', 1}, {'S', 1}}.
  std::vector<std::pair<char, int>> soundex;
  std::vector<std::pair<char, int>> shapex;
  std::string initialize = "YES";
};

inline std::string ClassTableText(const std::vector<std::pair<char, int>>& classes) {
  std::string text;
  char line[32];
  for (const auto& [letter, cls] : classes) {
    std::snprintf(line, sizeof line, "%04X=%d\n", static_cast<unsigned>(Ur(std::string(1, letter))[0]), cls);
    text += line;
  }
  return text;
}

inline std::string ConfigText(const std::string& initialize) {
  return "initialize = " + initialize +
         "\r\nwordListFilePath = words.txt\r\nhashTableFilePath = hash.bin\r\n"
         "bigramMatrixFilePath = bigram.idx\r\nbigramPLFilePath = bigram.pl\r\n"
         "unigramListsFilePath = unigram.idx\r\nunigramPLFilePath = unigram.pl\r\n"
         "urduAlphabetFilePath = alphabet.txt\r\nsoundexFilePath = soundex.txt\r\n"
         "shapexFilePath = shapex.txt\r\n";
}

// Writes the data set into dir with relative paths, so dir must be the current directory when
// the engine initialises. A filler word of g's (a letter no test word uses) makes even a
// one-word list long enough to build; the count line promises one entry more than the words,
// and a last entry is there to be dropped, so every word is stored.
inline void WriteDataSet(const TempDir& dir, const DataSet& data) {
  std::u16string alphabet;
  for (char16_t c : kUrdu) alphabet += std::u16string(1, c) + u"\r\n";
  WriteBytes(dir.File("alphabet.txt"), Utf16Le(alphabet));

  std::u16string list = Ur(std::to_string(data.words.size() + 2)) + u"\r\n";
  list += Ur("gggggggggg") + u"\t1\r\n";
  for (const auto& [word, freq] : data.words) {
    list += Ur(word) + u"\t" + Ur(std::to_string(freq)) + u"\r\n";
  }
  list += u"\u0627\u0627\u0627\u0627\u0627\u0627\u0627\u0627\t1\r\n";
  WriteBytes(dir.File("words.txt"), Utf16Le(list));
  WriteText(dir.File("soundex.txt"), ClassTableText(data.soundex));
  WriteText(dir.File("shapex.txt"), ClassTableText(data.shapex));
  WriteText(dir.File("config.ini"), ConfigText(data.initialize));
}

}  // namespace testutil

#endif  // URDUSPELL_TESTS_ENGINE_ENGINE_FIXTURE_H_
