#include "engine/candidateindex.h"

#include <algorithm>

#include "lexicon/hashtable.h"
#include "lexicon/unichar2indexmap.h"

namespace urduspell {

namespace {

// Bits in frequency order: the `bits` most frequent letter codes get a bit each, from `first`
// on; the others fold back onto the bits of the least frequent of those.
std::array<std::uint8_t, 256> BitsByFrequency(const std::array<std::size_t, 256>& counts, int first,
                                              int bits) {
  std::array<int, 256> order;
  for (int c = 0; c < 256; ++c) order[static_cast<std::size_t>(c)] = c;
  std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
    return counts[static_cast<std::size_t>(x)] > counts[static_cast<std::size_t>(y)];
  });
  std::array<std::uint8_t, 256> result{};
  for (int rank = 0; rank < 256; ++rank) {
    const int bit = rank < bits ? rank : bits - 1 - (rank - bits) % bits;
    result[static_cast<std::size_t>(order[static_cast<std::size_t>(rank)])] =
        static_cast<std::uint8_t>(first + bit);
  }
  return result;
}

}  // namespace

CandidateIndex::CandidateIndex() {
  for (std::size_t c = 0; c < onceBits_.size(); ++c) {
    onceBits_[c] = static_cast<std::uint8_t>(c % kOnceBits);
    twiceBits_[c] = static_cast<std::uint8_t>(kOnceBits + c % kTwiceBits);
  }
}

std::uint8_t CandidateIndex::CodeOf(const UniChar2IndexMap& charMap, char16_t unit) {
  const std::uint16_t index = charMap.GetIndex(unit);
  return index < kNoLetter ? static_cast<std::uint8_t>(index) : kNoLetter;
}

CandidateIndex::Profile CandidateIndex::ProfileOf(const std::uint8_t* codes,
                                                  std::size_t length) const {
  Profile profile = static_cast<Profile>(std::min(length, kMaxProfileLength)) << kLengthShift;
  std::array<std::uint64_t, 4> had{};  // letter codes met so far in this word
  for (std::size_t i = 0; i < length; ++i) profile |= LetterBit(codes[i], had);
  return profile;
}

void CandidateIndex::Clear() {
  usable_ = false;
  std::vector<Profile>().swap(profiles_);
  std::vector<std::uint32_t>().swap(offsets_);
  std::vector<std::uint8_t>().swap(codes_);
}

// Which letters get a profile bit of their own: the most frequent ones, counted over the first
// slots of the table (words stand in hash order there, so they are a fair sample, and counting
// them all would cost as much as the index itself).
void CandidateIndex::ChooseBits(const HashTable& table, const UniChar2IndexMap& charMap) {
  constexpr std::int32_t kSampleWords = 8192;
  std::array<std::size_t, 256> once{};   // words that have the letter
  std::array<std::size_t, 256> twice{};  // words that have it twice or more
  const std::int32_t sample = std::min(table.GetSlotCount(), kSampleWords);
  for (std::int32_t s = 0; s < sample; ++s) {
    std::array<std::uint8_t, 256> copies{};
    for (char16_t unit : table.NodeAt(s)->word) {
      const std::uint8_t code = CodeOf(charMap, unit);
      if (code == kNoLetter || copies[code] == 2) continue;
      if (++copies[code] == 1) {
        ++once[code];
      } else {
        ++twice[code];
      }
    }
  }
  onceBits_ = BitsByFrequency(once, 0, kOnceBits);
  twiceBits_ = BitsByFrequency(twice, kOnceBits, kTwiceBits);
}

void CandidateIndex::Build(const HashTable& table, const UniChar2IndexMap& charMap) {
  Clear();
  const std::int32_t slots = table.GetSlotCount();
  if (slots <= 0 || charMap.GetSize() > kNoLetter) return;
  ChooseBits(table, charMap);
  profiles_.resize(static_cast<std::size_t>(slots));
  offsets_.resize(static_cast<std::size_t>(slots) + 1);
  codes_.reserve(static_cast<std::size_t>(slots) * 8);  // about the length of a word
  for (std::int32_t s = 0; s < slots; ++s) {
    const std::u16string& word = table.NodeAt(s)->word;
    if (codes_.size() + word.size() > UINT32_MAX) {
      Clear();  // offsets would not fit: the check measures the words themselves
      return;
    }
    offsets_[static_cast<std::size_t>(s)] = static_cast<std::uint32_t>(codes_.size());
    Profile profile = static_cast<Profile>(std::min(word.size(), kMaxProfileLength))
                      << kLengthShift;
    std::array<std::uint64_t, 4> had{};
    for (char16_t unit : word) {
      const std::uint8_t code = CodeOf(charMap, unit);
      codes_.push_back(code);
      profile |= LetterBit(code, had);
    }
    profiles_[static_cast<std::size_t>(s)] = profile;
  }
  offsets_[static_cast<std::size_t>(slots)] = static_cast<std::uint32_t>(codes_.size());
  usable_ = true;
}

bool LetterDistance::SetPattern(const std::uint8_t* codes, std::size_t length) {
  positions_.fill(0);
  length_ = 0;
  if (length > kMaxLength) return false;
  for (std::size_t i = 0; i < length; ++i) positions_[codes[i]] |= std::uint64_t{1} << i;
  length_ = length;
  return true;
}

}  // namespace urduspell
