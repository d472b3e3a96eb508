// The two index files and the two posting-list files, loaded by a handle (initialize = NO) whose
// alphabet and hash table are valid, then checks through it. A damaged file may cost
// suggestions; it must never crash, hang, or turn into a word that is not in the dictionary.
//
// Input layout: three little-endian 16-bit lengths (bigram index, unigram index, bigram
// posting lists), then the four files one after the other (the unigram posting lists take the
// rest). Lengths reaching past the input are cut.
#include "fuzz_util.h"

namespace {

const char* const kFiles[] = {"bigram.idx", "unigram.idx", "bigram.pl", "unigram.pl"};
std::set<std::u16string> dictionary;

fuzzutil::Bytes Pack(const std::vector<fuzzutil::Bytes>& files) {
  fuzzutil::Bytes out;
  for (int i = 0; i < 3; ++i) {
    out.push_back(static_cast<char>(files[static_cast<std::size_t>(i)].size() & 0xFF));
    out.push_back(static_cast<char>(files[static_cast<std::size_t>(i)].size() >> 8));
  }
  for (const fuzzutil::Bytes& f : files) out += f;
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzutil::WorkDir();
  fuzzutil::WriteDataSet(/*build=*/true);
  if (fuzzutil::SeedFolder() != nullptr) {
    std::vector<fuzzutil::Bytes> files;
    for (const char* f : kFiles) files.push_back(fuzzutil::ReadFile(f));
    std::vector<fuzzutil::Bytes> cut = files;
    cut[2].resize(cut[2].size() / 2);
    cut[3].resize(2);
    fuzzutil::WriteSeeds({Pack(files), Pack(cut)});
  }
  dictionary = fuzzutil::Dictionary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::size_t at = 6 < size ? 6 : size;
  for (int i = 0; i < 4; ++i) {
    std::size_t length = size - at;
    if (i < 3 && size >= 6) {
      const std::size_t wanted = data[2 * i] | (static_cast<std::size_t>(data[2 * i + 1]) << 8);
      if (wanted < length) length = wanted;
    }
    fuzzutil::WriteFile(kFiles[i], data + at, length);
    at += length;
  }
  SpellCheckerPtr handle;
  try {
    handle.Initialize();
  } catch (const TRELVAException&) {
    return 0;
  }
  for (const std::u16string& w : fuzzutil::ProbeWords()) {
    try {
      fuzzutil::ExpectDictionaryWords(fuzzutil::CheckWord(handle, w), dictionary);
    } catch (const TRELVAException&) {
    }
  }
  return 0;
}
