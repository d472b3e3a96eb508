// Data for the benchmarks: a generated Urdu-like data set (alphabet, word list, class tables,
// config.ini) of any size, or a copy of a real data folder; running text drawn from its words by
// frequency; misspellings of its words by length and kind of error; resident memory of the
// process. Standard library only, so that benchmarks of the public handle can use it without
// seeing the library's internals.
//
// Everything is made from fixed seeds: two runs on two machines measure the same words.
#ifndef URDUSPELL_BENCH_BENCHDATA_H_
#define URDUSPELL_BENCH_BENCHDATA_H_

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace urduspell::bench {

// The kinds of error a misspelling carries: exactly one edit of a dictionary word.
enum class ErrorKind { kDeletion, kInsertion, kSubstitution, kTransposition };
inline constexpr int kErrorKindCount = 4;
const char* ErrorKindName(ErrorKind kind);

// Word lengths (code units) of the words misspelt: 2-3, 4-5, 6-8 and 9-14.
inline constexpr int kLengthClassCount = 4;
const char* LengthClassName(int lengthClass);
int LengthClassOf(std::size_t length);  // -1 outside all classes

// splitmix64: small, fast, the same on every platform (unlike the standard distributions).
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();
  std::uint64_t Below(std::uint64_t n) { return Next() % n; }

 private:
  std::uint64_t state_;
};

struct Entry {
  std::u16string word;
  std::int32_t frequency = 0;
};

// A data folder that lives as long as the object. The words are those the word list stores,
// in list order.
class DataSet {
 public:
  // Without URDUSPELL_BENCH_DATA in the environment: a generated set of `words` words in a new
  // temporary folder. With it: a copy of the folder it names (for instance data/ur), whatever
  // `words` says.
  static DataSet Make(int words);
  // A generated set of `words` words in a new temporary folder.
  static DataSet Generate(int words);
  // A copy of the data folder `source`.
  static DataSet CopyOf(const std::filesystem::path& source);

  DataSet(DataSet&&) = default;
  DataSet& operator=(DataSet&&) = default;
  ~DataSet();

  const std::filesystem::path& dir() const { return dir_; }
  const std::vector<Entry>& entries() const { return entries_; }
  const std::string& description() const { return description_; }
  bool Contains(const std::u16string& word) const { return known_.count(word) != 0; }

  // Rewrites config.ini with "initialize = value" (YES builds, NO loads the derived files).
  void SetInitialize(std::string_view value) const;
  // `count` tokens drawn from the words with probability proportional to their frequency,
  // as running text would show them.
  std::vector<std::u16string> RunningText(std::size_t count, std::uint64_t seed) const;
  // Up to `count` misspellings of dictionary words of the length class, each made by one edit
  // of the kind and none of them a dictionary word.
  std::vector<std::u16string> Misspellings(ErrorKind kind, int lengthClass, std::size_t count,
                                           std::uint64_t seed) const;

 private:
  DataSet() = default;
  void ReadWordList();

  std::filesystem::path dir_;
  std::string description_;
  std::vector<Entry> entries_;
  std::unordered_set<std::u16string> known_;
  std::u16string letters_;          // the alphabet, for insertions and substitutions
  std::vector<double> cumulative_;  // running sums of the frequencies, for RunningText
};

// Makes `dir` the current directory for the life of the object (the library reads config.ini
// from there).
class ScopedCwd {
 public:
  explicit ScopedCwd(const std::filesystem::path& dir);
  ~ScopedCwd();
  ScopedCwd(const ScopedCwd&) = delete;
  ScopedCwd& operator=(const ScopedCwd&) = delete;

 private:
  std::filesystem::path previous_;
};

// Resident memory of this process in MiB from /proc/self/status: "VmRSS" (now) or "VmHWM"
// (peak); 0 where the file is not there.
double ResidentMiB(const char* field);
// Hands the heap's free pages back to the system (where the C library can), so that the next
// reading of VmRSS shows what is in use rather than what was used before.
void TrimHeap();

// The 40-byte UTF-16LE buffer the handle reads a word from (longer words are cut at 20 units).
std::vector<unsigned char> WordBytes(const std::u16string& word);

// Nearest-rank percentile (0 < p <= 100) of values, which it sorts.
double Percentile(std::vector<double>& values, double p);

}  // namespace urduspell::bench

#endif  // URDUSPELL_BENCH_BENCHDATA_H_
