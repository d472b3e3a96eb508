// HashTable: the dictionary. A fixed-size table with coalesced chaining: one slot per word, a
// word lives in its home slot when that is free, otherwise in the lowest free slot above a
// cursor that only rises, linked to the end of the chain through its home slot. Chains merge,
// so every match compares whole words. The slot index of a word is its id in the posting lists.
//
// Order of calls: (Build Save | Load), then Lookup / Search / GetNode any number of times.
// The file format is described in docs/formats.md ("Dictionary hash table file").
#ifndef URDUSPELL_LEXICON_HASHTABLE_H_
#define URDUSPELL_LEXICON_HASHTABLE_H_

#include <cstdint>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace urduspell {

class UniChar2IndexMap;

struct HashNode {
  static constexpr std::int32_t kEmpty = -1;       // slot holds no node
  static constexpr std::int32_t kEndOfChain = -2;  // node ends its chain

  std::u16string word;
  std::int32_t frequency = 0;
  std::int32_t next = kEmpty;

  bool operator<(const HashNode& other) const { return frequency < other.frequency; }
};

class HashTable {
 public:
  static constexpr int kStoredWordUnits = 20;  // units of a word kept in the file
  static constexpr int kRecordSize = 2 * kStoredWordUnits + 4 + 4;

  HashTable() = default;

  void Clear();
  bool Create(std::int32_t size, std::int32_t modulus);
  std::uint32_t Hash(std::u16string_view word) const;
  std::int32_t InsertHome(const std::u16string& word, std::int32_t frequency);
  std::int32_t InsertChained(const std::u16string& word, std::int32_t frequency,
                             std::int32_t home);

  // Reads the word list (UTF-16LE: count line N, then "word TAB frequency" lines) and stores its
  // first N-1 entries. False for N < 3 or when the slots cannot be allocated; IOException
  // (module "hashtable") when the list cannot be opened or read, or holds fewer entries than N
  // promises.
  bool Build(const std::string& path, const UniChar2IndexMap& charMap);
  bool Save(const std::string& path) const;
  // Replaces the table by the one in the file. False for a count below 1; IOException (module
  // "hashtable") for a file that cannot be opened, is shorter than its count promises, or holds
  // links that do not form proper chains.
  bool Load(const std::string& path);

  bool Lookup(std::u16string_view word) const;
  bool Search(std::u16string_view word, std::vector<HashNode>& results) const;
  bool GetNode(std::int32_t slot, HashNode& node) const;
  bool SetNode(std::int32_t slot, const HashNode& node);
  // The node of a slot without copying it; nullptr outside the table.
  const HashNode* NodeAt(std::int32_t slot) const {
    return slot >= 0 && slot < slotCount_ ? &nodes_[static_cast<std::size_t>(slot)] : nullptr;
  }

  std::int32_t GetSlotCount() const { return slotCount_; }
  std::uint32_t GetNodeCount() const { return nodeCount_; }

 private:
  // Walks the chain that starts at the home slot of word and calls visit(node, slot) for every
  // node that matches; stops early when visit returns false.
  template <typename Visit>
  void ForEachMatch(std::u16string_view word, Visit visit) const;
  // Prepares the hash for the current modulus: the multipliers of the first positions (they do
  // not depend on the word) and the constant that replaces the division by the modulus.
  void PrepareHash();
  // True when every link points to a slot of the table and no chain runs in a circle.
  bool LinksAreSound() const;

  std::vector<HashNode> nodes_;
  std::int32_t slotCount_ = 0;
  std::int32_t modulus_ = 0;
  std::uint32_t nodeCount_ = 0;
  std::int32_t cursor_ = -1;

  // Multiplier of the code unit at position k, for the first kHashPositions positions.
  static constexpr std::size_t kHashPositions = 32;
  std::array<std::uint32_t, kHashPositions> multipliers_{};
  std::uint64_t modulusMagic_ = 0;  // ceil(2^64 / modulus): x mod modulus without a division
};

}  // namespace urduspell

#endif  // URDUSPELL_LEXICON_HASHTABLE_H_
