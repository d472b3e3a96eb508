// A data set built by the library, then one of its files damaged one way, then a fresh handle
// initialised on it. Every damage is either refused by one precise exception of the library's
// family, or (for the posting lists, whose content cannot be told from a valid one) costs
// suggestions without ever producing one that is not a dictionary word.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

#include "api/handle_answers.h"
#include "io/coding.h"

namespace {

using testutil::Bytes;
using testutil::HandleAnswer;

Bytes Read(const std::string& name) { return testutil::ReadBytes(name); }
void Write(const std::string& name, const Bytes& bytes) { testutil::WriteBytes(name, bytes); }

void Cut(const std::string& name, std::size_t size) {
  Bytes b = Read(name);
  b.resize(size);
  Write(name, b);
}
void CutBy(const std::string& name, std::size_t bytes) { Cut(name, Read(name).size() - bytes); }

void Put32(const std::string& name, std::size_t at, std::uint32_t value) {
  Bytes b = Read(name);
  urduspell::EncodeFixed32(b.data() + at, value);
  Write(name, b);
}
std::int32_t Get32(const std::string& name, std::size_t at) {
  return urduspell::DecodeSigned32(Read(name).data() + at);
}

// The hash table file: FF FE, count, then 48-byte records whose last four bytes are the link.
constexpr std::size_t kCountAt = 2;
std::size_t NextAt(std::int32_t slot) { return 6 + 48 * static_cast<std::size_t>(slot) + 44; }

// Turns the first link of the table into a circle: the node it points to points back.
void LinkInACircle() {
  const std::int32_t count = Get32("hash.bin", kCountAt);
  for (std::int32_t slot = 0; slot < count; ++slot) {
    const std::int32_t next = Get32("hash.bin", NextAt(slot));
    if (next >= 0) {
      Put32("hash.bin", NextAt(next), static_cast<std::uint32_t>(slot));
      return;
    }
  }
  FAIL() << "the data set has no chain";
}

// Every id of a posting-list file replaced, alternately far past the dictionary and negative.
void IdsOutsideTheDictionary(const std::string& name) {
  Bytes b = Read(name);
  for (std::size_t at = 2, k = 0; at + 4 <= b.size(); at += 4, ++k) {
    urduspell::EncodeFixed32(b.data() + at, k % 2 ? 0x7FFFFFFFu : 0xFFFFFFF0u);
  }
  Write(name, b);
}

// Every record of an index file pointed outside its posting-list file.
void RecordsOutsideTheLists(const std::string& name, std::uint32_t offset) {
  Bytes b = Read(name);
  for (std::size_t at = 2; at + 6 <= b.size(); at += 6) {
    urduspell::EncodeFixed32(b.data() + at, offset);
    urduspell::EncodeFixed16(b.data() + at + 4, 3);
  }
  Write(name, b);
}

struct Damage {
  const char* what;
  std::function<void()> apply;
  // Refused: the IOException expected. Empty message: accepted, with the answers checked.
  int code;
  const char* module;
  std::string message;
};

const std::string kNotOpened = " Config file not opened sucessfully.";
const std::string kReadProblem = " Config file reading problem occurred.";
const std::string kBigram = " Bigram Matrix Index file could not be opened or read sucessfully.";
const std::string kUnigram = " Unigram List Index file could not be opened or read sucessfully.";

const Damage kDamages[] = {
    {"config.ini missing", [] { std::filesystem::remove("config.ini"); }, 0x10, "configmanager",
     "Could not open file: config.ini." + kNotOpened},
    {"hash table file missing", [] { std::filesystem::remove("hash.bin"); }, 0x10, "hashtable",
     "Could not open file: hash.bin." + kNotOpened},
    {"hash table file without its mark", [] { Write("hash.bin", {0xFE, 0xFF, 1, 0, 0, 0}); }, 0x10,
     "hashtable", "File is not Unicode based." + kNotOpened},
    {"hash table file cut inside its last record", [] { CutBy("hash.bin", 1); }, 0x11, "hashtable",
     "End of file encountered." + kNotOpened},
    {"hash table count above its records",
     [] { Put32("hash.bin", kCountAt, static_cast<std::uint32_t>(Get32("hash.bin", kCountAt) + 1)); },
     0x11, "hashtable", "End of file encountered." + kNotOpened},
    {"hash table count of two billion", [] { Put32("hash.bin", kCountAt, 0x7FFFFFFF); }, 0x11,
     "hashtable", "End of file encountered." + kNotOpened},
    {"hash table link past the table",
     [] { Put32("hash.bin", NextAt(0), static_cast<std::uint32_t>(Get32("hash.bin", kCountAt))); },
     0x11, "hashtable", "Damaged chain links in the hash table file." + kNotOpened},
    {"hash table link below -2", [] { Put32("hash.bin", NextAt(1), 0xFFFFFFFD); }, 0x11,
     "hashtable", "Damaged chain links in the hash table file." + kNotOpened},
    {"hash table chain in a circle", LinkInACircle, 0x11, "hashtable",
     "Damaged chain links in the hash table file." + kNotOpened},
    {"bigram index missing", [] { std::filesystem::remove("bigram.idx"); }, 0x10,
     "postlistresources", "Could not open file: bigram.idx." + kBigram},
    {"bigram index without its mark", [] { Put32("bigram.idx", 0, 0); }, 0x10, "postlistresources",
     "File is not Unicode based." + kBigram},
    {"bigram index cut by one byte", [] { CutBy("bigram.idx", 1); }, 0x11, "postlistresources",
     "End of file encountered." + kBigram},
    {"unigram index holding only its mark", [] { Cut("unigram.idx", 2); }, 0x11,
     "postlistresources", "End of file encountered." + kUnigram},
    {"alphabet grown by a letter after the build",
     [] {
       Bytes b = Read("alphabet.txt");
       for (unsigned char c : {0x41, 0x06, 0x0D, 0x00, 0x0A, 0x00}) b.push_back(c);  // U+0641
       Write("alphabet.txt", b);
     },
     0x11, "postlistresources", "End of file encountered." + kBigram},
    {"bigram posting lists without their mark", [] { Put32("bigram.pl", 0, 0); }, 0x10,
     "spellchecker", "File is not Unicode based." + kReadProblem},
    {"unigram posting lists missing", [] { std::filesystem::remove("unigram.pl"); }, 0x10,
     "spellchecker", "Could not open file: unigram.pl." + kReadProblem},
    {"soundex table ending in an empty line",
     [] {
       Bytes b = Read("soundex.txt");
       b.push_back('\n');
       Write("soundex.txt", b);
     },
     0x11, "spellchecker", "End of file encountered." + kNotOpened},
    // Accepted: what a posting list holds cannot be told from a valid one, but nothing outside
    // the dictionary and nothing outside the files is ever used.
    {"hash table count of 0", [] { Put32("hash.bin", kCountAt, 0); }, 0, "", ""},
    {"bigram posting lists cut in half",
     [] { Cut("bigram.pl", 2 + (Read("bigram.pl").size() - 2) / 2); }, 0, "", ""},
    {"unigram posting lists holding only their mark", [] { Cut("unigram.pl", 2); }, 0, "", ""},
    {"posting-list ids outside the dictionary",
     [] {
       IdsOutsideTheDictionary("bigram.pl");
       IdsOutsideTheDictionary("unigram.pl");
     },
     0, "", ""},
    {"index records past the end of the lists",
     [] {
       RecordsOutsideTheLists("bigram.idx", 0x7FFFFFF0);
       RecordsOutsideTheLists("unigram.idx", 0x7FFFFFF0);
     },
     0, "", ""},
    {"index records with negative offsets",
     [] {
       RecordsOutsideTheLists("bigram.idx", 0xFFFFFFF8);
       RecordsOutsideTheLists("unigram.idx", 0x80000000);
     },
     0, "", ""},
    {"alphabet shrunk by its last letter after the build",
     [] { CutBy("alphabet.txt", 6); }, 0, "", ""},
};

class DamagedFiles : public testing::TestWithParam<Damage> {};

TEST_P(DamagedFiles, RefusedPreciselyOrNoWordOutsideTheDictionary) {
  const Damage& d = GetParam();
  testutil::TempDir dir;
  const testutil::DataSet data = testutil::BusyDataSet();
  testutil::WriteDataSet(dir, data);
  testutil::ScopedCwd cwd(dir.path());
  {
    SpellCheckerPtr builder;
    ASSERT_TRUE(builder.Initialize());
  }
  d.apply();

  SpellCheckerPtr handle;
  if (!d.message.empty()) {
    try {
      handle.Initialize();
      FAIL() << "accepted";
    } catch (const IOException& ex) {  // every refusal here is a file that cannot be used
      EXPECT_EQ(ex.GetCode(), d.code);
      EXPECT_EQ(ex.GetFile(), d.module);
      EXPECT_EQ(ex.GetMessage(), d.message);
    }
    return;
  }

  ASSERT_TRUE(handle.Initialize());
  std::set<std::string> dictionary = {"gggggggggg"};
  for (const auto& [word, freq] : data.words) dictionary.insert(word);
  for (int pass = 0; pass < 2; ++pass) {  // no check leaves a reader stuck at the end
    for (const std::u16string& q : testutil::BusyQueries()) {
      HandleAnswer a = testutil::CheckThrough(handle, q);
      for (const std::string& s : a.suggestions) {
        EXPECT_EQ(dictionary.count(s), 1u) << testutil::Latin(q) << " -> " << s;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedFiles, testing::ValuesIn(kDamages), [](const auto& info) {
  std::string name = info.param.what;
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
});

}  // namespace
