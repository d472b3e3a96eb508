// The Enchant dictionary's checker over the shipped default data set, with the per-user working
// folder in a temporary cache folder.
#include "checker.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace urduspell::enchant {
namespace {
namespace fs = std::filesystem;

fs::path SourceDataSet() {
  const char* source = std::getenv("URDUSPELL_SOURCE_DIR");
  return fs::path(source != nullptr ? source : ".") / "data" / "ur";
}

// A private cache folder (XDG_CACHE_HOME) for the working folders, removed afterwards.
class CheckerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(SourceDataSet() / "config.ini")) GTEST_SKIP() << "no data/ur";
    std::string pattern = (fs::temp_directory_path() / "urduspell-enchant-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    home_ = pattern;
    if (const char* old = std::getenv("XDG_CACHE_HOME")) oldCache_ = old;
    setenv("XDG_CACHE_HOME", (home_ / "cache").c_str(), 1);
    fs::create_directories(home_ / "elsewhere");
    start_ = fs::current_path();
    fs::current_path(home_ / "elsewhere");
  }
  void TearDown() override {
    if (home_.empty()) return;
    fs::current_path(start_);
    if (oldCache_) {
      setenv("XDG_CACHE_HOME", oldCache_->c_str(), 1);
    } else {
      unsetenv("XDG_CACHE_HOME");
    }
    fs::remove_all(home_);
  }

  Checker& Shipped() {
    if (!shipped_) shipped_ = std::make_unique<Checker>(SourceDataSet());
    return *shipped_;
  }

  fs::path home_;
  fs::path start_;
  std::optional<std::string> oldCache_;
  std::unique_ptr<Checker> shipped_;
};

TEST_F(CheckerTest, LeavesTheCurrentDirectoryAndTheDataFolderAlone) {
  const auto listing = [] {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(SourceDataSet())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  };
  const auto before = listing();
  Shipped();
  EXPECT_EQ(fs::current_path(), home_ / "elsewhere");
  EXPECT_TRUE(fs::is_empty(home_ / "elsewhere"));
  EXPECT_EQ(listing(), before);
  // The derived files went to the working folder in the cache.
  bool built = false;
  for (const auto& entry : fs::recursive_directory_iterator(home_ / "cache")) {
    built = built || entry.path().filename() == "dictionary.hash";
  }
  EXPECT_TRUE(built);

  // A second dictionary finds the folder built and still returns to the current directory.
  Checker second(SourceDataSet());
  EXPECT_EQ(fs::current_path(), home_ / "elsewhere");
  EXPECT_TRUE(second.Check("\u06A9\u062A\u0627\u0628"));
}

TEST_F(CheckerTest, AnswersInUtf8) {
  struct Case {
    const char* word;
    bool correct;
    const char* firstSuggestion;  // nullptr: no suggestion expected
  };
  const std::vector<Case> cases = {
      {"\u06A9\u062A\u0627\u0628", true, nullptr},                      // کتاب
      {"\u06A9\u062A\u0627\u067E", false, "\u06A9\u062A\u0627\u0628"},  // کتاپ -> کتاب
      {"\u067E\u0627\u06A9\u0633\u062A\u0646", false,                   // پاکستن
       "\u067E\u0627\u06A9\u0633\u062A\u0627\u0646"},                   //   -> پاکستان
      {"\u06A9\u064E\u062A\u0627\u0628", true, nullptr},  // with a zabar: marks are not letters
      {"\u06A9\u062A\u0627\u200C\u0628", true, nullptr},  // with a ZWNJ inside
      {"hello", true, nullptr},                           // no Urdu letters: nothing to correct
      {"2024", true, nullptr},
      {"\u0628", true, nullptr},  // one letter: nothing to correct
      // 21 letters: longer than any dictionary word, and more than the library looks at.
      {"\u06A9\u062A\u0627\u0628\u06A9\u062A\u0627\u0628\u06A9\u062A\u0627\u0628\u06A9\u062A"
       "\u0627\u0628\u06A9\u062A\u0627\u0628\u06A9",
       false, nullptr},
      {"\xD8", false, nullptr},  // malformed UTF-8
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word);
    // Suggest first, then check: the one-word memory must not change the answers.
    const auto suggestions = Shipped().Suggest(c.word);
    EXPECT_EQ(Shipped().Check(c.word), c.correct);
    EXPECT_EQ(Shipped().Suggest(c.word), suggestions);
    if (c.firstSuggestion == nullptr) {
      EXPECT_TRUE(suggestions.empty());
    } else {
      ASSERT_FALSE(suggestions.empty());
      EXPECT_EQ(suggestions.front(), c.firstSuggestion);
      EXPECT_LE(suggestions.size(), 10u);
    }
  }
}

TEST_F(CheckerTest, FailedInitialisationReturnsToTheCurrentDirectory) {
  // A data set whose word list promises more entries than it holds: the library refuses it while
  // building, inside the working folder.
  const fs::path data = home_ / "broken";
  fs::create_directories(data);
  for (const char* name : {"alphabet.txt", "soundex.txt", "shapex.txt"}) {
    fs::copy_file(SourceDataSet() / name, data / name);
  }
  std::ofstream(data / "wordlist.txt", std::ios::binary) << std::string(
      "\xFF\xFE"
      "9\0\r\0\n\0",
      8);
  std::ofstream(data / "config.ini", std::ios::binary)
      << "initialize = YES\r\nwordListFilePath = wordlist.txt\r\n"
         "hashTableFilePath = dictionary.hash\r\nbigramMatrixFilePath = bigram.index\r\n"
         "bigramPLFilePath = bigram.lists\r\nunigramListsFilePath = unigram.index\r\n"
         "unigramPLFilePath = unigram.lists\r\nurduAlphabetFilePath = alphabet.txt\r\n"
         "soundexFilePath = soundex.txt\r\nshapexFilePath = shapex.txt\r\n";
  bool failed = false;
  try {
    Checker checker(data);
  } catch (...) {
    failed = true;
  }
  EXPECT_TRUE(failed);
  EXPECT_EQ(fs::current_path(), home_ / "elsewhere");
}

}  // namespace
}  // namespace urduspell::enchant
