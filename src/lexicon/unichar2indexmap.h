// UniChar2IndexMap: the alphabet. Gives every character of the alphabet file a dense index
// (0, 1, 2, ... in file order); words are reduced to alphabet letters with Filter before they
// are hashed, compared or indexed. Lookup is two array accesses: a page per high byte of the
// code unit, an entry per low byte, 0xFFFF meaning "not a letter".
//
// Order of calls: Load (or AddChar*), then GetIndex / Filter / GetSize any number of times.
// Load does not clear: loading twice numbers on from the current size (Clear first to reload).
#ifndef URDUSPELL_LEXICON_UNICHAR2INDEXMAP_H_
#define URDUSPELL_LEXICON_UNICHAR2INDEXMAP_H_

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace urduspell {

class UniChar2IndexMap {
 public:
  static constexpr std::uint16_t kNoIndex = 0xFFFF;

  UniChar2IndexMap() = default;
  UniChar2IndexMap(const UniChar2IndexMap& other);
  UniChar2IndexMap& operator=(const UniChar2IndexMap& other);
  ~UniChar2IndexMap() = default;

  // Adds one character per line of a UTF-16LE file (mark required). True on completion; a file
  // that cannot be opened or read raises IOException (module "unichar2indexmap").
  bool Load(const std::string& path);
  // Gives c the index `size` (overwriting an earlier one) and counts it; false only when its
  // page cannot be allocated.
  bool AddChar(char16_t c);
  std::uint16_t GetIndex(char16_t c) const {
    const std::uint16_t* page = pages_[c >> 8].get();
    return page == nullptr ? kNoIndex : page[c & 0xFF];
  }
  // The code units of word that have an index, in order.
  std::u16string Filter(const std::u16string& word) const;
  std::int32_t GetSize() const { return size_; }
  void Clear();

 private:
  static constexpr int kPageSize = 256;
  using Page = std::unique_ptr<std::uint16_t[]>;

  std::int32_t size_ = 0;
  std::array<Page, kPageSize> pages_;
};

}  // namespace urduspell

#endif  // URDUSPELL_LEXICON_UNICHAR2INDEXMAP_H_
