// The alphabet file: loaded into a character index map, then through a whole build
// (initialize = YES) of the valid word list and checks through the handle.
#include "fuzz_util.h"
#include "lexicon/unichar2indexmap.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (fuzzutil::SeedFolder() != nullptr) {
    std::u16string lf;
    for (char16_t c : fuzzutil::kUrdu) lf += std::u16string(1, c) + u"\n";
    fuzzutil::WriteSeeds({
        fuzzutil::AlphabetFile(),
        fuzzutil::Utf16(lf),
        fuzzutil::Utf16(fuzzutil::Ur("ab") + u"\r\n\r\n" + fuzzutil::Ur("k") + u"\r\n"),
        fuzzutil::Utf16(u""),
    });
  }
  fuzzutil::WorkDir();
  fuzzutil::WriteDataSet(/*build=*/false);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzutil::WriteFile("alphabet.txt", data, size);
  urduspell::UniChar2IndexMap map;
  try {
    map.Load("alphabet.txt");
  } catch (const TRELVAException&) {
    return 0;
  }
  for (char16_t c : map.Filter(fuzzutil::Ur("ktab dwst 1 \r\n") + u"\u200D\uFFFF\u0600")) {
    if (map.GetIndex(c) >= map.GetSize()) fuzzutil::Fail("an index at or above the size");
  }

  fuzzutil::WriteFile("config.ini", fuzzutil::ConfigFile("YES"));
  try {
    SpellCheckerPtr handle;
    handle.Initialize();
    for (const std::u16string& w : fuzzutil::ProbeWords()) fuzzutil::CheckWord(handle, w);
  } catch (const TRELVAException&) {
  }
  return 0;
}
