// An alphabet far beyond any script's letters would make the bigram matrix (one record per
// ordered pair of letters) cost gigabytes: found by fuzzing the alphabet file, where 20,000
// lines in 80 KB asked for 3.2 GB before anything was read. It is refused before anything is
// allocated, as exhausted memory, on both the build and the load path.
#include <gtest/gtest.h>
#include <urduspell/spellcheckerptr.h>

#include <functional>

#include "engine/engine_fixture.h"
#include "lexicon/hashtable.h"
#include "lexicon/postlistresources.h"
#include "lexicon/unichar2indexmap.h"

namespace {

using urduspell::PostListResources;

// An alphabet file of `letters` distinct CJK characters, one per line ending in LF.
testutil::Bytes AlphabetOf(int letters) {
  std::u16string text;
  for (int i = 0; i < letters; ++i) {
    text.push_back(static_cast<char16_t>(0x4E00 + i));
    text.push_back(u'\n');
  }
  return testutil::Utf16Le(text);
}

void ExpectRefusedAsExhaustedMemory(const std::function<void()>& run, const char* what) {
  try {
    run();
    ADD_FAILURE() << "accepted: " << what;
  } catch (const MemoryAllocationException& ex) {
    EXPECT_EQ(ex.GetCode(), 0x20) << what;
    EXPECT_EQ(ex.GetFile(), "postlistresources") << what;
    EXPECT_EQ(ex.GetMessage(), "Could not allocate memory for 'Bigram Matrix Index'.") << what;
  }
}

TEST(AlphabetLimit, OversizedAlphabetIsRefusedThroughTheHandle) {
  for (const char* initialize : {"YES", "NO"}) {
    testutil::TempDir dir;
    testutil::WriteDataSet(dir, testutil::DataSet{{{"ktab", 5}}, {}, {}, "YES"});
    testutil::ScopedCwd cwd(dir.path());
    {
      SpellCheckerPtr builder;  // valid derived files, for the load path
      ASSERT_TRUE(builder.Initialize());
    }
    testutil::WriteBytes("alphabet.txt", AlphabetOf(20000));
    testutil::WriteText("config.ini", testutil::ConfigText(initialize));
    SpellCheckerPtr handle;
    ExpectRefusedAsExhaustedMemory([&] { handle.Initialize(); }, initialize);
  }
}

TEST(AlphabetLimit, RefusedJustAboveTheLimitBeforeAnyFileIsRead) {
  urduspell::UniChar2IndexMap map;
  for (int i = 0; i <= PostListResources::kMaxAlphabetSize; ++i) {
    map.AddChar(static_cast<char16_t>(0x4E00 + i));
  }
  urduspell::HashTable empty;
  PostListResources lists;
  ExpectRefusedAsExhaustedMemory([&] { lists.BuildPostingLists(empty, map); }, "build");

  lists.SetAlphabetSize(PostListResources::kMaxAlphabetSize + 1);
  ExpectRefusedAsExhaustedMemory([&] { lists.LoadBigramMatrixIndex("no such file"); }, "load");
  EXPECT_EQ(lists.BigramRecord(0, 0), urduspell::IndexRecord{});
}

}  // namespace
