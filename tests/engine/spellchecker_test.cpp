#include "engine/spellchecker.h"

#include <gtest/gtest.h>
#include <urduspell/trelvaexception.h>

#include "engine/engine_fixture.h"

namespace {

using testutil::ScopedCwd;
using testutil::TempDir;
using urduspell::SpellChecker;

TEST(EditDistanceTest, UnitCosts) {
  struct Case {
    std::u16string a, b;
    int expected;
  } cases[] = {
      {u"abc", u"abd", 1}, {u"ab", u"ba", 2}, {u"", u"abc", 3}, {u"abc", u"", 3},
      {u"kitten", u"sitting", 3}, {u"same", u"same", 0}, {u"abcd", u"bcd", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(urduspell::EditDistance(c.a, c.b), c.expected) << testutil::U8(c.a);
    EXPECT_EQ(urduspell::EditDistance(c.b, c.a), c.expected) << testutil::U8(c.a);
  }
}

// Loads a soundex table from text and returns the code of a word.
class ClassTableTest : public testing::Test {
 protected:
  std::int32_t CodeAfterLoading(const std::string& table, const std::u16string& word) {
    testutil::WriteText(dir_.File("soundex.txt"), table);
    SpellChecker engine;
    EXPECT_TRUE(engine.LoadSoundex(dir_.File("soundex.txt")));
    return engine.SoundexCode(word);
  }
  TempDir dir_;
};

TEST_F(ClassTableTest, LinesAndCodes) {
  struct Case {
    const char* what;
    std::string table;
    std::u16string word;
    std::int32_t code;
  } cases[] = {
      {"classes 1 0 2 padded", "0627=1\n0628=2\n", u"\u0627\u062A\u0628", 1200},
      {"five classes", "0627=1\n0628=2\n062A=3\n062B=4\n062C=5\n", u"\u0627\u0628\u062A\u062B\u062C",
       12345},
      {"two-digit class", "0627=12\n", u"\u0627", 1200},
      {"equal neighbours both count", "0627=4\n", u"\u0627\u0627", 4400},
      {"value 0 is no class", "0627=0\n0628=1\n", u"\u0627\u0628", 1000},
      {"0x prefix and blanks", "  0x0627 = 7\r\n", u"\u0627", 7000},
      {"later line wins", "0627=1\n0627=2\n", u"\u0627", 2000},
      {"value 300 keeps its low byte", "0627=300\n", u"\u0627", 4400},
      {"keys outside the table ignored", "0041=1\n0800=2\n", u"A\u0800", 0},
      {"no classed letter", "0627=1\n", u"\u0628", 0},
      {"empty word", "0627=1\n", u"", 0},
      {"no final line end", "0627=1\n0628=2", u"\u0628", 2000},
      {"blank line before a key", "0627=1\n\n0628=2\n", u"\u0628", 2000},
      // Ten classed letters pass 2^31 - 1 and wrap; a negative code is not padded.
      {"wrap-around", "0627=3\n", std::u16string(10, u'\u0627'), -961633963},
      {"wrap-around twice", "0627=9\n", std::u16string(10, u'\u0627'), 1410065407},
  };
  for (const Case& c : cases) EXPECT_EQ(CodeAfterLoading(c.table, c.word), c.code) << c.what;
}

TEST_F(ClassTableTest, KeyOfElevenCharactersIsCut) {
  // The first ten bytes form the key; the value read starts right after them.
  EXPECT_EQ(CodeAfterLoading("0000000627=5\n", u"\u0627"), 0);      // value "=5" reads as 0
  EXPECT_EQ(CodeAfterLoading("00000006273=5\n", u"\u0627"), 3000);  // value "3=5" reads as 3
}

TEST_F(ClassTableTest, TwoLineFeedsAtTheEndFailTheLoad) {
  testutil::WriteText(dir_.File("soundex.txt"), "0627=1\n\n");
  SpellChecker engine;
  try {
    engine.LoadSoundex(dir_.File("soundex.txt"));
    ADD_FAILURE();
  } catch (IOException& ex) {
    EXPECT_EQ(ex.GetCode(), 0x11);
    EXPECT_EQ(ex.GetFile(), "spellchecker");
    EXPECT_EQ(ex.GetMessage(), "End of file encountered. Config file not opened sucessfully.");
  }
}

// The failures of initialisation, each in a data set damaged one way.
TEST(InitializeTest, FailuresCarryTheirContext) {
  struct Case {
    const char* what;
    void (*damage)(const TempDir&);
    std::string file;
    int code;
    std::string message;
  } cases[] = {
      {"missing config.ini", [](const TempDir& d) { std::filesystem::remove(d.File("config.ini")); },
       "configmanager", 0x10, "Could not open file: config.ini. Config file not opened sucessfully."},
      {"posting-list file without mark",
       [](const TempDir& d) {
         testutil::WriteText(d.File("config.ini"), testutil::ConfigText("Yes"));
         testutil::WriteBytes(d.File("bigram.pl"), {0x01, 0x02});
         testutil::WriteBytes(d.File("unigram.pl"), {0xFF, 0xFE});
       },
       "spellchecker", 0x10, "File is not Unicode based. Config file reading problem occurred."},
      {"no posting-list path",
       [](const TempDir& d) {
         std::string text = testutil::ConfigText("Yes");
         text.erase(text.find("bigramPLFilePath"), std::string("bigramPLFilePath = bigram.pl\r\n").size());
         testutil::WriteText(d.File("config.ini"), text);
       },
       "spellchecker", 0x10, "Invalid file name specified. Config file reading problem occurred."},
      {"missing shapex table", [](const TempDir& d) { std::filesystem::remove(d.File("shapex.txt")); },
       "spellchecker", 0x10, "Could not open file: shapex.txt. Config file not opened sucessfully."},
      {"missing alphabet", [](const TempDir& d) { std::filesystem::remove(d.File("alphabet.txt")); },
       "unichar2indexmap", 0x10,
       "Could not open file: alphabet.txt. Config file not opened sucessfully."},
  };
  for (const Case& c : cases) {
    TempDir dir;
    testutil::WriteDataSet(dir, testutil::DataSet{{{"sbkd", 1}}, {}, {}});
    c.damage(dir);
    ScopedCwd cwd(dir.path());
    SpellChecker engine;
    try {
      engine.Initialize();
      ADD_FAILURE() << "no exception: " << c.what;
    } catch (IOException& ex) {
      EXPECT_EQ(ex.GetFile(), c.file) << c.what;
      EXPECT_EQ(ex.GetCode(), c.code) << c.what;
      EXPECT_EQ(ex.GetMessage(), c.message) << c.what;
    }
  }
}

TEST(InitializeTest, UnrecognisedInitializeValueBuildsAndLoadsNothing) {
  TempDir dir;
  testutil::WriteDataSet(dir, testutil::DataSet{{{"sbkd", 1}}, {}, {}, "Yes"});
  testutil::WriteBytes(dir.File("bigram.pl"), {0xFF, 0xFE});
  testutil::WriteBytes(dir.File("unigram.pl"), {0xFF, 0xFE});
  std::filesystem::remove(dir.File("words.txt"));  // never read
  ScopedCwd cwd(dir.path());
  SpellChecker engine;
  ASSERT_TRUE(engine.Initialize());
  std::vector<std::u16string> suggestions;
  EXPECT_TRUE(engine.SpellCheck(testutil::Ur("sbkd"), suggestions));  // empty dictionary
  EXPECT_TRUE(suggestions.empty());
  EXPECT_FALSE(std::filesystem::exists("hash.bin"));
}

TEST(InitializeTest, SecondInitializeStartsOver) {
  TempDir dir;
  testutil::WriteDataSet(dir, testutil::DataSet{{{"sbkd", 1}, {"sbkdm", 2}}, {}, {}});
  ScopedCwd cwd(dir.path());
  SpellChecker engine;
  ASSERT_TRUE(engine.Initialize());  // builds
  ASSERT_TRUE(engine.Initialize());  // loads, with the alphabet numbered afresh
  std::vector<std::u16string> suggestions;
  EXPECT_FALSE(engine.SpellCheck(testutil::Ur("sbkd"), suggestions));
  EXPECT_TRUE(engine.SpellCheck(testutil::Ur("sbkdr"), suggestions));
  ASSERT_EQ(suggestions.size(), 2u);
}

}  // namespace
