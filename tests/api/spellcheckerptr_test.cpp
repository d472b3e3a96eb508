// End to end through the exported handle: a first handle builds the derived files from a small
// data set, a second one loads them, and both must give the same answers.
#include <urduspell/spellcheckerptr.h>

#include <gtest/gtest.h>

#include <cstring>

#include "engine/engine_fixture.h"

namespace {

using testutil::Bytes;
using testutil::DataSet;
using testutil::Latin;
using testutil::ScopedCwd;
using testutil::TempDir;
using testutil::Ur;

constexpr unsigned char kUntouched = 0xAA;

struct Answer {
  int result = 0;
  std::vector<std::string> suggestions;  // transliterated
  bool operator==(const Answer&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Answer& a) {
  os << a.result << " [";
  for (const auto& s : a.suggestions) os << s << " ";
  return os << "]";
}

// Checks raw caller bytes; buffers start filled with kUntouched.
Answer CheckBytes(SpellCheckerPtr& handle, Bytes word, unsigned char (&buffers)[10][40]) {
  word.resize(std::max<std::size_t>(word.size(), 64), 0);
  std::memset(buffers, kUntouched, sizeof buffers);
  char* pointers[10];
  for (int i = 0; i < 10; ++i) pointers[i] = reinterpret_cast<char*>(buffers[i]);
  Answer answer;
  answer.result = handle.SpellCheck(word.data(), pointers);
  for (int i = 0; i < answer.result; ++i) {
    std::u16string s;
    for (int k = 0; k + 1 < 40 && buffers[i][k] != 0; k += 2) {
      s.push_back(static_cast<char16_t>(buffers[i][k] | (buffers[i][k + 1] << 8)));
    }
    answer.suggestions.push_back(Latin(s));
  }
  return answer;
}

Answer Check(SpellCheckerPtr& handle, const std::u16string& word) {
  unsigned char buffers[10][40];
  return CheckBytes(handle, testutil::Utf16Le(word, false), buffers);
}

// Class tables shared by the ranking cases. Soundex: s and S sound alike, so do t and T, b and
// p; a (alef) has no class. Shapex: b, p, t, T share a skeleton; s and S do not.
const std::vector<std::pair<char, int>> kSoundex = {{'s', 1}, {'S', 1}, {'b', 2}, {'p', 2},
                                                   {'k', 3}, {'d', 4}, {'t', 5}, {'T', 5},
                                                   {'m', 6}, {'n', 7}, {'r', 8}};
const std::vector<std::pair<char, int>> kShapex = {{'s', 1}, {'S', 2}, {'b', 3}, {'p', 3},
                                                  {'t', 3}, {'T', 3}, {'k', 4}, {'d', 5},
                                                  {'m', 6}, {'n', 7}, {'r', 8}};

struct CheckCase {
  const char* name;
  std::vector<std::pair<std::string, int>> words;
  std::string query;
  Answer expected;
};

const CheckCase kCases[] = {
    {"correct word", {{"sbkd", 5}}, "sbkd", {-1, {}}},
    {"correct after removing non-letters", {{"sbkd", 5}}, "s\xE2\x80\x8D" "bk1d", {-1, {}}},
    {"one letter left", {{"sbkd", 5}}, "s123", {-1, {}}},
    {"nothing left", {{"sbkd", 5}}, "QVXZ 42", {-1, {}}},
    {"no candidate at all", {{"mnrt", 5}}, "sbkd", {0, {}}},
    // Bucket 1 by agreement group, each by falling frequency (an exchange hit counts as
    // distance 1), then the sound-alikes of bucket 2.
    {"distance one ranked",
     {{"sbakd", 1}, {"Sbkd", 1000}, {"stkd", 40}, {"sbkdm", 900}, {"bskd", 50}, {"sbk", 5},
      {"sbaakd", 7}, {"sbkdrr", 8000}},
     "sbkd",
     {7, {"sbakd", "Sbkd", "stkd", "sbkdm", "bskd", "sbk", "sbaakd"}}},
    // Five letters, nearest at distance 2: only the sound-alikes, however frequent the rest.
    {"five letters at distance two",
     {{"mnrTd", 50}, {"mnrTp", 1}, {"mnrtbkk", 9999}}, "mnrtb", {1, {"mnrTp"}}},
    // Six letters, nearest at distance 2: all of bucket 2 grouped, then bucket 3 sound-alikes.
    {"six letters at distance two",
     {{"mnrTpk", 1}, {"mnrtdd", 500}, {"mnrTbkr", 100}, {"amnrTpk", 3}, {"mnrddd", 900}},
     "mnrtbk",
     {4, {"mnrTpk", "mnrtdd", "mnrTbkr", "amnrTpk"}}},
    {"five letters at distance three", {{"mnrTpd", 5}, {"amnrTp", 5}}, "mnrtb", {0, {}}},
    // Two letters: candidates come from the unigram lists (words of one to three letters).
    {"two letters",
     {{"s", 10}, {"bk", 20}, {"sd", 30}, {"kd", 40}, {"Sb", 1}, {"sbkdm", 50}},
     "sb",
     {3, {"Sb", "sd", "s"}}},
};

class HandleEndToEnd : public testing::TestWithParam<CheckCase> {};

TEST_P(HandleEndToEnd, BuildThenLoadGiveTheSameAnswer) {
  const CheckCase& c = GetParam();
  TempDir dir;
  testutil::WriteDataSet(dir, DataSet{c.words, kSoundex, kShapex});
  ScopedCwd cwd(dir.path());

  SpellCheckerPtr builder;
  ASSERT_TRUE(builder.Initialize());
  EXPECT_EQ(Check(builder, Ur(c.query)), c.expected);
  const Bytes rewritten = testutil::ReadBytes("config.ini");
  EXPECT_EQ(std::string(rewritten.begin(), rewritten.begin() + 17), "initialize = NO\r\n");

  SpellCheckerPtr loader;
  ASSERT_TRUE(loader.Initialize());
  EXPECT_EQ(Check(loader, Ur(c.query)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, HandleEndToEnd, testing::ValuesIn(kCases),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& ch : name) if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

class HandleBytes : public testing::Test {
 protected:
  void SetUp() override {
    DataSet data{{{"sbkd", 5}, {std::string(20, 'm'), 3}}, kSoundex, kShapex};
    // Fourteen words at distance 1 from "sbkdr", and one too long for a buffer.
    for (char c : std::string("abptTsSjchxdzk")) data.words.push_back({"sbkdr" + std::string(1, c), 2});
    data.words.push_back({std::string(19, 'n') + "mm", 9});  // 21 units
    data.words.push_back({std::string(19, 'n'), 1});
    testutil::WriteDataSet(dir_, data);
    cwd_ = std::make_unique<ScopedCwd>(dir_.path());
    ASSERT_TRUE(handle_.Initialize());
  }

  TempDir dir_;
  std::unique_ptr<ScopedCwd> cwd_;
  SpellCheckerPtr handle_;
};

TEST_F(HandleBytes, WordEndsAtAPairWhoseLowByteIsZero) {
  unsigned char buffers[10][40];
  // "sbkd", then U+0600 (bytes 00 06) ends the word although its high byte is not 0.
  Bytes word = testutil::Utf16Le(Ur("sbkd"), false);
  word.insert(word.end(), {0x00, 0x06, 0x2D, 0x06});
  EXPECT_EQ(CheckBytes(handle_, word, buffers).result, -1);
  EXPECT_EQ(CheckBytes(handle_, Bytes{0x00, 0x06}, buffers).result, -1);  // empty word
}

TEST_F(HandleBytes, OnlyTwentyUnitsAreExamined) {
  unsigned char buffers[10][40];
  // 25 units without terminator: the first 20 are a dictionary word.
  EXPECT_EQ(CheckBytes(handle_, testutil::Utf16Le(Ur(std::string(20, 'm') + "sssss"), false), buffers)
                .result,
            -1);
}

TEST_F(HandleBytes, BlanksAroundTheWordAreTrimmed) {
  EXPECT_EQ(Check(handle_, u" \t" + Ur("sbkd") + u"\r\n").result, -1);
  EXPECT_EQ(Check(handle_, u" \t\r\n").result, -1);
}

TEST_F(HandleBytes, SuggestionLayoutAndUntouchedBuffers) {
  unsigned char buffers[10][40];
  // At most ten of fourteen suggestions are written; no buffer beyond them exists to touch.
  Answer many = CheckBytes(handle_, testutil::Utf16Le(Ur("sbkdr"), false), buffers);
  EXPECT_EQ(many.result, 10);

  // Misspelled with one suggestion of 4 units: bytes 0..7 the word, the rest zero; buffers
  // after it untouched.
  Answer one = CheckBytes(handle_, testutil::Utf16Le(Ur("sbkdd"), false), buffers);
  ASSERT_GE(one.result, 1);
  EXPECT_EQ(one.suggestions[0], "sbkd");
  for (int k = 8; k < 40; ++k) EXPECT_EQ(buffers[0][k], 0) << k;
  for (int i = one.result; i < 10; ++i) EXPECT_EQ(buffers[i][0], kUntouched) << i;

  // A result of 0 leaves every buffer as it was.
  Answer none = CheckBytes(handle_, testutil::Utf16Le(Ur("wwyy"), false), buffers);
  EXPECT_EQ(none.result, 0);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(buffers[i][0], kUntouched) << i;
}

TEST_F(HandleBytes, SuggestionTooLongForItsBufferIsLeftOut) {
  // Both 21-unit "nnn...nmm" and 19-unit "nnn...n" are at distance 1 from 20 n's... the
  // longer one cannot be written and the shorter one moves up.
  Answer answer = Check(handle_, Ur(std::string(19, 'n') + "m"));
  ASSERT_EQ(answer.result, 1);
  EXPECT_EQ(answer.suggestions[0], std::string(19, 'n'));
}

TEST(HandleLifetime, AssignmentSharesTheEngine) {
  TempDir dir;
  testutil::WriteDataSet(dir, DataSet{{{"sbkd", 5}}, kSoundex, kShapex});
  ScopedCwd cwd(dir.path());
  SpellCheckerPtr a;
  ASSERT_TRUE(a.Initialize());
  {
    SpellCheckerPtr b;
    b = a;  // b's own engine goes; b now shares a's
    b = b;
    EXPECT_EQ(Check(b, Ur("sbkd")).result, -1);
  }
  EXPECT_EQ(Check(a, Ur("sbkd")).result, -1);  // still alive after b went
  SpellCheckerPtr fresh;
  a = fresh;  // a's old engine is released here
  EXPECT_EQ(Check(a, Ur("sbkd")).result, -1);  // not initialised: nothing to correct
}

}  // namespace
