// The word list: HashTable::Build with the valid alphabet, then the posting-list build, the save
// of all five derived files, and a load through the handle. Every word the build stored must be
// found again, in memory and through the loaded files.
#include "fuzz_util.h"
#include "lexicon/hashtable.h"
#include "lexicon/postlistresources.h"
#include "lexicon/unichar2indexmap.h"

namespace {

urduspell::UniChar2IndexMap alphabet;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  using fuzzutil::Ur;
  if (fuzzutil::SeedFolder() != nullptr) {
    fuzzutil::WriteSeeds({
        fuzzutil::WordListFile(),
        fuzzutil::Utf16(u"4\r\n" + Ur("ktab") + u"\t12\r\n" + Ur("ab") + u"\t7\n\t3\r\n" + Ur("ab") +
                        u"\t1\r\n" + Ur("x") + u"\t1"),
        fuzzutil::Utf16(u"3\n" + Ur("kt") + u"1\u200D" + Ur("ab") + u"\t99999999\r\n" + Ur("ba") +
                        u"\t-5\r\n" + Ur("b") + u"\t0\r\n"),
    });
  }
  fuzzutil::WorkDir();
  fuzzutil::WriteDataSet(/*build=*/false);
  for (char16_t c : fuzzutil::kUrdu) alphabet.AddChar(c);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzutil::WriteFile("words.txt", data, size);
  urduspell::HashTable table;
  try {
    if (!table.Build("words.txt", alphabet)) return 0;
  } catch (const TRELVAException&) {
    return 0;
  }
  if (static_cast<std::int64_t>(table.GetNodeCount()) != table.GetSlotCount()) {
    fuzzutil::Fail("a build that succeeded left empty slots");
  }
  std::vector<std::u16string> stored;
  for (std::int32_t slot = 0; slot < table.GetSlotCount(); ++slot) {
    urduspell::HashNode node;
    if (!table.GetNode(slot, node)) fuzzutil::Fail("GetNode failed inside the table");
    if (node.word.empty() || node.word[0] == u'@') continue;
    if (!table.Lookup(node.word)) fuzzutil::Fail("a stored word is not found");
    std::vector<urduspell::HashNode> found;
    if (!table.Search(node.word, found)) fuzzutil::Fail("a stored word is not found by Search");
    bool ownSlot = false;
    for (const urduspell::HashNode& f : found) ownSlot = ownSlot || f.next == slot;
    if (!ownSlot) fuzzutil::Fail("Search does not return a stored word's own slot");
    stored.push_back(node.word);
  }

  urduspell::PostListResources lists;
  lists.SetAlphabetSize(alphabet.GetSize());
  lists.BuildPostingLists(table, alphabet);
  table.Save("hash.bin");
  lists.SaveBigramLists("bigram.idx", "bigram.pl");
  lists.SaveUnigramLists("unigram.idx", "unigram.pl");

  fuzzutil::WriteFile("config.ini", fuzzutil::ConfigFile("NO"));
  SpellCheckerPtr handle;
  try {
    handle.Initialize();
  } catch (const TRELVAException&) {
    fuzzutil::Fail("the files of a successful build do not load");
  }
  for (const std::u16string& word : stored) {
    if (word.size() > 20) continue;  // the file keeps 20 units of a word
    if (fuzzutil::CheckWord(handle, word).result != -1) fuzzutil::Fail("a stored word is misspelt");
  }
  for (const std::u16string& w : fuzzutil::ProbeWords()) fuzzutil::CheckWord(handle, w);
  return 0;
}
