// Every answer of the check, pinned. A fixed generated data set (about 19,000 words with dense
// neighbourhoods and many equal frequencies) and about 900 fixed queries (correct words, one to
// three edits of every kind, sound-alike letters, words with non-letters, one-letter words) go
// through an engine that built the derived files, an engine that loaded them and a handle, and
// through an engine that measures candidates on the words themselves rather than through its
// index. All must agree, and the answers (every suggestion, in order) must equal the committed
// file golden_answers.txt beside this test. Work on the speed of the check must leave it as it is.
//
// To remake the file after a change of behaviour that is meant (review the difference!):
//   URDUSPELL_GOLDEN_OUTPUT=/tmp/answers.txt urduspell_tests --gtest_filter='*GoldenAnswers*'
//   cp /tmp/answers.txt tests/engine/golden_answers.txt
#include <gtest/gtest.h>
#include <urduspell/spellcheckerptr.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/spellchecker.h"
#include "testutil.h"

namespace {

using testutil::ScopedCwd;
using testutil::TempDir;
using urduspell::SpellChecker;

using Random = testutil::SplitMix;

// 36 Urdu letters; the first letters are drawn most often, so some letter pairs have long lists
// and many words have near neighbours.
const std::u16string kLetters =
    u"\u0627\u06CC\u0631\u0646\u0648\u06A9\u06C1\u062A\u0645\u0644\u0633\u0628\u062F\u06D2"
    u"\u06BA\u067E\u062C\u0634\u0639\u0642\u0641\u06AF\u06BE\u062D\u062E\u0632\u0679\u0688"
    u"\u0635\u0637\u0686\u0622\u0626\u0691\u063A\u0621";
constexpr std::size_t kMaxUnits = 20;  // what the handle reads of a word
// Share of words by length 1..20.
constexpr int kLengthWeights[] = {2, 6, 10, 14, 14, 12, 10, 8, 6, 5, 4, 3, 2, 2, 1, 1, 1, 1, 1, 1};

// Sound-alike classes in threes (letters 2..31), look-alike classes by position modulo 12
// (letters 4..35); the rest have no class.
int SoundexClass(std::size_t letter) {
  return letter >= 2 && letter < 32 ? 10 + static_cast<int>(letter / 3) : 0;
}
int ShapexClass(std::size_t letter) { return letter >= 4 ? 10 + static_cast<int>(letter % 12) : 0; }

char16_t RandomLetter(Random& random) {
  // The product of two uniform indexes favours the first letters strongly.
  const std::size_t n = kLetters.size();
  return kLetters[random.Below(n) * random.Below(n) / (n - 1)];
}

std::size_t RandomLength(Random& random) {
  int total = 0;
  for (int w : kLengthWeights) total += w;
  int pick = static_cast<int>(random.Below(static_cast<std::size_t>(total)));
  for (std::size_t i = 0; i < std::size(kLengthWeights); ++i) {
    if (pick < kLengthWeights[i]) return i + 1;
    pick -= kLengthWeights[i];
  }
  return 1;
}

enum class Edit { kDelete, kInsert, kSubstitute, kExchange, kSoundAlike };

// One edit of word; false when the edit is impossible or changes nothing.
bool ApplyEdit(Edit edit, std::u16string& word, Random& random) {
  if (word.empty()) return false;
  const std::size_t at = random.Below(word.size());
  switch (edit) {
    case Edit::kDelete:
      word.erase(at, 1);
      return true;
    case Edit::kInsert:
      word.insert(word.begin() + static_cast<std::ptrdiff_t>(random.Below(word.size() + 1)),
                  RandomLetter(random));
      return true;
    case Edit::kSubstitute: {
      const char16_t letter = RandomLetter(random);
      if (word[at] == letter) return false;
      word[at] = letter;
      return true;
    }
    case Edit::kExchange:
      if (at + 1 >= word.size() || word[at] == word[at + 1]) return false;
      std::swap(word[at], word[at + 1]);
      return true;
    case Edit::kSoundAlike: {
      const std::size_t letter = kLetters.find(word[at]);
      const int cls = SoundexClass(letter);
      if (cls == 0) return false;
      const std::size_t first = static_cast<std::size_t>(cls - 10) * 3;
      const std::size_t other = first + random.Below(3);
      if (other == letter) return false;
      word[at] = kLetters[other];
      return true;
    }
  }
  return false;
}

struct GoldenData {
  std::vector<std::pair<std::u16string, int>> entries;  // as written to the word list
  std::vector<std::u16string> queries;
};

GoldenData MakeGoldenData() {
  GoldenData data;
  Random random(20240601);
  std::set<std::u16string> taken;
  std::vector<std::u16string> words;  // distinct stored words, in list order
  auto frequency = [&] {
    // Mostly small numbers, so equal frequencies are common, as in a real list.
    return random.Below(5) == 0 ? 1 + static_cast<int>(random.Below(100000))
                                : 1 + static_cast<int>(random.Below(30));
  };
  auto add = [&](const std::u16string& word) {
    if (word.empty() || word.size() > kMaxUnits || !taken.insert(word).second) return;
    data.entries.emplace_back(word, frequency());
    words.push_back(word);
  };
  while (words.size() < 9000) {
    std::u16string word;
    for (std::size_t n = RandomLength(random); n > 0; --n) word.push_back(RandomLetter(random));
    add(word);
  }
  // Near neighbours of earlier words: dense neighbourhoods give many candidates per bucket.
  // Neighbours of neighbours too, so that some words have many words one or two edits away.
  for (int i = 0; i < 10000; ++i) {
    std::u16string word = words[random.Below(words.size())];
    const Edit edits[] = {Edit::kDelete, Edit::kInsert, Edit::kSubstitute, Edit::kSoundAlike};
    if (ApplyEdit(edits[random.Below(4)], word, random)) add(word);
  }
  for (int i = 0; i < 500; ++i) {
    std::u16string word = words[random.Below(words.size())];
    if (ApplyEdit(Edit::kExchange, word, random)) add(word);
  }
  // The same word listed twice, and words with units the alphabet filter removes.
  for (int i = 0; i < 200; ++i) {
    data.entries.emplace_back(words[random.Below(words.size())], frequency());
  }
  for (int i = 0; i < 100; ++i) {
    std::u16string word = words[random.Below(words.size())];
    word.insert(random.Below(word.size() + 1), 1, i % 2 == 0 ? u'\u200C' : u'7');
    data.entries.emplace_back(word, frequency());
  }

  std::map<std::size_t, std::vector<std::u16string>> byLength;
  for (const std::u16string& w : words) byLength[w.size()].push_back(w);
  // Half of the query words have the lengths of the list, half any length in the range.
  auto wordOfLength = [&](std::size_t first, std::size_t last) {
    while (true) {
      std::size_t length = first + random.Below(last - first + 1);
      if (random.Below(2) == 0) length = std::clamp(RandomLength(random), first, last);
      const auto it = byLength.find(length);
      if (it != byLength.end()) return it->second[random.Below(it->second.size())];
    }
  };
  auto addQuery = [&](const std::u16string& query) {
    if (query.size() <= kMaxUnits) data.queries.push_back(query);
  };
  // Correct words, some with units the filter drops or blanks the handle trims.
  for (int i = 0; i < 80; ++i) {
    std::u16string word = wordOfLength(1, kMaxUnits - 2);
    if (i % 4 == 1) word.insert(random.Below(word.size() + 1), 1, u'\u200C');
    if (i % 4 == 2) word = u" " + word + u"\t";
    addQuery(word);
  }
  // Misspellings: one edit of each kind, then two and three edits, over every length.
  const Edit kinds[] = {Edit::kDelete, Edit::kInsert, Edit::kSubstitute, Edit::kExchange,
                        Edit::kSoundAlike};
  for (Edit kind : kinds) {
    for (int i = 0; i < 160; ++i) {
      std::u16string word = wordOfLength(2, kMaxUnits);
      if (ApplyEdit(kind, word, random) && !taken.count(word)) addQuery(word);
    }
  }
  for (int edits = 2; edits <= 3; ++edits) {
    for (int i = 0; i < 110; ++i) {
      std::u16string word = wordOfLength(3, kMaxUnits);
      for (int e = 0; e < edits; ++e) ApplyEdit(static_cast<Edit>(random.Below(5)), word, random);
      if (!taken.count(word)) addQuery(word);
    }
  }
  // Strings of random letters, and words with little or nothing left after the filter.
  for (int i = 0; i < 30; ++i) {
    std::u16string word;
    for (std::size_t n = 2 + random.Below(12); n > 0; --n) word.push_back(RandomLetter(random));
    addQuery(word);
  }
  for (const std::u16string& odd :
       {std::u16string(), std::u16string(u"abc 12"), std::u16string(1, kLetters[3]),
        std::u16string(u"x") + kLetters[5] + u"7", std::u16string(u"\u200C") + kLetters[0]}) {
    addQuery(odd);
  }
  return data;
}

std::string Escape(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) {
    if (c <= 0x20 || c == u'\\' || c == 0x200C || (c >= 0x7F && c < 0xA0)) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\u%04X", static_cast<unsigned>(c));
      out += hex;
    } else {
      out += testutil::U8(std::u16string(1, c));
    }
  }
  return out;
}

// How the check measures its candidates: through its index of the dictionary, or on the words
// themselves, which it does for alphabets too large for the index. Letters added at the end of
// the alphabet that no word uses change nothing else, so both must give the same answers.
enum class Measuring { kIndex, kWords };
constexpr std::size_t kLettersTheIndexHolds = 255;

void WriteDataSet(const TempDir& dir, const GoldenData& data, Measuring measuring) {
  std::u16string alphabet;
  for (char16_t c : kLetters) alphabet += std::u16string(1, c) + u"\r\n";
  if (measuring == Measuring::kWords) {
    for (std::size_t i = kLetters.size(); i <= kLettersTheIndexHolds; ++i) {
      alphabet += std::u16string(1, static_cast<char16_t>(0x4E00 + i)) + u"\r\n";
    }
  }
  testutil::WriteBytes(dir.File("alphabet.txt"), testutil::Utf16Le(alphabet));

  auto number = [](long n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
  };
  // The count line promises one entry more than there are, and that one is read and dropped.
  std::u16string list = number(static_cast<long>(data.entries.size()) + 1) + u"\r\n";
  for (const auto& [word, freq] : data.entries) list += word + u"\t" + number(freq) + u"\r\n";
  list += kLetters.substr(0, 6) + u"\t1\r\n";
  testutil::WriteBytes(dir.File("words.txt"), testutil::Utf16Le(list));

  std::string soundex;
  std::string shapex;
  char line[32];
  for (std::size_t i = 0; i < kLetters.size(); ++i) {
    if (SoundexClass(i) != 0) {
      std::snprintf(line, sizeof line, "%04X=%d\r\n", static_cast<unsigned>(kLetters[i]),
                    SoundexClass(i));
      soundex += line;
    }
    if (ShapexClass(i) != 0) {
      std::snprintf(line, sizeof line, "%04X=%d\r\n", static_cast<unsigned>(kLetters[i]),
                    ShapexClass(i));
      shapex += line;
    }
  }
  testutil::WriteText(dir.File("soundex.txt"), soundex);
  testutil::WriteText(dir.File("shapex.txt"), shapex);
  testutil::WriteText(
      dir.File("config.ini"),
      "initialize = YES\r\nwordListFilePath = words.txt\r\nhashTableFilePath = hash.bin\r\n"
      "bigramMatrixFilePath = bigram.idx\r\nbigramPLFilePath = bigram.pl\r\n"
      "unigramListsFilePath = unigram.idx\r\nunigramPLFilePath = unigram.pl\r\n"
      "urduAlphabetFilePath = alphabet.txt\r\nsoundexFilePath = soundex.txt\r\n"
      "shapexFilePath = shapex.txt\r\n");
}

struct EngineAnswer {
  bool misspelled = false;
  std::vector<std::u16string> suggestions;
  bool operator==(const EngineAnswer&) const = default;
};

std::vector<EngineAnswer> CheckAll(SpellChecker& engine,
                                   const std::vector<std::u16string>& queries) {
  std::vector<EngineAnswer> answers;
  for (const std::u16string& query : queries) {
    EngineAnswer answer;
    answer.misspelled = engine.SpellCheck(query, answer.suggestions);
    answers.push_back(std::move(answer));
  }
  return answers;
}

// What the handle must report for an engine answer: -1, or the first ten suggestions that fit a
// 40-byte buffer with their terminator.
std::vector<std::u16string> HandleView(const EngineAnswer& answer) {
  std::vector<std::u16string> out;
  for (const std::u16string& s : answer.suggestions) {
    if (out.size() == 10) break;
    if (s.size() < kMaxUnits) out.push_back(s);
  }
  return out;
}

int CheckThroughHandle(SpellCheckerPtr& handle, const std::u16string& query,
                       std::vector<std::u16string>& suggestions) {
  testutil::Bytes bytes = testutil::Utf16Le(query, false);
  bytes.resize(2 * kMaxUnits + 2, 0);
  char buffers[10][40] = {};
  char* pointers[10];
  for (int i = 0; i < 10; ++i) pointers[i] = buffers[i];
  const int result = handle.SpellCheck(bytes.data(), pointers);
  suggestions.clear();
  for (int i = 0; i < result; ++i) {
    std::u16string s;
    for (int k = 0; k + 1 < 40 && buffers[i][k] != 0; k += 2) {
      s.push_back(static_cast<char16_t>(static_cast<unsigned char>(buffers[i][k]) |
                                        (static_cast<unsigned char>(buffers[i][k + 1]) << 8)));
    }
    suggestions.push_back(s);
  }
  return result;
}

std::string Format(const std::vector<std::u16string>& queries,
                   const std::vector<EngineAnswer>& answers) {
  std::string text =
      "# query\tanswer (- nothing to correct, else the number of suggestions)\tsuggestions\n";
  for (std::size_t i = 0; i < queries.size(); ++i) {
    text += Escape(queries[i]) + "\t";
    text += answers[i].misspelled ? std::to_string(answers[i].suggestions.size()) : "-";
    text += "\t";
    for (std::size_t k = 0; k < answers[i].suggestions.size(); ++k) {
      text += (k == 0 ? "" : " ") + testutil::U8(answers[i].suggestions[k]);
    }
    text += "\n";
  }
  return text;
}

std::filesystem::path GoldenFile() {
  const char* source = std::getenv("URDUSPELL_SOURCE_DIR");
  if (source != nullptr && *source != '\0') {
    return std::filesystem::path(source) / "tests" / "engine" / "golden_answers.txt";
  }
  return std::filesystem::path(__FILE__).parent_path() / "golden_answers.txt";
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The committed answers, line by line; the first differences are reported with their queries.
void ExpectCommittedAnswers(const std::string& actual) {
  std::ifstream in(GoldenFile(), std::ios::binary);
  ASSERT_TRUE(in) << "missing " << GoldenFile();
  const std::string golden((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::vector<std::string> want = Lines(golden);
  const std::vector<std::string> got = Lines(actual);
  int shown = 0;
  for (std::size_t i = 0; i < std::max(want.size(), got.size()) && shown < 10; ++i) {
    const std::string w = i < want.size() ? want[i] : "(no line)";
    const std::string g = i < got.size() ? got[i] : "(no line)";
    if (w != g) {
      ADD_FAILURE() << "line " << i + 1 << "\n  expected: " << w << "\n  actual:   " << g;
      ++shown;
    }
  }
  EXPECT_EQ(want.size(), got.size());
}

TEST(GoldenAnswersTest, BuiltLoadedAndHandleGiveTheCommittedAnswers) {
  const GoldenData data = MakeGoldenData();
  ASSERT_GT(data.queries.size(), 900u);  // the generator still makes what it made
  TempDir dir;
  WriteDataSet(dir, data, Measuring::kIndex);
  ScopedCwd cwd(dir.path());

  SpellChecker built;
  ASSERT_TRUE(built.Initialize());  // builds, saves and rewrites config.ini to load next time
  const std::vector<EngineAnswer> answers = CheckAll(built, data.queries);

  SpellChecker loaded;
  ASSERT_TRUE(loaded.Initialize());
  const std::vector<EngineAnswer> loadedAnswers = CheckAll(loaded, data.queries);

  SpellCheckerPtr handle;
  ASSERT_TRUE(handle.Initialize());
  for (std::size_t i = 0; i < data.queries.size(); ++i) {
    ASSERT_EQ(loadedAnswers[i], answers[i])
        << "loaded engine differs on " << Escape(data.queries[i]);
    std::vector<std::u16string> suggestions;
    const int result = CheckThroughHandle(handle, data.queries[i], suggestions);
    const std::vector<std::u16string> expected = HandleView(answers[i]);
    ASSERT_EQ(result, answers[i].misspelled ? static_cast<int>(expected.size()) : -1)
        << Escape(data.queries[i]);
    ASSERT_EQ(suggestions, expected) << Escape(data.queries[i]);
  }

  const std::string actual = Format(data.queries, answers);
  if (const char* output = std::getenv("URDUSPELL_GOLDEN_OUTPUT")) {
    std::ofstream(output, std::ios::binary) << actual;
  }
  ExpectCommittedAnswers(actual);
}

TEST(GoldenAnswersTest, MeasuringTheWordsThemselvesGivesTheCommittedAnswers) {
  const GoldenData data = MakeGoldenData();
  TempDir dir;
  WriteDataSet(dir, data, Measuring::kWords);
  ScopedCwd cwd(dir.path());
  SpellChecker engine;
  ASSERT_TRUE(engine.Initialize());
  ExpectCommittedAnswers(Format(data.queries, CheckAll(engine, data.queries)));
}

// The answers must not depend on what was checked before: the same queries in reverse order on
// a fresh engine give the same answers.
TEST(GoldenAnswersTest, AnswersDoNotDependOnEarlierChecks) {
  const GoldenData data = MakeGoldenData();
  TempDir dir;
  WriteDataSet(dir, data, Measuring::kIndex);
  ScopedCwd cwd(dir.path());
  SpellChecker forward;
  ASSERT_TRUE(forward.Initialize());
  const std::vector<EngineAnswer> answers = CheckAll(forward, data.queries);
  SpellChecker backward;
  ASSERT_TRUE(backward.Initialize());
  std::vector<std::u16string> reversed(data.queries.rbegin(), data.queries.rend());
  const std::vector<EngineAnswer> reversedAnswers = CheckAll(backward, reversed);
  for (std::size_t i = 0; i < data.queries.size(); ++i) {
    ASSERT_EQ(reversedAnswers[data.queries.size() - 1 - i], answers[i]) << Escape(data.queries[i]);
  }
}

}  // namespace
