#include "benchdata.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <type_traits>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace fs = std::filesystem;

namespace urduspell::bench {

namespace {

// The alphabet of the default data set, in its order: the Urdu letters, then the Arabic and
// Persian code points that keyboards produce for some of them.
constexpr char16_t kAlphabet[] =
    u"\u0627\u0622\u0628\u067E\u062A\u0679\u062B\u062C\u0686\u062D\u062E\u062F\u0688\u0630"
    u"\u0631\u0691\u0632\u0698\u0633\u0634\u0635\u0636\u0637\u0638\u0639\u063A\u0641\u0642"
    u"\u06A9\u06AF\u0644\u0645\u0646\u06BA\u0648\u06C1\u06BE\u0621\u06CC\u06D2\u0623\u0624"
    u"\u0626\u06C2\u06C3\u06D3\u064A\u0649\u0643\u0647\u0629\u0625\u06C0";

// Letters of generated words with rough weights of their share of Urdu text.
struct Weighted {
  char16_t letter;
  int weight;
};
constexpr Weighted kLetterWeights[] = {
    {u'\u0627', 120}, {u'\u06CC', 90}, {u'\u0631', 60}, {u'\u0646', 60}, {u'\u0648', 60},
    {u'\u06A9', 50},  {u'\u06C1', 50}, {u'\u062A', 50}, {u'\u0645', 50}, {u'\u0644', 40},
    {u'\u0633', 40},  {u'\u0628', 30}, {u'\u062F', 30}, {u'\u06D2', 30}, {u'\u06BA', 20},
    {u'\u067E', 20},  {u'\u062C', 20}, {u'\u0634', 20}, {u'\u0639', 20}, {u'\u0642', 20},
    {u'\u0641', 20},  {u'\u06AF', 20}, {u'\u06BE', 20}, {u'\u062D', 15}, {u'\u062E', 10},
    {u'\u0632', 10},  {u'\u0679', 10}, {u'\u0688', 10}, {u'\u0635', 10}, {u'\u0637', 10},
    {u'\u0686', 10},  {u'\u0622', 10}, {u'\u0626', 10}, {u'\u0691', 5},  {u'\u063A', 5},
    {u'\u0621', 5},   {u'\u062B', 3},  {u'\u0630', 3},  {u'\u0636', 3},  {u'\u0638', 3},
    {u'\u0624', 2},   {u'\u0698', 1},  {u'\u06D3', 1},
};

// Share of generated words by length in code units, from 2 to 14.
constexpr int kLengthWeights[] = {3, 10, 16, 18, 16, 12, 9, 6, 4, 3, 2, 1, 1};
constexpr int kShortestGenerated = 2;

// Sound-alike and look-alike classes of the default data set (code point, class).
struct Classified {
  char16_t letter;
  int cls;
};
constexpr Classified kSoundex[] = {
    {u'\u0628', 10}, {u'\u067E', 11}, {u'\u062A', 12}, {u'\u0637', 12}, {u'\u06C3', 12},
    {u'\u0629', 12}, {u'\u0679', 13}, {u'\u062B', 14}, {u'\u0633', 14}, {u'\u0635', 14},
    {u'\u062C', 15}, {u'\u0686', 16}, {u'\u062E', 17}, {u'\u062F', 18}, {u'\u0688', 19},
    {u'\u0630', 20}, {u'\u0632', 20}, {u'\u0636', 20}, {u'\u0638', 20}, {u'\u0698', 20},
    {u'\u0631', 21}, {u'\u0691', 22}, {u'\u0634', 23}, {u'\u063A', 24}, {u'\u0641', 25},
    {u'\u06A9', 26}, {u'\u0642', 26}, {u'\u0643', 26}, {u'\u06AF', 27}, {u'\u0644', 28},
    {u'\u0645', 29}, {u'\u0646', 30}, {u'\u06BA', 30},
};
constexpr Classified kShapex[] = {
    {u'\u0627', 10}, {u'\u0622', 10}, {u'\u0623', 10}, {u'\u0625', 10}, {u'\u0628', 11},
    {u'\u067E', 11}, {u'\u062A', 11}, {u'\u0679', 11}, {u'\u062B', 11}, {u'\u062C', 12},
    {u'\u0686', 12}, {u'\u062D', 12}, {u'\u062E', 12}, {u'\u062F', 13}, {u'\u0688', 13},
    {u'\u0630', 13}, {u'\u0631', 14}, {u'\u0691', 14}, {u'\u0632', 14}, {u'\u0698', 14},
    {u'\u0633', 15}, {u'\u0634', 15}, {u'\u0635', 16}, {u'\u0636', 16}, {u'\u0637', 17},
    {u'\u0638', 17}, {u'\u0639', 18}, {u'\u063A', 18}, {u'\u0641', 19}, {u'\u0642', 19},
    {u'\u06A9', 20}, {u'\u06AF', 20}, {u'\u0643', 20}, {u'\u0644', 21}, {u'\u0645', 22},
    {u'\u0646', 23}, {u'\u06BA', 23}, {u'\u0648', 24}, {u'\u0624', 24}, {u'\u06C1', 25},
    {u'\u06C2', 25}, {u'\u06C3', 25}, {u'\u0647', 25}, {u'\u0629', 25}, {u'\u06C0', 25},
    {u'\u06BE', 26}, {u'\u06CC', 27}, {u'\u06D2', 27}, {u'\u0626', 27}, {u'\u06D3', 27},
    {u'\u064A', 27}, {u'\u0649', 27},
};

constexpr std::size_t kMaxWordUnits = 20;  // what the handle reads of a word

const char kConfigTail[] =
    "\r\nwordListFilePath = wordlist.txt\r\nhashTableFilePath = dictionary.hash\r\n"
    "bigramMatrixFilePath = bigram.index\r\nbigramPLFilePath = bigram.lists\r\n"
    "unigramListsFilePath = unigram.index\r\nunigramPLFilePath = unigram.lists\r\n"
    "urduAlphabetFilePath = alphabet.txt\r\nsoundexFilePath = soundex.txt\r\n"
    "shapexFilePath = shapex.txt\r\n";

void AppendUtf16Le(std::string& out, std::u16string_view text) {
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
}

std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// UTF-16LE file contents after the mark FF FE.
std::u16string ReadUtf16File(const fs::path& path) {
  const std::string bytes = ReadFile(path);
  std::u16string text;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  return text;
}

std::string ClassTable(const Classified* begin, const Classified* end) {
  std::string text;
  char line[32];
  for (const Classified* c = begin; c != end; ++c) {
    std::snprintf(line, sizeof line, "%04X=%d\r\n", static_cast<unsigned>(c->letter), c->cls);
    text += line;
  }
  return text;
}

fs::path NewTempDir() {
  std::random_device entropy;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path dir =
        fs::temp_directory_path() / ("urduspell-bench-" + std::to_string(entropy()));
    if (fs::create_directory(dir)) return dir;
  }
  throw std::runtime_error("cannot create a temporary folder");
}

template <typename T, std::size_t N>
int PickWeighted(Random& random, const T (&weights)[N], int total) {
  int pick = static_cast<int>(random.Below(static_cast<std::uint64_t>(total)));
  for (std::size_t i = 0; i < N; ++i) {
    int weight;
    if constexpr (std::is_same_v<T, Weighted>) {
      weight = weights[i].weight;
    } else {
      weight = weights[i];
    }
    if (pick < weight) return static_cast<int>(i);
    pick -= weight;
  }
  return static_cast<int>(N) - 1;
}

}  // namespace

const char* ErrorKindName(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::kDeletion:
      return "deletion";
    case ErrorKind::kInsertion:
      return "insertion";
    case ErrorKind::kSubstitution:
      return "substitution";
    case ErrorKind::kTransposition:
      return "transposition";
  }
  return "?";
}

const char* LengthClassName(int lengthClass) {
  static const char* const kNames[kLengthClassCount] = {"len2-3", "len4-5", "len6-8", "len9-14"};
  return lengthClass >= 0 && lengthClass < kLengthClassCount ? kNames[lengthClass] : "?";
}

int LengthClassOf(std::size_t length) {
  if (length < 2) return -1;
  if (length <= 3) return 0;
  if (length <= 5) return 1;
  if (length <= 8) return 2;
  if (length <= 14) return 3;
  return -1;
}

std::uint64_t Random::Next() {
  state_ += 0x9E3779B97F4A7C15ull;
  std::uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

DataSet DataSet::Make(int words) {
  const char* source = std::getenv("URDUSPELL_BENCH_DATA");
  return source != nullptr && *source != '\0' ? CopyOf(source) : Generate(words);
}

DataSet DataSet::Generate(int words) {
  DataSet set;
  set.dir_ = NewTempDir();
  set.description_ = "generated, " + std::to_string(words) + " words";

  int letterTotal = 0;
  for (const Weighted& w : kLetterWeights) letterTotal += w.weight;
  int lengthTotal = 0;
  for (int w : kLengthWeights) lengthTotal += w;

  // Distinct words; frequencies fall with rank as in running text (Zipf), so the rare words
  // share small frequencies, as they do in a real list.
  Random random(0x7572647573706C6Cull);
  std::unordered_set<std::u16string> taken;
  std::vector<Entry> entries;
  while (static_cast<int>(entries.size()) < words) {
    const int length = kShortestGenerated + PickWeighted(random, kLengthWeights, lengthTotal);
    std::u16string word;
    for (int i = 0; i < length; ++i) {
      word.push_back(kLetterWeights[PickWeighted(random, kLetterWeights, letterTotal)].letter);
    }
    if (!taken.insert(word).second) continue;
    const auto rank = static_cast<std::int32_t>(entries.size()) + 1;
    entries.push_back({word, std::max<std::int32_t>(1, 10'000'000 / rank)});
  }

  // The count line promises one entry more than the words, and that last entry is read and
  // dropped, so every word is stored.
  std::string list = "\xFF\xFE";
  AppendUtf16Le(list, Ascii(std::to_string(entries.size() + 1)) + u"\r\n");
  for (const Entry& e : entries) {
    AppendUtf16Le(list, e.word + u"\t" + Ascii(std::to_string(e.frequency)) + u"\r\n");
  }
  AppendUtf16Le(list, u"\u0627\u0627\u0627\u0627\u0627\u0627\t1\r\n");
  WriteFile(set.dir_ / "wordlist.txt", list);

  std::string alphabet = "\xFF\xFE";
  for (char16_t c : std::u16string_view(kAlphabet)) {
    AppendUtf16Le(alphabet, std::u16string(1, c) + u"\r\n");
  }
  WriteFile(set.dir_ / "alphabet.txt", alphabet);
  WriteFile(set.dir_ / "soundex.txt", ClassTable(std::begin(kSoundex), std::end(kSoundex)));
  WriteFile(set.dir_ / "shapex.txt", ClassTable(std::begin(kShapex), std::end(kShapex)));
  set.SetInitialize("YES");
  set.ReadWordList();
  // Generated words only use the weighted letters; misspellings should too.
  set.letters_.clear();
  for (const Weighted& w : kLetterWeights) set.letters_.push_back(w.letter);
  return set;
}

DataSet DataSet::CopyOf(const fs::path& source) {
  DataSet set;
  set.dir_ = NewTempDir();
  set.description_ = "copy of " + source.string();
  for (const auto& item : fs::directory_iterator(source)) {
    if (item.is_regular_file()) fs::copy_file(item.path(), set.dir_ / item.path().filename());
  }
  set.ReadWordList();
  return set;
}

DataSet::~DataSet() {
  if (dir_.empty()) return;
  std::error_code ignored;
  fs::remove_all(dir_, ignored);
}

void DataSet::SetInitialize(std::string_view value) const {
  // Copies of real data sets may name their files differently: only the initialize line changes.
  const fs::path config = dir_ / "config.ini";
  const std::string line = "initialize = " + std::string(value) + "\r\n";
  if (!fs::exists(config)) {
    WriteFile(config, line + (kConfigTail + 2));
    return;
  }
  const std::string text = ReadFile(config);
  std::string out;
  bool replaced = false;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    const std::string current = text.substr(start, end - start);
    const std::size_t key = current.find_first_not_of(" \t");
    if (!replaced && key != std::string::npos && current.compare(key, 10, "initialize") == 0) {
      out += line;
      replaced = true;
    } else {
      out += current;
    }
    start = end;
  }
  WriteFile(config, replaced ? out : line + out);
}

// Reads back what the library will store: the entries before the count line's last one, each
// word reduced to the letters of the alphabet; entries without a word are skipped.
void DataSet::ReadWordList() {
  const std::string config = ReadFile(dir_ / "config.ini");
  auto setting = [&](const std::string& key, const std::string& fallback) {
    std::size_t at = config.find(key);
    if (at == std::string::npos) return fallback;
    at = config.find('=', at);
    std::size_t end = config.find_first_of("\r\n", at);
    std::string value = config.substr(at + 1, end == std::string::npos ? end : end - at - 1);
    value.erase(0, value.find_first_not_of(" \t"));
    value.erase(value.find_last_not_of(" \t") + 1);
    return value;
  };
  const std::u16string alphabetText =
      ReadUtf16File(dir_ / setting("urduAlphabetFilePath", "alphabet.txt"));
  letters_.clear();
  for (std::size_t i = 0; i < alphabetText.size(); ++i) {
    if (alphabetText[i] != u'\r' && alphabetText[i] != u'\n') letters_.push_back(alphabetText[i]);
  }

  const std::u16string list = ReadUtf16File(dir_ / setting("wordListFilePath", "wordlist.txt"));
  std::size_t pos = list.find(u'\n');
  long promised = 0;
  for (char16_t c : list.substr(0, pos)) {
    if (c >= u'0' && c <= u'9') promised = promised * 10 + (c - u'0');
  }
  entries_.clear();
  known_.clear();
  long seen = 0;
  while (pos != std::u16string::npos && seen + 1 < promised) {
    const std::size_t start = pos + 1;
    pos = list.find(u'\n', start);
    const std::u16string line = list.substr(start, pos == std::u16string::npos ? pos : pos - start);
    const std::size_t tab = line.find(u'\t');
    if (tab == std::u16string::npos) break;
    ++seen;
    Entry e;
    for (std::size_t i = 0; i < tab; ++i) {
      if (letters_.find(line[i]) != std::u16string::npos) e.word.push_back(line[i]);
    }
    for (std::size_t i = tab + 1; i < line.size() && line[i] >= u'0' && line[i] <= u'9'; ++i) {
      e.frequency = e.frequency * 10 + (line[i] - u'0');
    }
    if (tab == 0) continue;
    known_.insert(e.word);
    entries_.push_back(std::move(e));
  }
  cumulative_.clear();
  double sum = 0;
  for (const Entry& e : entries_) cumulative_.push_back(sum += std::max(e.frequency, 1));
}

std::vector<std::u16string> DataSet::RunningText(std::size_t count, std::uint64_t seed) const {
  Random random(seed);
  std::vector<std::u16string> text;
  text.reserve(count);
  const double total = cumulative_.empty() ? 0 : cumulative_.back();
  while (text.size() < count && total > 0) {
    const double at = total * static_cast<double>(random.Next() >> 11) / 9007199254740992.0;
    const auto it = std::upper_bound(cumulative_.begin(), cumulative_.end(), at);
    const std::u16string& word = entries_[static_cast<std::size_t>(std::min<std::ptrdiff_t>(
                                              it - cumulative_.begin(), cumulative_.size() - 1))]
                                     .word;
    if (!word.empty() && word.size() <= kMaxWordUnits) text.push_back(word);
  }
  return text;
}

std::vector<std::u16string> DataSet::Misspellings(ErrorKind kind, int lengthClass,
                                                  std::size_t count, std::uint64_t seed) const {
  std::vector<std::size_t> targets;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (LengthClassOf(entries_[i].word.size()) == lengthClass) targets.push_back(i);
  }
  std::vector<std::u16string> out;
  if (targets.empty() || letters_.empty()) return out;
  Random random(seed ^ (static_cast<std::uint64_t>(kind) << 8) ^
                static_cast<std::uint64_t>(lengthClass));
  std::unordered_set<std::u16string> made;
  for (std::size_t attempt = 0; out.size() < count && attempt < 100 * count; ++attempt) {
    std::u16string word = entries_[targets[random.Below(targets.size())]].word;
    const std::size_t at = random.Below(word.size());
    const char16_t letter = letters_[random.Below(letters_.size())];
    switch (kind) {
      case ErrorKind::kDeletion:
        word.erase(at, 1);
        break;
      case ErrorKind::kInsertion:
        word.insert(word.begin() + static_cast<std::ptrdiff_t>(random.Below(word.size() + 1)),
                    letter);
        break;
      case ErrorKind::kSubstitution:
        if (word[at] == letter) continue;
        word[at] = letter;
        break;
      case ErrorKind::kTransposition:
        if (at + 1 >= word.size() || word[at] == word[at + 1]) continue;
        std::swap(word[at], word[at + 1]);
        break;
    }
    if (word.size() < 2 || word.size() > kMaxWordUnits || Contains(word)) continue;
    if (made.insert(word).second) out.push_back(word);
  }
  return out;
}

ScopedCwd::ScopedCwd(const fs::path& dir) : previous_(fs::current_path()) { fs::current_path(dir); }

ScopedCwd::~ScopedCwd() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
}

double ResidentMiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string key = std::string(field) + ":";
  while (std::getline(status, line)) {
    if (line.compare(0, key.size(), key) == 0) {
      return std::strtod(line.c_str() + key.size(), nullptr) / 1024.0;  // the file says kB
    }
  }
  return 0;
}

void TrimHeap() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

std::vector<unsigned char> WordBytes(const std::u16string& word) {
  std::vector<unsigned char> bytes(2 * kMaxWordUnits, 0);
  for (std::size_t i = 0; i < word.size() && i < kMaxWordUnits; ++i) {
    bytes[2 * i] = static_cast<unsigned char>(word[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<unsigned char>(word[i] >> 8);
  }
  return bytes;
}

double Percentile(std::vector<double>& values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  auto rank = static_cast<std::size_t>(p / 100.0 * static_cast<double>(values.size()) + 0.999999);
  rank = std::clamp<std::size_t>(rank, 1, values.size());
  return values[rank - 1];
}

}  // namespace urduspell::bench
