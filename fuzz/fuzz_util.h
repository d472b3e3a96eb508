// Shared by the fuzz targets: a working folder per process (made the current directory, since the
// library reads config.ini from there), a small valid data set to build and load, checks through
// the exported handle with exact-size buffers, and the seed mode.
//
// Seed mode: with URDUSPELL_FUZZ_SEEDS=<folder> in the environment a target writes its seed
// inputs, made from the valid data set, into that folder and exits instead of fuzzing.
#ifndef URDUSPELL_FUZZ_FUZZ_UTIL_H_
#define URDUSPELL_FUZZ_FUZZ_UTIL_H_

#include <urduspell/spellcheckerptr.h>
#include <urduspell/trelvaexception.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fuzzutil {

namespace fs = std::filesystem;
using Bytes = std::string;  // raw file content

// Stops the run with a message; libFuzzer reports the abort as a crash with its input.
[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "urduspell fuzz invariant broken: %s\n", what);
  std::abort();
}

// A fresh folder, created on the first call of the process and made the current directory;
// removed when the process ends normally.
inline const fs::path& WorkDir() {
  static const fs::path dir = [] {
    fs::path base = fs::temp_directory_path() / ("urduspell-fuzz-" + std::to_string(getpid()));
    fs::remove_all(base);
    fs::create_directories(base);
    fs::current_path(base);
    std::atexit([] {
      std::error_code ec;
      fs::current_path(fs::temp_directory_path(), ec);
      fs::remove_all(fs::temp_directory_path() / ("urduspell-fuzz-" + std::to_string(getpid())), ec);
    });
    return base;
  }();
  return dir;
}

inline void WriteFile(const fs::path& path, const void* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) Fail("cannot write a working file");
}
inline void WriteFile(const fs::path& path, const Bytes& bytes) {
  WriteFile(path, bytes.data(), bytes.size());
}
inline Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// UTF-16LE bytes, with the mark FF FE in front when withMark.
inline Bytes Utf16(const std::u16string& text, bool withMark = true) {
  Bytes out = withMark ? Bytes("\xFF\xFE", 2) : Bytes();
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

// The data set is written in a Latin transliteration: a=ا b=ب p=پ t=ت T=ٹ s=س S=ث j=ج c=چ
// h=ح x=خ d=د r=ر z=ز k=ک g=گ l=ل m=م n=ن w=و y=ی; other characters stay as they are.
inline const std::string kLatin = "abptTsSjchxdrzkglmnwy";
inline const std::u16string kUrdu =
    u"\u0627\u0628\u067E\u062A\u0679\u0633\u062B\u062C\u0686\u062D\u062E\u062F\u0631\u0632\u06A9"
    u"\u06AF\u0644\u0645\u0646\u0648\u06CC";

inline std::u16string Ur(const std::string& latin) {
  std::u16string out;
  for (char c : latin) {
    const auto at = kLatin.find(c);
    out.push_back(at == std::string::npos ? static_cast<char16_t>(c) : kUrdu[at]);
  }
  return out;
}

// Dictionary words of one to 22 letters (the longest two keep 20 letters in the hash table file).
inline const std::vector<std::pair<std::string, int>> kWords = {
    {"ab", 50},       {"ba", 40},         {"bt", 30},        {"sab", 900},     {"sbt", 40},
    {"Sbt", 35},      {"kalm", 300},      {"ktab", 800},     {"ktb", 60},      {"dwst", 700},
    {"nam", 650},     {"mlk", 500},       {"dyn", 450},      {"sdr", 120},     {"rsm", 90},
    {"zmyn", 400},    {"jhaz", 80},       {"chaj", 20},      {"Tkr", 70},      {"hkm", 110},
    {"xbr", 600},     {"gmn", 10},        {"lwgwn", 350},    {"bchwn", 150},   {"pakstan", 990},
    {"mhbt", 610},    {"dnya", 720},      {"shr", 430},      {"ptr", 25},      {"tbr", 26},
    {"a", 5},         {"ktabyn", 210},    {"dwstwn", 205},   {"zndgy", 340},   {"mwsm", 130},
    {"abptTsSjchxdrzkglmnwya", 1},        {"yyyyyyyyyyyyyyyyyyyyyy", 2},
};

inline Bytes AlphabetFile() {
  std::u16string text;
  for (char16_t c : kUrdu) text += std::u16string(1, c) + u"\r\n";
  return Utf16(text);
}

// The count line promises one entry more than the words: the last entry is read and dropped.
inline Bytes WordListFile() {
  std::u16string text = Ur(std::to_string(kWords.size() + 1)) + u"\r\n";
  for (const auto& [word, freq] : kWords) text += Ur(word) + u"\t" + Ur(std::to_string(freq)) + u"\r\n";
  text += Ur("aaaaaaaa") + u"\t1\r\n";
  return Utf16(text);
}

inline Bytes ClassTableFile(const std::vector<std::pair<char, int>>& classes) {
  Bytes text;
  char line[32];
  for (const auto& [letter, cls] : classes) {
    std::snprintf(line, sizeof line, "%04X=%d\r\n", static_cast<unsigned>(Ur(std::string(1, letter))[0]), cls);
    text += line;
  }
  return text;
}
inline Bytes SoundexFile() {
  return ClassTableFile({{'s', 1}, {'S', 1}, {'b', 2}, {'p', 2}, {'k', 3}, {'d', 4}, {'t', 5}, {'T', 5},
                         {'z', 6}, {'h', 7}, {'x', 7}, {'m', 8}, {'n', 8}, {'r', 9}, {'l', 12}});
}
inline Bytes ShapexFile() {
  return ClassTableFile({{'b', 1}, {'p', 1}, {'t', 1}, {'T', 1}, {'S', 1}, {'j', 2}, {'c', 2}, {'h', 2},
                         {'x', 2}, {'d', 3}, {'r', 4}, {'z', 4}, {'s', 5}, {'k', 6}, {'g', 6}});
}

inline Bytes ConfigFile(const std::string& initialize) {
  return "initialize = " + initialize +
         "\r\nwordListFilePath = words.txt\r\nhashTableFilePath = hash.bin\r\n"
         "bigramMatrixFilePath = bigram.idx\r\nbigramPLFilePath = bigram.pl\r\n"
         "unigramListsFilePath = unigram.idx\r\nunigramPLFilePath = unigram.pl\r\n"
         "urduAlphabetFilePath = alphabet.txt\r\nsoundexFilePath = soundex.txt\r\n"
         "shapexFilePath = shapex.txt\r\n";
}

// Writes the source files of the data set into the working folder; with build, also builds the
// derived files through a handle (which leaves config.ini saying initialize = NO).
inline void WriteDataSet(bool build) {
  const fs::path& dir = WorkDir();
  WriteFile(dir / "alphabet.txt", AlphabetFile());
  WriteFile(dir / "words.txt", WordListFile());
  WriteFile(dir / "soundex.txt", SoundexFile());
  WriteFile(dir / "shapex.txt", ShapexFile());
  WriteFile(dir / "config.ini", ConfigFile("YES"));
  if (build) {
    SpellCheckerPtr builder;
    if (!builder.Initialize()) Fail("the valid data set did not build");
  }
}

// The dictionary as the handle can give it back: every word cut to the 20 units the hash table
// file keeps.
inline std::set<std::u16string> Dictionary() {
  std::set<std::u16string> words;
  for (const auto& [word, freq] : kWords) words.insert(Ur(word).substr(0, 20));
  return words;
}

// Words to check against a loaded data set: found, misspelt in several ways, short, long.
inline std::vector<std::u16string> ProbeWords() {
  std::vector<std::u16string> probes;
  for (const char* w : {"ab", "ktab", "kitab", "ktba", "tkab", "sb", "sbb", "kalmm", "pakstn",
                        "dwsst", "zmyyn", "a", "aa", "abc", "lwgwnn", "abptTsSjchxdrzkglmny",
                        "yyyyyyyyyyyyyyyyyyy", "ttt", "bbb", "mhbbt"}) {
    probes.push_back(Ur(w));
  }
  return probes;
}

struct Answer {
  int result = 0;
  std::vector<std::u16string> suggestions;
  bool operator==(const Answer&) const = default;
};

// Checks the caller bytes through the handle the way a careful host would: the word in a buffer
// of exactly its size (the handle must not read past a terminator or past 40 bytes) and ten
// suggestion buffers of exactly 40 bytes, filled with a marker to see which ones were written.
// Breaks the run when the answer breaks the exported contract.
inline Answer CheckBytes(SpellCheckerPtr& handle, const unsigned char* word, std::size_t size) {
  constexpr unsigned char kMarker = 0xAA;
  std::unique_ptr<unsigned char[]> copy(new unsigned char[size == 0 ? 1 : size]);
  if (size > 0) std::memcpy(copy.get(), word, size);
  std::unique_ptr<char[]> buffers[10];
  char* pointers[10];
  for (int i = 0; i < 10; ++i) {
    buffers[i].reset(new char[40]);
    std::memset(buffers[i].get(), kMarker, 40);
    pointers[i] = buffers[i].get();
  }
  Answer answer;
  answer.result = handle.SpellCheck(copy.get(), pointers);
  if (answer.result < -1 || answer.result > 10) Fail("result outside -1..10");
  const int written = answer.result < 0 ? 0 : answer.result;
  for (int i = 0; i < 10; ++i) {
    const auto* b = reinterpret_cast<const unsigned char*>(buffers[i].get());
    if (i >= written) {
      for (int k = 0; k < 40; ++k) {
        if (b[k] != kMarker) Fail("a buffer past the count was written");
      }
      continue;
    }
    // At most 19 units fit with their terminating byte, so the last two bytes are always 0.
    // The word is what a host reads: units up to the first pair whose low byte is 0 (a word
    // from a damaged file may hold such a unit; the bytes after it are then still the word's).
    if (b[38] != 0 || b[39] != 0) Fail("a suggestion without its terminating byte");
    std::u16string s;
    for (int k = 0; k < 40 && b[k] != 0; k += 2) s.push_back(static_cast<char16_t>(b[k] | (b[k + 1] << 8)));
    answer.suggestions.push_back(s);
  }
  return answer;
}

// A word terminated as the handle expects (a zero pair after it); at most 20 units are used.
inline Answer CheckWord(SpellCheckerPtr& handle, const std::u16string& word) {
  Bytes bytes = Utf16(word.substr(0, 20), false);
  if (bytes.size() < 40) bytes.append(2, '\0');
  return CheckBytes(handle, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

// Every suggestion must be a dictionary word: damaged files may lose suggestions, never invent
// them.
inline void ExpectDictionaryWords(const Answer& answer, const std::set<std::u16string>& dictionary) {
  for (const std::u16string& s : answer.suggestions) {
    if (dictionary.count(s) == 0) Fail("a suggestion that is no dictionary word");
  }
}

// Seed mode: true (after writing the seeds) when the environment asks for seeds.
inline const char* SeedFolder() { return std::getenv("URDUSPELL_FUZZ_SEEDS"); }

inline void WriteSeeds(const std::vector<Bytes>& seeds) {
  const fs::path dir = SeedFolder();
  fs::create_directories(dir);
  for (std::size_t i = 0; i < seeds.size(); ++i) {
    WriteFile(dir / ("seed-" + std::to_string(i)), seeds[i]);
  }
  std::exit(0);
}

}  // namespace fuzzutil

#endif  // URDUSPELL_FUZZ_FUZZ_UTIL_H_
