#include "lexicon/hashtable.h"

#include <gtest/gtest.h>
#include <urduspell/trelvaexception.h>

#include <random>

#include "io/coding.h"
#include "lexicon/lexicon_fixtures.h"

namespace {

using testutil::Entries;
using testutil::TempDir;
using testutil::WordListBytes;
using urduspell::HashNode;
using urduspell::HashTable;

TEST(HashTableTest, HashReferenceValues) {
  struct Case {
    int modulus;
    std::u16string word;
    std::uint32_t expected;
  } cases[] = {
      {7, u"\u0627\u0628", 1},
      {1000, u"\u0627\u0628", 551},
      // With products kept exact instead of cut to 32 bits this would be 2416.
      {100003, u"\u067E\u0627\u06A9\u0633\u062A\u0627\u0646", 20965},
      {1000, u"", 0},
      {1, u"\u0627\u0628", 0},
  };
  for (const Case& c : cases) {
    HashTable table;
    ASSERT_TRUE(table.Create(c.modulus, c.modulus));
    EXPECT_EQ(table.Hash(c.word), c.expected) << c.modulus;
  }
  EXPECT_EQ(HashTable().Hash(u"\u0627"), 0u);  // a table without slots
}

TEST(HashTableTest, ChainedInsertionMergesChains) {
  // With modulus 4 a one-unit word hashes to its code unit modulo 4.
  HashTable table;
  ASSERT_TRUE(table.Create(4, 4));
  EXPECT_EQ(table.InsertHome(u"\u0627", 1), 3);  // 1575 % 4 == 3
  EXPECT_EQ(table.InsertHome(u"\u062B", 2), -1);  // 1579 % 4 == 3: home taken
  EXPECT_EQ(table.InsertChained(u"\u062B", 2, 3), 0);
  EXPECT_EQ(table.InsertHome(u"\u0628", 3), -1);  // 1576 % 4 == 0: taken by the chain of 3
  EXPECT_EQ(table.InsertChained(u"\u0628", 3, 0), 1);

  HashNode node;
  ASSERT_TRUE(table.GetNode(3, node));
  EXPECT_EQ(node.next, 0);
  ASSERT_TRUE(table.GetNode(0, node));
  EXPECT_EQ(node.next, 1);  // the two chains now run as one: 3 -> 0 -> 1
  EXPECT_EQ(table.GetNodeCount(), 3u);

  for (std::u16string word : {u"\u0627", u"\u062B", u"\u0628"}) EXPECT_TRUE(table.Lookup(word));
  std::vector<HashNode> found;
  ASSERT_TRUE(table.Search(u"\u0628", found));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].frequency, 3);
  EXPECT_EQ(found[0].next, 1);  // tagged with its own slot
  EXPECT_FALSE(table.Lookup(u"\u067E"));
}

TEST(HashTableTest, BuildStoresFirstNMinusOneEntries) {
  TempDir dir;
  Entries entries = {{u"\u0627\u0628", 5}, {u"\u0628\u067E", 4}, {u"\u067E\u062A", 3},
                     {u"\u062A\u0679", 2}, {u"\u0679\u062B", 1}};
  testutil::WriteBytes(dir.File("words.txt"), WordListBytes("5", entries));
  HashTable table;
  ASSERT_TRUE(table.Build(dir.File("words.txt"), testutil::LetterMap()));
  EXPECT_EQ(table.GetSlotCount(), 4);
  EXPECT_EQ(table.GetNodeCount(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(table.Lookup(entries[i].first)) << i;
  EXPECT_FALSE(table.Lookup(entries[4].first));
}

TEST(HashTableTest, BuildNormalisesSkipsAndKeepsDuplicates) {
  TempDir dir;
  Entries entries = {
      {u"\u0627\u200D\u0628", 10},  // the joiner is no letter: stored as U+0627 U+0628
      {u"", 99},                    // a line that begins with TAB has no word: skipped
      {u"\u0627\u0628", 20},        // a duplicate takes a slot of its own
      {u"@\u062A", 7},              // begins with '@': kept in its chain, never matched
      {u"xyz", 3},                  // nothing of the alphabet: stored as an empty word
      {u"\u0679\u062B", 1},         // the N-th entry, read and dropped
  };
  testutil::WriteBytes(dir.File("words.txt"), WordListBytes("5", entries));
  urduspell::UniChar2IndexMap letters = testutil::LetterMap(testutil::kLetters + u"@");
  HashTable table;
  ASSERT_TRUE(table.Build(dir.File("words.txt"), letters));
  EXPECT_EQ(table.GetNodeCount(), 4u);

  std::vector<HashNode> found;
  ASSERT_TRUE(table.Search(u"\u0627\u0628", found));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].frequency, 10);  // chain order: first stored first
  EXPECT_EQ(found[1].frequency, 20);
  EXPECT_FALSE(table.Lookup(u"@\u062A"));
  EXPECT_FALSE(table.Lookup(u""));
  EXPECT_FALSE(table.Lookup(u"\u0679\u062B"));
}

TEST(HashTableTest, BuildRejectsBadCountLines) {
  for (std::string count : {"2", "1", "0", "-4", "abc"}) {
    TempDir dir;
    testutil::WriteBytes(dir.File("words.txt"),
                         WordListBytes(count, {{u"\u0627\u0628", 1}, {u"\u0628\u0627", 1}}));
    HashTable table;
    EXPECT_FALSE(table.Build(dir.File("words.txt"), testutil::LetterMap())) << count;
    EXPECT_EQ(table.GetSlotCount(), 0) << count;
    EXPECT_FALSE(table.Lookup(u"\u0627\u0628")) << count;
  }
}

TEST(HashTableTest, BuildRefusesListsShorterThanTheirCount) {
  Entries four = {{u"\u0627\u0628", 5}, {u"\u0628\u067E", 4}, {u"\u067E\u062A", 3},
                  {u"\u062A\u0679", 2}};
  // Whether or not the last line ends, no word of a short list may be silently lost.
  for (bool finalLineEnd : {true, false}) {
    TempDir dir;
    testutil::WriteBytes(dir.File("words.txt"), WordListBytes("5", four, finalLineEnd));
    HashTable table;
    try {
      table.Build(dir.File("words.txt"), testutil::LetterMap());
      ADD_FAILURE() << "accepted, finalLineEnd=" << finalLineEnd;
    } catch (IOException& ex) {
      EXPECT_EQ(ex.GetCode(), 0x11);
      EXPECT_EQ(ex.GetFile(), "hashtable");
      EXPECT_EQ(ex.GetMessage(), "End of file encountered. Config file not opened sucessfully.");
    }
  }
  // A count far beyond what the file could hold is refused before slots are allocated.
  TempDir dir;
  testutil::WriteBytes(dir.File("words.txt"), WordListBytes("9999999", four));
  HashTable table;
  EXPECT_THROW(table.Build(dir.File("words.txt"), testutil::LetterMap()), IOException);
  EXPECT_EQ(table.GetSlotCount(), 0);
}

// A table of many words with plenty of collisions, built from a word list.
HashTable BuildRandomTable(const TempDir& dir, int words, std::vector<std::u16string>& stored) {
  std::mt19937 rng(42);
  Entries entries;
  for (int i = 0; i <= words; ++i) {
    std::u16string word;
    const int length = 2 + static_cast<int>(rng() % 22);  // up to 23: some are cut at 22
    for (int k = 0; k < length; ++k) word.push_back(testutil::kLetters[rng() % 8]);
    entries.push_back({word, static_cast<int>(rng() % 1000)});
  }
  testutil::WriteBytes(dir.File("words.txt"), WordListBytes(std::to_string(words + 1), entries));
  HashTable table;
  EXPECT_TRUE(table.Build(dir.File("words.txt"), testutil::LetterMap()));
  for (int i = 0; i < table.GetSlotCount(); ++i) {
    HashNode node;
    table.GetNode(i, node);
    stored.push_back(node.word);
  }
  return table;
}

TEST(HashTableTest, SaveThenLoadGivesEverySlotBack) {
  TempDir dir;
  std::vector<std::u16string> stored;
  HashTable built = BuildRandomTable(dir, 300, stored);
  ASSERT_TRUE(built.Save(dir.File("hash.bin")));
  EXPECT_EQ(testutil::ReadBytes(dir.File("hash.bin")).size(), 6u + 48u * 300u);

  HashTable loaded;
  ASSERT_TRUE(loaded.Load(dir.File("hash.bin")));
  ASSERT_EQ(loaded.GetSlotCount(), built.GetSlotCount());
  for (int i = 0; i < built.GetSlotCount(); ++i) {
    HashNode a, b;
    ASSERT_TRUE(built.GetNode(i, a));
    ASSERT_TRUE(loaded.GetNode(i, b));
    EXPECT_EQ(a.word.substr(0, 20), b.word) << i;
    EXPECT_EQ(a.frequency, b.frequency) << i;
    EXPECT_EQ(a.next, b.next) << i;
    // Words of up to 20 units are found again; longer ones keep only their first 20.
    EXPECT_EQ(loaded.Lookup(a.word), a.word.size() <= 20) << i;
    EXPECT_TRUE(built.Lookup(a.word)) << i;
  }
}

TEST(HashTableTest, SaveWritesTheDocumentedBytes) {
  TempDir dir;
  HashTable table;
  ASSERT_TRUE(table.Create(1, 1));
  ASSERT_EQ(table.InsertHome(u"\u0627\u0628", 7), 0);
  ASSERT_TRUE(table.Save(dir.File("hash.bin")));
  testutil::Bytes expected = {0xFF, 0xFE, 0x01, 0x00, 0x00, 0x00, 0x27, 0x06, 0x28, 0x06};
  expected.resize(6 + 40, 0x00);                        // word field padded to 20 units
  for (unsigned char b : {0x07, 0x00, 0x00, 0x00}) expected.push_back(b);  // frequency 7
  for (unsigned char b : {0xFE, 0xFF, 0xFF, 0xFF}) expected.push_back(b);  // next -2
  EXPECT_EQ(testutil::Hex(testutil::ReadBytes(dir.File("hash.bin"))), testutil::Hex(expected));
}

TEST(HashTableTest, SaveIntoMissingFolderWritesNothing) {
  TempDir dir;
  std::vector<std::u16string> stored;
  HashTable table = BuildRandomTable(dir, 10, stored);
  EXPECT_TRUE(table.Save(dir.File("missing/hash.bin")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing/hash.bin")));
}

// Damage a good file one way each; every damage is one precise refusal.
TEST(HashTableTest, LoadRejectsDamagedFiles) {
  TempDir dir;
  std::vector<std::u16string> stored;
  HashTable built = BuildRandomTable(dir, 20, stored);
  built.Save(dir.File("good.bin"));
  const testutil::Bytes good = testutil::ReadBytes(dir.File("good.bin"));
  auto nextAt = [](int slot) { return 6 + 48 * slot + 44; };
  auto setNext = [&](testutil::Bytes b, int slot, std::int32_t value) {
    urduspell::EncodeFixed32(b.data() + nextAt(slot), static_cast<std::uint32_t>(value));
    return b;
  };
  // Find a node that links to another, to turn its chain into a circle.
  int from = -1;
  std::int32_t to = -1;
  for (int i = 0; i < 20 && from < 0; ++i) {
    HashNode node;
    built.GetNode(i, node);
    if (node.next >= 0) from = i, to = node.next;
  }
  ASSERT_GE(from, 0);

  struct Case {
    const char* what;
    testutil::Bytes bytes;
    std::string message;
  } cases[] = {
      {"link past the table", setNext(good, 0, 20), "Damaged chain links in the hash table file."},
      {"link below -2", setNext(good, 0, -3), "Damaged chain links in the hash table file."},
      {"chain in a circle", setNext(good, to, from), "Damaged chain links in the hash table file."},
      {"fewer records than the count", {good.begin(), good.end() - 48}, "End of file encountered."},
      {"record cut short", {good.begin(), good.end() - 1}, "End of file encountered."},
      {"count of two billion", [&] {
         testutil::Bytes b = good;
         urduspell::EncodeFixed32(b.data() + 2, 0x7FFFFFFF);
         return b;
       }(), "End of file encountered."},
  };
  for (const Case& c : cases) {
    testutil::WriteBytes(dir.File("bad.bin"), c.bytes);
    HashTable table = built;
    try {
      table.Load(dir.File("bad.bin"));
      ADD_FAILURE() << "accepted: " << c.what;
    } catch (IOException& ex) {
      EXPECT_EQ(ex.GetCode(), 0x11) << c.what;
      EXPECT_EQ(ex.GetFile(), "hashtable") << c.what;
      EXPECT_EQ(ex.GetMessage(), c.message + " Config file not opened sucessfully.") << c.what;
    }
    EXPECT_EQ(table.GetSlotCount(), 0) << c.what;  // no half-loaded table is left
  }
}

TEST(HashTableTest, LoadOfEmptyCountOrWithoutMark) {
  TempDir dir;
  testutil::WriteBytes(dir.File("zero.bin"), {0xFF, 0xFE, 0, 0, 0, 0});
  HashTable table;
  EXPECT_FALSE(table.Load(dir.File("zero.bin")));
  EXPECT_EQ(table.GetSlotCount(), 0);

  testutil::WriteBytes(dir.File("nomark.bin"), {1, 0, 0, 0});
  try {
    table.Load(dir.File("nomark.bin"));
    ADD_FAILURE();
  } catch (IOException& ex) {
    EXPECT_EQ(ex.GetCode(), 0x10);
    EXPECT_EQ(ex.GetMessage(), "File is not Unicode based. Config file not opened sucessfully.");
  }
}

}  // namespace
