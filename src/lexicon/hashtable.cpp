// File format: docs/formats.md, "Dictionary hash table file".
#include "lexicon/hashtable.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "errors/errors.h"
#include "io/coding.h"
#include "io/filereader.h"
#include "io/filewriter.h"
#include "lexicon/unichar2indexmap.h"

namespace urduspell {

namespace {

constexpr const char* kModule = "hashtable";
constexpr char16_t kDeletedMark = u'@';  // a word beginning with it never matches

// Limits of the word-list fields, in code units.
constexpr int kCountLineUnits = 7;
constexpr int kWordUnits = 22;
constexpr int kFrequencyUnits = 8;

// Low byte of each unit, read as a decimal integer (leading blanks, optional sign).
std::int32_t ToInt(const std::u16string& text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (char16_t c : text) bytes.push_back(static_cast<char>(c & 0xFF));
  return static_cast<std::int32_t>(std::atoi(bytes.c_str()));
}

bool Matches(const HashNode& node, std::u16string_view word) {
  return !node.word.empty() && node.word[0] != kDeletedMark && node.word == word;
}

constexpr std::uint32_t kFirstMultiplier = 31415;
constexpr std::uint32_t kMultiplierStep = 27183;

// x mod d for 32-bit x, given magic = ceil(2^64 / d): the high 64 bits of (magic * x mod 2^64) * d
// (Lemire, Kaser and Kurz, "Faster remainder by direct computation"); exact for every x and d.
std::uint32_t FastMod(std::uint32_t x, std::uint64_t magic, std::uint32_t d) {
  const std::uint64_t low = magic * x;
#if defined(__SIZEOF_INT128__)
  __extension__ using Wide = unsigned __int128;
  return static_cast<std::uint32_t>((static_cast<Wide>(low) * d) >> 64);
#else
  const std::uint64_t high = (low >> 32) * d + (((low & 0xFFFFFFFFu) * d) >> 32);
  return static_cast<std::uint32_t>(high >> 32);
#endif
}

// Raised inside the guarded reads, so the handler relays it like the reader's own.
[[noreturn]] void RaiseShortFile(int line) {
  throw IOException(kModule, line, kErrRead, "End of file encountered.");
}

}  // namespace

void HashTable::Clear() {
  std::vector<HashNode>().swap(nodes_);
  slotCount_ = 0;
  modulus_ = 0;
  nodeCount_ = 0;
  cursor_ = -1;
  PrepareHash();
}

bool HashTable::Create(std::int32_t size, std::int32_t modulus) {
  Clear();
  if (size < 1 || modulus < 1) return false;
  try {
    nodes_.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    Clear();
    return false;
  }
  slotCount_ = size;
  modulus_ = modulus <= size ? modulus : size;
  PrepareHash();
  return true;
}

// Per code unit c: h = (a * h + c) mod M, then a = (a * 27183) mod (M - 1), all in unsigned 32-bit
// arithmetic (products and sums wrap at 2^32), starting from h = 0 and a = 31415. The sequence of
// multipliers does not depend on the word, so its start is computed once per modulus.
std::uint32_t HashTable::Hash(std::u16string_view word) const {
  if (slotCount_ <= 0) return 0;
  const std::uint32_t m = static_cast<std::uint32_t>(modulus_);
  if (m == 1) return 0;
  std::uint32_t h = 0;
  const std::size_t prepared = std::min(word.size(), kHashPositions);
  for (std::size_t k = 0; k < prepared; ++k) {
    h = FastMod(multipliers_[k] * h + word[k], modulusMagic_, m);
  }
  if (word.size() > kHashPositions) {
    std::uint32_t a = (multipliers_[kHashPositions - 1] * kMultiplierStep) % (m - 1);
    for (std::size_t k = kHashPositions; k < word.size(); ++k) {
      h = (a * h + word[k]) % m;
      a = (a * kMultiplierStep) % (m - 1);
    }
  }
  return h;
}

void HashTable::PrepareHash() {
  multipliers_.fill(0);
  modulusMagic_ = 0;
  const std::uint32_t m = static_cast<std::uint32_t>(modulus_);
  if (m <= 1) return;
  modulusMagic_ = UINT64_MAX / m + 1;
  std::uint32_t a = kFirstMultiplier;
  for (std::size_t k = 0; k < kHashPositions; ++k) {
    multipliers_[k] = a;
    a = (a * kMultiplierStep) % (m - 1);
  }
}

std::int32_t HashTable::InsertHome(const std::u16string& word, std::int32_t frequency) {
  if (slotCount_ <= 0) return -1;
  const std::int32_t h = static_cast<std::int32_t>(Hash(word));
  HashNode& node = nodes_[static_cast<std::size_t>(h)];
  if (node.next != HashNode::kEmpty) return -1;
  node = HashNode{word, frequency, HashNode::kEndOfChain};
  ++nodeCount_;
  return h;
}

std::int32_t HashTable::InsertChained(const std::u16string& word, std::int32_t frequency,
                                      std::int32_t home) {
  if (slotCount_ <= 0 || home < 0 || home >= modulus_) return -1;
  std::int32_t tail = home;
  while (nodes_[static_cast<std::size_t>(tail)].next >= 0) {
    tail = nodes_[static_cast<std::size_t>(tail)].next;
  }
  std::int32_t slot = cursor_ + 1;
  while (slot < slotCount_ && nodes_[static_cast<std::size_t>(slot)].next != HashNode::kEmpty) {
    ++slot;
  }
  if (slot >= slotCount_) return -1;
  nodes_[static_cast<std::size_t>(tail)].next = slot;
  nodes_[static_cast<std::size_t>(slot)] = HashNode{word, frequency, HashNode::kEndOfChain};
  ++nodeCount_;
  cursor_ = slot;
  return slot;
}

bool HashTable::Build(const std::string& path, const UniChar2IndexMap& charMap) {
  FileReader reader;
  try {
    reader.Open(path, FileMode::Unicode);
  } catch (IOException& ex) {
    RelayWithContext(ex, kModule, __LINE__, kNotOpenedText);
    throw;
  }
  try {
    std::u16string countLine;
    reader.ReadUnicodeLine(countLine, kCountLineUnits, u'\n');
    const std::int32_t n = ToInt(countLine) - 1;
    if (static_cast<std::uint32_t>(n) <= 1) return false;
    // Every stored entry takes at least two code units (a letter and a delimiter): a list that
    // cannot hold n entries is refused before n slots are allocated for it.
    const std::int64_t units = (static_cast<std::int64_t>(reader.GetSize()) - 2) / 2;
    if (n > 0 && units < 2 * static_cast<std::int64_t>(n)) RaiseShortFile(__LINE__);
    if (!Create(n, n)) return false;

    std::u16string word;
    std::u16string frequency;
    bool haveWord = false;
    auto readEntry = [&] {
      haveWord = reader.ReadUnicodeLine(word, kWordUnits, u'\t');
      reader.ReadUnicodeLine(frequency, kFrequencyUnits, u'\n');
    };
    readEntry();
    std::int32_t stored = 0;
    while (!reader.IsEof() && stored < n) {
      // A line that begins with TAB has no word of its own: skip it rather than store the
      // previous entry's word a second time.
      if (haveWord) {
        const std::u16string filtered = charMap.Filter(word);
        const std::int32_t freq = ToInt(frequency);
        if (InsertHome(filtered, freq) < 0) {
          InsertChained(filtered, freq, static_cast<std::int32_t>(Hash(filtered)));
        }
        ++stored;
      }
      readEntry();
    }
    reader.Close();
    // A list that ends (without a final line end) before its count line's promise would leave
    // slots empty that the rest of the system takes for words: refuse it like a list that ends
    // after a line end.
    if (stored < n) RaiseShortFile(__LINE__);
  } catch (IOException& ex) {
    RelayWithContext(ex, kModule, __LINE__, kNotOpenedText);
    throw;
  }
  return true;
}

bool HashTable::Save(const std::string& path) const {
  FileWriter writer;
  writer.Open(path, FileMode::Unicode, false);
  unsigned char count[4];
  EncodeFixed32(count, nodeCount_);
  writer.WriteBlock(count, 4);
  unsigned char record[kRecordSize];
  for (std::uint32_t i = 0; i < nodeCount_; ++i) {
    const HashNode* node = NodeAt(static_cast<std::int32_t>(i));
    if (node == nullptr) break;
    std::fill(record, record + kRecordSize, 0);
    for (std::size_t k = 0; k < node->word.size() && k < kStoredWordUnits; ++k) {
      EncodeFixed16(record + 2 * k, node->word[k]);
    }
    EncodeFixed32(record + 2 * kStoredWordUnits, static_cast<std::uint32_t>(node->frequency));
    EncodeFixed32(record + 2 * kStoredWordUnits + 4, static_cast<std::uint32_t>(node->next));
    writer.WriteBlock(record, kRecordSize);
  }
  writer.Close();
  return true;
}

bool HashTable::Load(const std::string& path) {
  FileReader reader;
  try {
    reader.Open(path, FileMode::Unicode);
  } catch (IOException& ex) {
    RelayWithContext(ex, kModule, __LINE__, kNotOpenedText);
    throw;
  }
  try {
    unsigned char buf[kRecordSize];
    std::int32_t got = 0;
    reader.ReadBlock(buf, 4, &got);
    const std::int32_t count = got == 4 ? DecodeSigned32(buf) : 0;
    if (count < 1) {
      Clear();
      return false;
    }
    // Check the promise of the count against the file before allocating for it.
    const std::int64_t needed = 2 + 4 + static_cast<std::int64_t>(count) * kRecordSize;
    if (reader.GetSize() < needed) RaiseShortFile(__LINE__);
    if (!Create(count, count)) return false;
    for (std::int32_t i = 0; i < count; ++i) {
      reader.ReadBlock(buf, kRecordSize, &got);
      if (got != kRecordSize) RaiseShortFile(__LINE__);
      HashNode node;
      for (int k = 0; k < kStoredWordUnits; ++k) {
        const char16_t unit = DecodeFixed16(buf + 2 * k);
        if (unit == 0) break;
        node.word.push_back(unit);
      }
      node.frequency = DecodeSigned32(buf + 2 * kStoredWordUnits);
      node.next = DecodeSigned32(buf + 2 * kStoredWordUnits + 4);
      SetNode(i, node);
    }
    reader.Close();
    if (!LinksAreSound()) {
      throw IOException(kModule, __LINE__, kErrRead, "Damaged chain links in the hash table file.");
    }
    nodeCount_ = static_cast<std::uint32_t>(count);
  } catch (IOException& ex) {
    Clear();  // a damaged file leaves no half-loaded table behind
    RelayWithContext(ex, kModule, __LINE__, kNotOpenedText);
    throw;
  }
  return true;
}

bool HashTable::LinksAreSound() const {
  enum : unsigned char { kUnseen, kOnPath, kDone };
  std::vector<unsigned char> state(static_cast<std::size_t>(slotCount_), kUnseen);
  std::vector<std::int32_t> path;
  for (std::int32_t start = 0; start < slotCount_; ++start) {
    path.clear();
    std::int32_t slot = start;
    while (slot >= 0 && state[static_cast<std::size_t>(slot)] == kUnseen) {
      state[static_cast<std::size_t>(slot)] = kOnPath;
      path.push_back(slot);
      const std::int32_t next = nodes_[static_cast<std::size_t>(slot)].next;
      if (next < HashNode::kEndOfChain || next >= slotCount_) return false;
      slot = next;
    }
    if (slot >= 0 && state[static_cast<std::size_t>(slot)] == kOnPath) return false;  // a circle
    for (std::int32_t s : path) state[static_cast<std::size_t>(s)] = kDone;
  }
  return true;
}

template <typename Visit>
void HashTable::ForEachMatch(std::u16string_view word, Visit visit) const {
  if (slotCount_ <= 0) return;
  std::int32_t idx = static_cast<std::int32_t>(Hash(word));
  if (nodes_[static_cast<std::size_t>(idx)].next == HashNode::kEmpty) return;
  while (idx >= 0) {
    const HashNode& node = nodes_[static_cast<std::size_t>(idx)];
    if (Matches(node, word) && !visit(node, idx)) return;
    idx = node.next;
  }
}

bool HashTable::Lookup(std::u16string_view word) const {
  bool found = false;
  ForEachMatch(word, [&](const HashNode&, std::int32_t) {
    found = true;
    return false;
  });
  return found;
}

bool HashTable::Search(std::u16string_view word, std::vector<HashNode>& results) const {
  results.clear();
  ForEachMatch(word, [&](const HashNode& node, std::int32_t slot) {
    results.push_back(node);
    results.back().next = slot;
    return true;
  });
  return !results.empty();
}

bool HashTable::GetNode(std::int32_t slot, HashNode& node) const {
  const HashNode* found = NodeAt(slot);
  if (found == nullptr) return false;
  node = *found;
  return true;
}

bool HashTable::SetNode(std::int32_t slot, const HashNode& node) {
  if (slot < 0 || slot >= slotCount_) return false;
  nodes_[static_cast<std::size_t>(slot)] = node;
  return true;
}

}  // namespace urduspell
