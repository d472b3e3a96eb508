// The caller's word bytes through SpellCheckerPtr::SpellCheck, on the small valid data set
// (built once, then loaded by the handle that is fuzzed).
#include "fuzz_util.h"

namespace {

SpellCheckerPtr* checker = nullptr;
std::set<std::u16string> dictionary;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (fuzzutil::SeedFolder() != nullptr) {
    std::vector<fuzzutil::Bytes> seeds;
    for (const std::u16string& w : fuzzutil::ProbeWords()) seeds.push_back(fuzzutil::Utf16(w, false));
    seeds.push_back(fuzzutil::Utf16(u" \t" + fuzzutil::Ur("ktab") + u"\r\n", false));
    seeds.push_back(fuzzutil::Utf16(fuzzutil::Ur("kt") + u"\u200D" + fuzzutil::Ur("ab") + u"1", false));
    seeds.push_back(fuzzutil::Bytes("\x2D\x06\x27\x06\x00\x06\x2D\x06", 8));
    fuzzutil::WriteSeeds(seeds);
  }
  fuzzutil::WorkDir();
  fuzzutil::WriteDataSet(/*build=*/true);
  checker = new SpellCheckerPtr;  // lives as long as the process
  if (!checker->Initialize()) fuzzutil::Fail("the built data set did not load");
  dictionary = fuzzutil::Dictionary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The host guarantees a word readable up to its terminating pair or for 40 bytes: give exactly
  // that, so any read past it is caught.
  std::string word(reinterpret_cast<const char*>(data), size < 40 ? size : 40);
  if (word.size() < 40) word.append(2, '\0');
  const auto* bytes = reinterpret_cast<const unsigned char*>(word.data());
  const fuzzutil::Answer first = fuzzutil::CheckBytes(*checker, bytes, word.size());
  fuzzutil::ExpectDictionaryWords(first, dictionary);
  // A check leaves nothing behind that changes the next one.
  if (!(fuzzutil::CheckBytes(*checker, bytes, word.size()) == first)) {
    fuzzutil::Fail("the same word checked twice gave two answers");
  }
  return 0;
}
