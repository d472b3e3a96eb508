// The soundex / shapex table file: loaded by the engine's two loaders, then the class codes of
// some words, then checks through a handle whose data set uses it as both tables.
#include "engine/spellchecker.h"
#include "fuzz_util.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (fuzzutil::SeedFolder() != nullptr) {
    fuzzutil::WriteSeeds({
        fuzzutil::SoundexFile(),
        fuzzutil::ShapexFile(),
        "0627=1\n0x0628 = 300\n  062A=\t-7\r\n\n062B=2\n",
        "06270627062706270627=12345\n0041=1\n",
    });
  }
  fuzzutil::WorkDir();
  fuzzutil::WriteDataSet(/*build=*/true);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzutil::WriteFile("soundex.txt", data, size);
  fuzzutil::WriteFile("shapex.txt", data, size);
  urduspell::SpellChecker engine;
  try {
    engine.LoadSoundex("soundex.txt");
    engine.LoadShapex("shapex.txt");
  } catch (const TRELVAException&) {
    return 0;
  }
  for (const std::u16string& w : fuzzutil::ProbeWords()) {
    if (engine.SoundexCode(w) != engine.ShapexCode(w)) fuzzutil::Fail("twin loaders disagree");
  }
  std::u16string every;
  for (char16_t c = 0x0600; c < 0x072C; ++c) every.push_back(c);
  engine.SoundexCode(every);

  SpellCheckerPtr handle;
  handle.Initialize();
  const std::set<std::u16string> dictionary = fuzzutil::Dictionary();
  for (const std::u16string& w : fuzzutil::ProbeWords()) {
    fuzzutil::ExpectDictionaryWords(fuzzutil::CheckWord(handle, w), dictionary);
  }
  return 0;
}
