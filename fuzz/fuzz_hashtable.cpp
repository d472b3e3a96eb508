// The hash table file: HashTable::Load, then lookups and searches of every loaded word and of
// the probe words; then the same file under a handle whose other files are valid.
#include "fuzz_util.h"
#include "lexicon/hashtable.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzutil::WorkDir();
  fuzzutil::WriteDataSet(/*build=*/true);
  if (fuzzutil::SeedFolder() != nullptr) {
    fuzzutil::Bytes good = fuzzutil::ReadFile("hash.bin");
    fuzzutil::Bytes three = good.substr(0, 6 + 3 * 48);
    three[2] = 3;  // the first three records alone
    fuzzutil::WriteSeeds({good, three});
  }
  fuzzutil::WriteFile("valid-hash.bin", fuzzutil::ReadFile("hash.bin"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzutil::WriteFile("hash.bin", data, size);
  urduspell::HashTable table;
  try {
    if (!table.Load("hash.bin")) {
      if (table.GetSlotCount() != 0) fuzzutil::Fail("a refused file left slots behind");
      return 0;
    }
  } catch (const TRELVAException&) {
    if (table.GetSlotCount() != 0) fuzzutil::Fail("a damaged file left slots behind");
    return 0;
  }
  std::vector<urduspell::HashNode> found;
  for (std::int32_t slot = 0; slot < table.GetSlotCount(); ++slot) {
    urduspell::HashNode node;
    if (!table.GetNode(slot, node)) fuzzutil::Fail("GetNode failed inside the table");
    table.Lookup(node.word);
    table.Search(node.word, found);
    for (const urduspell::HashNode& f : found) {
      if (f.next < 0 || f.next >= table.GetSlotCount()) fuzzutil::Fail("Search gave no slot");
    }
  }
  for (const std::u16string& w : fuzzutil::ProbeWords()) table.Search(w, found);

  SpellCheckerPtr handle;
  try {
    handle.Initialize();
    for (const std::u16string& w : fuzzutil::ProbeWords()) fuzzutil::CheckWord(handle, w);
  } catch (const TRELVAException&) {
  }
  return 0;
}
