#include "lexicon/postlistresources.h"

#include <gtest/gtest.h>
#include <urduspell/trelvaexception.h>

#include "config/configmanager.h"
#include "io/filereader.h"
#include "lexicon/hashtable.h"
#include "lexicon/lexicon_fixtures.h"

namespace {

using testutil::Hex;
using testutil::ReadBytes;
using testutil::TempDir;
using urduspell::HashTable;
using urduspell::IndexRecord;
using urduspell::PostListResources;

// A dictionary whose ids are the order of the words given (every word hashes to slot 0's chain).
HashTable TableOf(const std::vector<std::u16string>& words) {
  HashTable table;
  table.Create(static_cast<int>(words.size()) + 1, 1);
  for (const std::u16string& word : words) {
    if (table.InsertHome(word, 1) < 0) table.InsertChained(word, 1, 0);
  }
  return table;
}

urduspell::ConfigManager PathsIn(const TempDir& dir) {
  urduspell::ConfigManager config;
  config.bigramMatrixFilePath = dir.File("bigram.idx");
  config.bigramPLFilePath = dir.File("bigram.pl");
  config.unigramListsFilePath = dir.File("unigram.idx");
  config.unigramPLFilePath = dir.File("unigram.pl");
  return config;
}

TEST(PostListResourcesTest, TwoLetterAlphabetFilesByteForByte) {
  // Letters: U+0627 index 0, U+0628 index 1. Word 0 holds the pair (0,0) twice; word 1 holds
  // (1,0) and then a unit that is no letter, which adds neither a pair nor a unigram entry.
  TempDir dir;
  const auto letters = testutil::LetterMap(u"\u0627\u0628");
  HashTable table = TableOf({u"\u0627\u0627\u0627", u"\u0628\u0627x"});
  PostListResources lists;
  ASSERT_TRUE(lists.BuildPostingLists(table, letters));
  ASSERT_TRUE(lists.SavePostingLists(PathsIn(dir)));

  EXPECT_EQ(Hex(ReadBytes(dir.File("bigram.idx"))),
            "FF FE 00 00 00 00 02 00 FF FF FF FF 00 00 08 00 00 00 01 00 FF FF FF FF 00 00");
  EXPECT_EQ(Hex(ReadBytes(dir.File("bigram.pl"))),
            "FF FE 00 00 00 00 00 00 00 00 01 00 00 00");
  EXPECT_EQ(Hex(ReadBytes(dir.File("unigram.idx"))), "FF FE 00 00 00 00 04 00 10 00 00 00 01 00");
  EXPECT_EQ(Hex(ReadBytes(dir.File("unigram.pl"))),
            "FF FE 00 00 00 00 00 00 00 00 00 00 00 00 01 00 00 00 01 00 00 00");

  // Loading the pair back gives the records the build computed.
  PostListResources loaded;
  loaded.SetAlphabetSize(2);
  ASSERT_TRUE(loaded.LoadPostingListIndexes(PathsIn(dir)));
  for (std::uint16_t a = 0; a < 2; ++a) {
    EXPECT_EQ(loaded.UnigramRecord(a), lists.UnigramRecord(a));
    for (std::uint16_t b = 0; b < 2; ++b) EXPECT_EQ(loaded.BigramRecord(a, b), lists.BigramRecord(a, b));
  }
  EXPECT_EQ(loaded.BigramRecord(1, 0), (IndexRecord{8, 1}));
}

TEST(PostListResourcesTest, WordLengthDecidesWhichListsHoldIt) {
  const auto letters = testutil::LetterMap(u"\u0627\u0628");
  HashTable table = TableOf({u"\u0627\u0628", u"\u0627\u0628\u0627\u0628", u"\u0627\u0628\u0627"});
  PostListResources lists;
  lists.BuildPostingLists(table, letters);
  EXPECT_EQ(lists.UnigramRecord(1).length, 2);  // words 0 and 2 (two and three letters)
  EXPECT_EQ(lists.BigramRecord(0, 1).length, 3);  // word 1 twice, word 2 once
  EXPECT_EQ(lists.BigramRecord(1, 0).length, 2);  // words 1 and 2
}

TEST(PostListResourcesTest, EmptyDictionaryFilesByteForByte) {
  TempDir dir;
  HashTable table;
  table.Create(3, 3);
  PostListResources lists;
  lists.BuildPostingLists(table, testutil::LetterMap(u"\u0627\u0628"));
  lists.SavePostingLists(PathsIn(dir));
  const std::string empty = " FF FF FF FF 00 00";
  EXPECT_EQ(Hex(ReadBytes(dir.File("bigram.idx"))), "FF FE" + empty + empty + empty + empty);
  EXPECT_EQ(Hex(ReadBytes(dir.File("unigram.idx"))), "FF FE" + empty + empty);
  EXPECT_EQ(Hex(ReadBytes(dir.File("bigram.pl"))), "FF FE");
  EXPECT_EQ(Hex(ReadBytes(dir.File("unigram.pl"))), "FF FE");
}

TEST(PostListResourcesTest, AlphabetSizeNotSet) {
  PostListResources lists;
  EXPECT_FALSE(lists.LoadBigramMatrixIndex("anything"));
  try {
    lists.LoadUnigramListIndex("anything");
    ADD_FAILURE();
  } catch (IOException&) {
    ADD_FAILURE() << "must not be an IOException";
  } catch (TRELVAException& ex) {
    EXPECT_EQ(ex.GetCode(), 0);
    EXPECT_EQ(ex.GetMessage(), "Alphabet size not set");
    EXPECT_EQ(ex.GetFile(), "postlistresources");
  }
}

TEST(PostListResourcesTest, DamagedIndexFilesAreRefused) {
  TempDir dir;
  const std::string bigramText = " Bigram Matrix Index file could not be opened or read sucessfully.";
  const std::string unigramText = " Unigram List Index file could not be opened or read sucessfully.";
  struct Case {
    const char* what;
    bool bigram;
    testutil::Bytes bytes;
    int code;
    std::string message;
  } cases[] = {
      {"bigram without mark", true, testutil::Bytes(26, 0), 0x10,
       "File is not Unicode based." + bigramText},
      {"bigram last row cut", true, {0xFF, 0xFE, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0}, 0x11,
       "End of file encountered." + bigramText},
      {"unigram mark only", false, {0xFF, 0xFE}, 0x11, "End of file encountered." + unigramText},
      {"unigram one record short", false, {0xFF, 0xFE, 0, 0, 0, 0, 1, 0}, 0x11,
       "End of file encountered." + unigramText},
  };
  for (const Case& c : cases) {
    testutil::WriteBytes(dir.File("index"), c.bytes);
    PostListResources lists;
    lists.SetAlphabetSize(2);
    try {
      if (c.bigram) {
        lists.LoadBigramMatrixIndex(dir.File("index"));
      } else {
        lists.LoadUnigramListIndex(dir.File("index"));
      }
      ADD_FAILURE() << "accepted: " << c.what;
    } catch (IOException& ex) {
      EXPECT_EQ(ex.GetCode(), c.code) << c.what;
      EXPECT_EQ(ex.GetFile(), "postlistresources") << c.what;
      EXPECT_EQ(ex.GetMessage(), c.message) << c.what;
    }
    // No record of a damaged file survives to point into a posting-list file.
    EXPECT_EQ(lists.BigramRecord(0, 0), IndexRecord{}) << c.what;
    EXPECT_EQ(lists.UnigramRecord(0), IndexRecord{}) << c.what;
  }
}

TEST(PostListResourcesTest, ReadsOnlyListsThatLieInsideTheFile) {
  TempDir dir;
  testutil::Bytes file = {0xFF, 0xFE};
  for (int id = 0; id < 6; ++id) {
    file.insert(file.end(), {static_cast<unsigned char>(id), 0, 0, 0});
  }
  testutil::WriteBytes(dir.File("pl"), file);
  urduspell::FileReader reader;
  reader.Open(dir.File("pl"), urduspell::FileMode::Unicode);
  const std::int64_t bytes = 24;

  struct Case {
    IndexRecord record;
    std::vector<std::int32_t> ids;
  } cases[] = {
      {{8, 3}, {2, 3, 4}},  // file bytes 10..21
      {{0, 6}, {0, 1, 2, 3, 4, 5}},
      {{-1, 0}, {}},
      {{8, 5}, {}},  // would reach past the end
      {{-8, 2}, {}},
      {{20, 0}, {}},
  };
  for (const Case& c : cases) {
    urduspell::PostingListBuffer list;
    PostListResources::ReadPostingList(reader, bytes, c.record, list);
    std::vector<std::int32_t> got(list.ids.get(), list.ids.get() + list.count);
    EXPECT_EQ(got, c.ids) << c.record.offset << "/" << c.record.length;
    EXPECT_FALSE(reader.IsEof());  // a refused list never runs the reader into the end
  }
}

}  // namespace
