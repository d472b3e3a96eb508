// CandidateIndex: what the check needs to know of every dictionary word to sort thousands of
// candidates by distance quickly, kept beside the dictionary: a 32-bit profile of the word (its
// length and the set of its letters, for a lower bound on its distance that costs one look-up in
// a table small enough to stay in the processor's cache) and the word as alphabet codes, one byte
// a letter, packed one word after another (for the distance itself). LetterDistance computes
// exactly what EditDistance computes, a machine word of bit operations per letter (the
// bit-parallel method of Myers, in Hyyro's form for the edit distance).
//
// Order of calls: Build after the dictionary has been built or loaded (and whenever it changes),
// then ProfileOf / Profile / Codes / Length any number of times. Clear releases everything.
#ifndef URDUSPELL_ENGINE_CANDIDATEINDEX_H_
#define URDUSPELL_ENGINE_CANDIDATEINDEX_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace urduspell {

class HashTable;
class UniChar2IndexMap;

class CandidateIndex {
 public:
  using Profile = std::uint32_t;

  // Letter codes are alphabet indexes below kNoLetter; every code unit that is no letter of the
  // alphabet has the code kNoLetter. So the index serves alphabets of at most kNoLetter letters.
  static constexpr std::uint8_t kNoLetter = 255;
  // A profile: in the low kSetBits bits, the set of letters the word has (kOnceBits) and the set
  // of letters it has twice or more (kTwiceBits); above them the length (capped). The most
  // frequent letters of the dictionary have a bit each, the rarer ones share bits. A shared bit
  // only weakens the bound, never makes it wrong: a bit that only one word has still stands for
  // at least one letter (or second copy of a letter) that only that word has.
  static constexpr int kOnceBits = 23;
  static constexpr int kTwiceBits = 4;
  static constexpr int kSetBits = kOnceBits + kTwiceBits;
  static constexpr int kLengthShift = kSetBits;
  static constexpr Profile kSetMask = (Profile{1} << kSetBits) - 1;
  static constexpr std::size_t kMaxProfileLength = (std::size_t{1} << (32 - kSetBits)) - 1;

  CandidateIndex();

  // Describes every slot of the table. Without slots, or for an alphabet too large for the
  // codes, the index stays unusable and the check measures the words themselves.
  void Build(const HashTable& table, const UniChar2IndexMap& charMap);
  void Clear();
  bool Usable() const { return usable_; }

  Profile ProfileOf(const std::uint8_t* codes, std::size_t length) const;
  Profile GetProfile(std::int32_t slot) const { return profiles_[static_cast<std::size_t>(slot)]; }
  const Profile* Profiles() const { return profiles_.data(); }
  const std::uint8_t* Codes(std::int32_t slot) const {
    return codes_.data() + offsets_[static_cast<std::size_t>(slot)];
  }
  std::size_t Length(std::int32_t slot) const {
    const auto s = static_cast<std::size_t>(slot);
    return offsets_[s + 1] - offsets_[s];
  }

  // Code of one unit as Build computes it.
  static std::uint8_t CodeOf(const UniChar2IndexMap& charMap, char16_t unit);

  // A lower bound on the edit distance of two words from their profiles. Count, for one word,
  // the letters it has more often than the other (a letter it has twice and the other once
  // counts once): every insertion, deletion or substitution changes that count by at most one,
  // for either word, and it changes the length difference by at most one. The bits that only
  // one profile has undercount the first number, so the larger of the two sides and the length
  // difference bound the distance from below.
  static int DistanceBound(Profile a, Profile b) {
    const int onlyA = CountBits(a & ~b & kSetMask);
    const int onlyB = CountBits(b & ~a & kSetMask);
    const int lengthA = static_cast<int>(a >> kLengthShift);
    const int lengthB = static_cast<int>(b >> kLengthShift);
    const int lengthGap = lengthA > lengthB ? lengthA - lengthB : lengthB - lengthA;
    const int letters = onlyA > onlyB ? onlyA : onlyB;
    return letters > lengthGap ? letters : lengthGap;
  }
  // DistanceBound(a, b) > kLimit, without counting bits: clearing the lowest set bit kLimit
  // times leaves a bit only when more than kLimit were set.
  template <int kLimit>
  static bool BoundExceeds(Profile a, Profile b) {
    const Profile onlyA = ClearLowestBits<kLimit>(a & ~b & kSetMask);
    const Profile onlyB = ClearLowestBits<kLimit>(b & ~a & kSetMask);
    const Profile lengthA = a >> kLengthShift;
    const Profile lengthB = b >> kLengthShift;
    // |lengthA - lengthB| > kLimit, as one unsigned comparison.
    const bool lengthsApart = lengthB + kLimit - lengthA > 2 * Profile{kLimit};
    return ((onlyA | onlyB) != 0) | lengthsApart;
  }
  // min(DistanceBound(a, b), kLimit + 1): the cheap test first, since most words fail it.
  template <int kLimit>
  static int BoundUpTo(Profile a, Profile b) {
    return BoundExceeds<kLimit>(a, b) ? kLimit + 1 : DistanceBound(a, b);
  }

 private:
  void ChooseBits(const HashTable& table, const UniChar2IndexMap& charMap);
  // The profile bit of one letter of a word: its own bit the first time, its second-copy bit
  // after that; `had` holds the codes met so far in the word. Nothing for a non-letter.
  Profile LetterBit(std::uint8_t code, std::array<std::uint64_t, 4>& had) const {
    if (code == kNoLetter) return 0;
    std::uint64_t& word = had[code / 64];
    const std::uint64_t bit = std::uint64_t{1} << (code % 64);
    const bool again = (word & bit) != 0;
    word |= bit;
    return Profile{1} << (again ? twiceBits_[code] : onceBits_[code]);
  }
  template <int kTimes>
  static Profile ClearLowestBits(Profile x) {
    if constexpr (kTimes == 0) {
      return x;
    } else {
      return ClearLowestBits<kTimes - 1>(x & (x - 1));
    }
  }
  // Bits set in x (the processor's own instruction is not part of the baseline instruction set).
  static int CountBits(Profile x) {
    x = x - ((x >> 1) & 0x55555555u);
    x = (x & 0x33333333u) + ((x >> 2) & 0x33333333u);
    x = (x + (x >> 4)) & 0x0F0F0F0Fu;
    return static_cast<int>((x * 0x01010101u) >> 24);
  }

  bool usable_ = false;
  std::array<std::uint8_t, 256> onceBits_{};   // bit of each letter code in a profile
  std::array<std::uint8_t, 256> twiceBits_{};  // bit of a letter code's second copy
  std::vector<Profile> profiles_;              // one per slot
  std::vector<std::uint32_t> offsets_;         // slot s: codes_[offsets_[s] .. offsets_[s+1])
  std::vector<std::uint8_t> codes_;
};

// The edit distance of one word (the pattern, at most kMaxLength letter codes, none of them
// kNoLetter) to other words given as letter codes.
class LetterDistance {
 public:
  static constexpr std::size_t kMaxLength = 64;

  // False (and unusable) for a pattern longer than kMaxLength.
  bool SetPattern(const std::uint8_t* codes, std::size_t length);
  int To(const std::uint8_t* codes, std::size_t length) const;

 private:
  std::array<std::uint64_t, 256> positions_{};  // bit i set: pattern letter i has this code
  std::size_t length_ = 0;
};

// One column of the distance table per letter of the other word, held as bit vectors of the
// vertical differences (+1 in pv, -1 in mv) between neighbouring cells; `score` follows the cell
// of the last pattern letter.
inline int LetterDistance::To(const std::uint8_t* codes, std::size_t length) const {
  if (length_ == 0) return static_cast<int>(length);
  const std::size_t last = length_ - 1;
  std::uint64_t pv = ~std::uint64_t{0};
  std::uint64_t mv = 0;
  std::uint64_t score = length_;
  for (std::size_t j = 0; j < length; ++j) {
    const std::uint64_t eq = positions_[codes[j]];
    const std::uint64_t xv = eq | mv;
    const std::uint64_t xh = (((eq & pv) + pv) ^ pv) | eq;
    std::uint64_t ph = mv | ~(xh | pv);
    std::uint64_t mh = pv & xh;
    // The last cell rises by one (ph) or falls by one (mh), never both: no branch needed.
    score += (ph >> last) & 1;
    score -= (mh >> last) & 1;
    ph = (ph << 1) | 1;  // the first row grows by one per column
    mh <<= 1;
    pv = mh | ~(xv | ph);
    mv = ph & xv;
  }
  return static_cast<int>(score);
}

}  // namespace urduspell

#endif  // URDUSPELL_ENGINE_CANDIDATEINDEX_H_
