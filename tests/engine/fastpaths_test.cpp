// The shortcuts the check takes for speed against the plain computations they stand for: the
// bit-parallel distance against EditDistance, the distance bound of the candidate index against
// the true distance, and the hash (prepared multipliers, division-free remainder) against the
// formula step by step.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/candidateindex.h"
#include "engine/spellchecker.h"
#include "lexicon/hashtable.h"
#include "lexicon/unichar2indexmap.h"
#include "testutil.h"

namespace {

using urduspell::CandidateIndex;
using urduspell::LetterDistance;

using Random = testutil::SplitMix;

// Letter codes of a small alphabet (few letters make equal letters, and so every kind of
// alignment, common); in the other word also kNoLetter, which matches nothing.
std::vector<std::uint8_t> RandomCodes(Random& random, std::size_t length, std::size_t letters,
                                      bool withNonLetters) {
  std::vector<std::uint8_t> codes(length);
  for (auto& c : codes) {
    c = static_cast<std::uint8_t>(random.Below(letters));
    if (withNonLetters && random.Below(8) == 0) c = CandidateIndex::kNoLetter;
  }
  return codes;
}

// The words the codes stand for: letter c is U+0620 + c; every non-letter a unit of its own.
std::u16string Units(const std::vector<std::uint8_t>& codes) {
  std::u16string word;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    word.push_back(codes[i] == CandidateIndex::kNoLetter
                       ? static_cast<char16_t>(0x4000 + i)
                       : static_cast<char16_t>(0x0620 + codes[i]));
  }
  return word;
}

TEST(LetterDistanceTest, EqualsEditDistance) {
  Random random(1);
  for (int round = 0; round < 20000; ++round) {
    const std::size_t letters = 1 + random.Below(round % 2 == 0 ? 4 : 60);
    const auto pattern =
        RandomCodes(random, random.Below(LetterDistance::kMaxLength + 1), letters, false);
    // Mostly near neighbours of the pattern, as candidates are; sometimes anything.
    std::vector<std::uint8_t> other = pattern;
    if (random.Below(4) == 0) {
      other = RandomCodes(random, random.Below(70), letters, true);
    } else {
      for (std::size_t e = random.Below(5); e > 0; --e) {
        const std::size_t at = other.empty() ? 0 : random.Below(other.size());
        switch (random.Below(3)) {
          case 0:
            if (!other.empty()) other.erase(other.begin() + static_cast<std::ptrdiff_t>(at));
            break;
          case 1:
            other.insert(other.begin() + static_cast<std::ptrdiff_t>(at),
                         static_cast<std::uint8_t>(random.Below(letters)));
            break;
          default:
            if (!other.empty()) other[at] = static_cast<std::uint8_t>(random.Below(letters));
        }
      }
    }
    LetterDistance distance;
    ASSERT_TRUE(distance.SetPattern(pattern.data(), pattern.size()));
    const std::u16string first = Units(pattern);
    const std::u16string second = Units(other);
    const int expected = urduspell::EditDistance(first, second);
    ASSERT_EQ(distance.To(other.data(), other.size()), expected)
        << "round " << round << ", lengths " << first.size() << " and " << second.size();
    // The bound never exceeds the distance, so a candidate it rules out is truly that far.
    const CandidateIndex index;  // letters to profile bits by code, folded
    const CandidateIndex::Profile a = index.ProfileOf(pattern.data(), pattern.size());
    const CandidateIndex::Profile b = index.ProfileOf(other.data(), other.size());
    ASSERT_LE(CandidateIndex::DistanceBound(a, b), expected) << "round " << round;
    ASSERT_EQ(CandidateIndex::DistanceBound(a, b),
              std::max({std::popcount(a & ~b & CandidateIndex::kSetMask),
                        std::popcount(b & ~a & CandidateIndex::kSetMask),
                        std::abs(static_cast<int>(a >> CandidateIndex::kLengthShift) -
                                 static_cast<int>(b >> CandidateIndex::kLengthShift))}));
    const int bound = CandidateIndex::DistanceBound(a, b);
    ASSERT_EQ(CandidateIndex::BoundUpTo<1>(a, b), std::min(bound, 2)) << "round " << round;
    ASSERT_EQ(CandidateIndex::BoundUpTo<2>(a, b), std::min(bound, 3)) << "round " << round;
    ASSERT_EQ(CandidateIndex::BoundUpTo<3>(a, b), std::min(bound, 4)) << "round " << round;
  }
}

TEST(LetterDistanceTest, RefusesPatternsLongerThanAMachineWord) {
  const std::vector<std::uint8_t> codes(LetterDistance::kMaxLength + 1, 3);
  LetterDistance distance;
  EXPECT_FALSE(distance.SetPattern(codes.data(), codes.size()));
}

TEST(CandidateIndexTest, DescribesEverySlot) {
  urduspell::UniChar2IndexMap charMap;
  for (char16_t c : std::u16string(u"\u0627\u0628\u062A")) charMap.AddChar(c);
  urduspell::HashTable table;
  ASSERT_TRUE(table.Create(3, 3));
  ASSERT_TRUE(table.SetNode(0, {u"\u0627\u0628", 5, -2}));
  ASSERT_TRUE(table.SetNode(1, {u"\u062Ax\u0627", 5, -2}));  // a unit outside the alphabet
  CandidateIndex index;
  index.Build(table, charMap);
  ASSERT_TRUE(index.Usable());
  EXPECT_EQ(index.Length(0), 2u);
  EXPECT_EQ(index.Codes(0)[1], 1);
  EXPECT_EQ(index.Length(1), 3u);
  EXPECT_EQ(index.Codes(1)[1], CandidateIndex::kNoLetter);
  EXPECT_EQ(index.Length(2), 0u);  // an empty slot
  // Letter 0 (in two words) is the most frequent, so it has bit 0; letters 1 and 2 come next.
  EXPECT_EQ(index.GetProfile(1),
            (CandidateIndex::Profile{3} << CandidateIndex::kLengthShift) | 0b101);

  index.Build(urduspell::HashTable(), charMap);
  EXPECT_FALSE(index.Usable());
}

// The hash as the formula reads: per code unit h = (a*h + c) mod M, a = (a*27183) mod (M-1),
// unsigned 32-bit arithmetic throughout.
std::uint32_t ReferenceHash(const std::u16string& word, std::uint32_t m) {
  if (m == 1) return 0;
  std::uint32_t h = 0;
  std::uint32_t a = 31415;
  for (char16_t c : word) {
    h = (a * h + c) % m;
    a = (a * 27183u) % (m - 1);
  }
  return h;
}

TEST(HashTest, EqualsTheFormulaForManyModuliAndLengths) {
  Random random(2);
  const std::int32_t moduli[] = {1, 2, 3, 7, 64, 1000, 65521, 65536, 65537, 100003, 102356, 262144};
  for (std::int32_t m : moduli) {
    urduspell::HashTable table;
    ASSERT_TRUE(table.Create(m, m));
    for (int round = 0; round < 2000; ++round) {
      std::u16string word;
      // Mostly Urdu-sized words; some beyond the prepared multipliers.
      const std::size_t length = random.Below(round % 10 == 0 ? 90 : 24);
      for (std::size_t i = 0; i < length; ++i) {
        word.push_back(static_cast<char16_t>(random.Below(4) == 0 ? random.Next() & 0xFFFF
                                                                  : 0x0620 + random.Below(180)));
      }
      ASSERT_EQ(table.Hash(word), ReferenceHash(word, static_cast<std::uint32_t>(m)))
          << "modulus " << m << ", length " << length;
    }
  }
}

}  // namespace
