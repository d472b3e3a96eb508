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
  for (std::size_t i = 0; i < length; ++i) {
    const std::uint8_t code = codes[i];
    if (code == kNoLetter) continue;
    std::uint64_t& word = had[code / 64];
    const std::uint64_t bit = std::uint64_t{1} << (code % 64);
    profile |= Profile{1} << ((word & bit) != 0 ? twiceBits_[code] : onceBits_[code]);
    word |= bit;
  }
  return profile;
}

void CandidateIndex::Clear() {
  usable_ = false;
  std::vector<Profile>().swap(profiles_);
  std::vector<std::uint32_t>().swap(offsets_);
  std::vector<std::uint8_t>().swap(codes_);
}

void CandidateIndex::Build(const HashTable& table, const UniChar2IndexMap& charMap) {
  Clear();
  const std::int32_t slots = table.GetSlotCount();
  if (slots <= 0 || charMap.GetSize() > kNoLetter) return;
  std::size_t units = 0;
  for (std::int32_t s = 0; s < slots; ++s) units += table.NodeAt(s)->word.size();
  if (units > UINT32_MAX) return;

  profiles_.resize(static_cast<std::size_t>(slots));
  offsets_.resize(static_cast<std::size_t>(slots) + 1);
  codes_.resize(units);
  // How many words have each letter, and how many have it twice or more. firstIn and secondIn
  // hold the slot (plus one) whose first and second copy of the letter were counted last.
  std::array<std::size_t, 256> once{};
  std::array<std::size_t, 256> twice{};
  std::array<std::int32_t, 256> firstIn{};
  std::array<std::int32_t, 256> secondIn{};
  std::size_t at = 0;
  for (std::int32_t s = 0; s < slots; ++s) {
    offsets_[static_cast<std::size_t>(s)] = static_cast<std::uint32_t>(at);
    for (char16_t unit : table.NodeAt(s)->word) {
      const std::uint8_t code = CodeOf(charMap, unit);
      codes_[at++] = code;
      if (code == kNoLetter) continue;
      if (firstIn[code] != s + 1) {
        firstIn[code] = s + 1;
        ++once[code];
      } else if (secondIn[code] != s + 1) {
        secondIn[code] = s + 1;
        ++twice[code];
      }
    }
  }
  offsets_[static_cast<std::size_t>(slots)] = static_cast<std::uint32_t>(at);
  onceBits_ = BitsByFrequency(once, 0, kOnceBits);
  twiceBits_ = BitsByFrequency(twice, kOnceBits, kTwiceBits);
  for (std::int32_t s = 0; s < slots; ++s) {
    profiles_[static_cast<std::size_t>(s)] = ProfileOf(Codes(s), Length(s));
  }
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
