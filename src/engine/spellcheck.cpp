// The check pipeline: filter, look up, gather exchanges, gather from the posting lists, measure
// into distance buckets, rank.
#include <algorithm>
#include <array>

#include "engine/spellchecker.h"

namespace urduspell {

namespace {

constexpr int kExchangeBucket = 1;
constexpr int kLengthWindow = 3;
// Words up to this many code units are filtered on the stack; longer ones in a string.
constexpr std::size_t kShortWordUnits = 64;

// Marks slot as taken; false when it was taken already or is no slot of the dictionary.
bool TakeSlot(std::int32_t slot, std::vector<std::uint64_t>& seen, std::int32_t slotCount) {
  if (static_cast<std::uint32_t>(slot) >= static_cast<std::uint32_t>(slotCount)) return false;
  std::uint64_t& bits = seen[static_cast<std::size_t>(slot) / 64];
  const std::uint64_t bit = std::uint64_t{1} << (static_cast<std::size_t>(slot) % 64);
  if ((bits & bit) != 0) return false;
  bits |= bit;
  return true;
}

// The farthest bucket whose content can still change the suggestions, given the nearest
// non-empty bucket so far. RankCandidates offers the first non-empty bucket b0 when b0 < 2 and
// otherwise bucket 1 (words of up to five letters) or buckets 1 and 2 (longer words), each
// followed by the sound-alikes of the next bucket; every bucket beyond counts only by being
// empty or not, and then only for b0 < 2. So with a candidate at distance 0 only bucket 1
// matters, with one at distance 1 buckets 1 and 2, and otherwise buckets 2 and, for words of
// six or more letters, 3. A candidate farther than that is not filed at all, which leaves the
// suggestions exactly as filing it in its bucket would.
int FarthestUseful(std::size_t n, int nearest) {
  if (nearest == 0) return 1;
  if (nearest == 1) return 2;
  return n > 5 ? 3 : 2;
}

}  // namespace

int EditDistance(const std::u16string& a, const std::u16string& b) {
  if (a.empty()) return static_cast<int>(b.size());
  if (b.empty()) return static_cast<int>(a.size());
  // Two rows of the (|b|+1) x (|a|+1) table are enough.
  std::vector<int> previous(a.size() + 1);
  std::vector<int> current(a.size() + 1);
  for (std::size_t j = 0; j <= a.size(); ++j) previous[j] = static_cast<int>(j);
  for (std::size_t i = 1; i <= b.size(); ++i) {
    current[0] = static_cast<int>(i);
    for (std::size_t j = 1; j <= a.size(); ++j) {
      const int cost = b[i - 1] == a[j - 1] ? 0 : 1;
      current[j] = std::min(std::min(previous[j], current[j - 1]) + 1, previous[j - 1] + cost);
    }
    std::swap(previous, current);
  }
  return previous[a.size()];
}

bool SpellChecker::SpellCheck(std::u16string word, std::vector<std::u16string>& suggestions) {
  return SpellCheckUnits(word.data(), word.size(), suggestions);
}

bool SpellChecker::SpellCheckUnits(const char16_t* units, std::size_t count,
                                   std::vector<std::u16string>& suggestions) {
  suggestions.clear();
  // The alphabet filter, into a buffer on the stack for words of ordinary length.
  std::array<char16_t, kShortWordUnits> shortWord;
  std::u16string longWord;
  std::u16string_view filtered;
  if (count <= kShortWordUnits) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < count; ++i) {
      if (charMap.GetIndex(units[i]) != UniChar2IndexMap::kNoIndex) shortWord[n++] = units[i];
    }
    filtered = std::u16string_view(shortWord.data(), n);
  } else {
    longWord = charMap.Filter(std::u16string(units, count));
    filtered = longWord;
  }
  if (filtered.size() <= 1 || hashTable.Lookup(filtered)) return false;
  Correct(std::u16string(filtered), suggestions);
  return true;
}

// The misspelled word's part of the check, apart so that a correct word costs only the above.
void SpellChecker::Correct(const std::u16string& ErrWord,
                           std::vector<std::u16string>& suggestions) {
  const std::size_t n = ErrWord.size();
  const std::int32_t slotCount = std::max(hashTable.GetSlotCount(), 0);
  SeenSlots seen((static_cast<std::size_t>(slotCount) + 63) / 64);
  Buckets buckets;
  std::vector<std::int32_t> Candidates;
  std::vector<std::uint8_t> CandidateBounds;
  if (n >= 3) GatherExchanges(ErrWord, seen, buckets);
  Screen screen;
  if (candidateIndex.Usable() && n <= LetterDistance::kMaxLength) {
    std::array<std::uint8_t, LetterDistance::kMaxLength> codes{};
    for (std::size_t i = 0; i < n; ++i) codes[i] = CandidateIndex::CodeOf(charMap, ErrWord[i]);
    screen.active = true;
    screen.profile = candidateIndex.ProfileOf(codes.data(), n);
    screen.farthest = FarthestUseful(n, buckets[kExchangeBucket].empty() ? kBucketCount : 1);
  }
  int nearest = buckets[kExchangeBucket].empty() ? kBucketCount : kExchangeBucket;
  if (screen.active && screen.farthest == 3) {
    nearest = ProbeNearest(ErrWord, screen.profile);
    screen.farthest = FarthestUseful(n, nearest);
  }
  if (n >= 3) {
    GatherFromLists(ErrWord, /*bigrams=*/true, screen, seen, Candidates, CandidateBounds);
  }
  if (n <= 3) {
    GatherFromLists(ErrWord, /*bigrams=*/false, screen, seen, Candidates, CandidateBounds);
  }
  MeasureIntoBuckets(ErrWord, Candidates, CandidateBounds, nearest, buckets);
  RankCandidates(ErrWord, buckets, suggestions);
}

// For a word of six or more letters without an exchange hit, buckets up to 3 may matter unless
// some candidate lies within distance 1. Such a candidate keeps all but at most two of the word's
// letter pairs, so it is nearly always in the shortest of their lists: looking there first lets
// the gathering screen at distance 2 instead of 3. What it finds is a candidate the gathering
// finds too, so the buckets that matter stay those the whole gathering shows. Returns the
// smallest distance it measured (kBucketCount when it measured none).
int SpellChecker::ProbeNearest(const std::u16string& ErrWord, CandidateIndex::Profile profile) {
  IndexRecord shortest[2];  // the two shortest lists that are not empty, shortest first
  for (std::size_t i = 0; i + 1 < ErrWord.size(); ++i) {
    IndexRecord record =
        postingLists.BigramRecord(charMap.GetIndex(ErrWord[i]), charMap.GetIndex(ErrWord[i + 1]));
    if (record.length == 0) continue;
    for (IndexRecord& kept : shortest) {
      if (kept.length == 0 || record.length < kept.length) std::swap(kept, record);
      if (record.length == 0) break;
    }
  }
  std::array<std::uint8_t, LetterDistance::kMaxLength> codes{};
  for (std::size_t i = 0; i < ErrWord.size(); ++i) {
    codes[i] = CandidateIndex::CodeOf(charMap, ErrWord[i]);
  }
  LetterDistance distance;
  distance.SetPattern(codes.data(), ErrWord.size());
  const std::int32_t slotCount = hashTable.GetSlotCount();
  int nearest = kBucketCount;
  PostingListBuffer PostingList;
  for (const IndexRecord& record : shortest) {
    PostListResources::ReadPostingList(bigramPLReader, bigramPLBytes, record, PostingList);
    for (std::int32_t i = 0; i < PostingList.count; ++i) {
      const std::int32_t slot = PostingList.ids[i];
      if (static_cast<std::uint32_t>(slot) >= static_cast<std::uint32_t>(slotCount) ||
          CandidateIndex::BoundExceeds<1>(profile, candidateIndex.GetProfile(slot))) {
        continue;
      }
      nearest =
          std::min(nearest, distance.To(candidateIndex.Codes(slot), candidateIndex.Length(slot)));
    }
    PostingList.Release();
  }
  return nearest;
}

// Dictionary words that equal the word with two neighbouring letters exchanged count as
// distance 1 (their Levenshtein distance would be 2).
void SpellChecker::GatherExchanges(const std::u16string& ErrWord, SeenSlots& seen,
                                   Buckets& buckets) const {
  std::vector<HashNode> SearchResults;
  std::u16string TransposeWord = ErrWord;
  for (std::size_t i = 0; i + 1 < ErrWord.size(); ++i) {
    std::swap(TransposeWord[i], TransposeWord[i + 1]);
    hashTable.Search(TransposeWord, SearchResults);
    std::swap(TransposeWord[i], TransposeWord[i + 1]);
    for (const HashNode& node : SearchResults) {
      if (TakeSlot(node.next, seen, hashTable.GetSlotCount())) {
        buckets[kExchangeBucket].push_back(node.next);
      }
    }
  }
}

// Words sharing a letter pair (bigrams) or a letter (unigrams) with the word, longest list first.
void SpellChecker::GatherFromLists(const std::u16string& ErrWord, bool bigrams,
                                   const Screen& screen, SeenSlots& seen,
                                   std::vector<std::int32_t>& Candidates,
                                   std::vector<std::uint8_t>& CandidateBounds) {
  std::vector<IndexRecord> listRefs;
  if (bigrams) {
    for (std::size_t i = 0; i + 1 < ErrWord.size(); ++i) {
      listRefs.push_back(postingLists.BigramRecord(charMap.GetIndex(ErrWord[i]),
                                                   charMap.GetIndex(ErrWord[i + 1])));
    }
  } else {
    for (char16_t c : ErrWord) listRefs.push_back(postingLists.UnigramRecord(charMap.GetIndex(c)));
  }
  std::sort(listRefs.begin(), listRefs.end(),
            [](const IndexRecord& x, const IndexRecord& y) { return x.length < y.length; });

  FileReader& reader = bigrams ? bigramPLReader : unigramPLReader;
  const std::int64_t fileBytes = bigrams ? bigramPLBytes : unigramPLBytes;
  const std::int32_t slotCount = hashTable.GetSlotCount();
  PostingListBuffer PostingList;
  for (auto record = listRefs.rbegin(); record != listRefs.rend(); ++record) {
    PostListResources::ReadPostingList(reader, fileBytes, *record, PostingList);
    if (!screen.active) {
      for (std::int32_t i = 0; i < PostingList.count; ++i) {
        if (TakeSlot(PostingList.ids[i], seen, slotCount)) Candidates.push_back(PostingList.ids[i]);
      }
    } else if (screen.farthest <= 2) {
      MergeScreened<2>(PostingList, screen.profile, seen, Candidates, CandidateBounds);
    } else {
      MergeScreened<3>(PostingList, screen.profile, seen, Candidates, CandidateBounds);
    }
    PostingList.Release();
  }
}

// Appends the ids of the list not taken before that the screen lets through at distance
// kFarthest, with their bounds (compiled once per distance: the test is a few bit operations).
template <int kFarthest>
void SpellChecker::MergeScreened(const PostingListBuffer& list, CandidateIndex::Profile profile,
                                 SeenSlots& seen, std::vector<std::int32_t>& Candidates,
                                 std::vector<std::uint8_t>& CandidateBounds) const {
  const auto slotCount = static_cast<std::uint32_t>(hashTable.GetSlotCount());
  const std::int32_t* ids = list.ids.get();
  const CandidateIndex::Profile* profiles = candidateIndex.Profiles();
  std::uint64_t* flags = seen.data();
  for (std::int32_t i = 0; i < list.count; ++i) {
    const std::int32_t slot = ids[i];
    // The screen first: most words fail it, and failing it again on a later list costs no more
    // than the flag would.
    if (static_cast<std::uint32_t>(slot) >= slotCount) continue;
    const CandidateIndex::Profile other = profiles[slot];
    if (CandidateIndex::BoundExceeds<kFarthest>(profile, other)) continue;
    std::uint64_t& bits = flags[static_cast<std::uint32_t>(slot) / 64];
    const std::uint64_t bit = std::uint64_t{1} << (static_cast<std::uint32_t>(slot) % 64);
    if ((bits & bit) != 0) continue;
    bits |= bit;
    Candidates.push_back(slot);
    // A coarse lower bound on the distance is enough to tell later which candidates may lie
    // within distance 1.
    CandidateBounds.push_back(CandidateIndex::BoundExceeds<1>(profile, other) ? 2 : 0);
  }
}

// Files each candidate, in the order gathered, into the bucket of its edit distance from the
// word, as far as any bucket can still be offered (see FarthestUseful). Candidates outside the
// length window can never be that near.
void SpellChecker::MeasureIntoBuckets(const std::u16string& ErrWord,
                                      const std::vector<std::int32_t>& Candidates,
                                      const std::vector<std::uint8_t>& CandidateBounds, int nearest,
                                      Buckets& buckets) const {
  static_assert(kLengthWindow >= 3, "the length window must hold every bucket that is offered");
  if (CandidateBounds.size() == Candidates.size() && candidateIndex.Usable() &&
      ErrWord.size() <= LetterDistance::kMaxLength) {
    MeasureByIndex(ErrWord, Candidates, CandidateBounds, nearest, buckets);
  } else {
    MeasureWords(ErrWord, Candidates, nearest, buckets);
  }
}

// Through the candidate index: a candidate whose bound (from its length and letters, found while
// gathering) already proves it too far is passed over without looking at its word; the others
// are measured on their letter codes.
void SpellChecker::MeasureByIndex(const std::u16string& ErrWord,
                                  const std::vector<std::int32_t>& Candidates,
                                  const std::vector<std::uint8_t>& CandidateBounds, int nearest,
                                  Buckets& buckets) const {
  const std::size_t n = ErrWord.size();
  std::array<std::uint8_t, LetterDistance::kMaxLength> codes{};
  for (std::size_t i = 0; i < n; ++i) codes[i] = CandidateIndex::CodeOf(charMap, ErrWord[i]);
  LetterDistance distance;
  distance.SetPattern(codes.data(), n);
  auto measure = [&](std::size_t k) {
    return distance.To(candidateIndex.Codes(Candidates[k]), candidateIndex.Length(Candidates[k]));
  };

  // When bucket 3 could matter, first learn whether a candidate lies within distance 1, which
  // would make bucket 3 (and with distance 0 bucket 2 as well) useless.
  if (FarthestUseful(n, nearest) == 3) {
    for (std::size_t k = 0; k < Candidates.size() && nearest > 0; ++k) {
      if (CandidateBounds[k] <= 1) nearest = std::min(nearest, measure(k));
    }
  }
  for (std::size_t k = 0; k < Candidates.size(); ++k) {
    const int farthest = FarthestUseful(n, nearest);
    if (CandidateBounds[k] > farthest) continue;
    const int d = measure(k);
    if (d > farthest) continue;
    buckets[static_cast<std::size_t>(d)].push_back(Candidates[k]);
    nearest = std::min(nearest, d);
  }
}

void SpellChecker::MeasureWords(const std::u16string& ErrWord,
                                const std::vector<std::int32_t>& Candidates, int nearest,
                                Buckets& buckets) const {
  const auto n = static_cast<std::int64_t>(ErrWord.size());
  for (std::int32_t slot : Candidates) {
    const HashNode* hn = hashTable.NodeAt(slot);
    if (hn == nullptr) continue;
    const int farthest = FarthestUseful(ErrWord.size(), nearest);
    const auto length = static_cast<std::int64_t>(hn->word.size());
    if (length > n + farthest || length < n - farthest) continue;
    const int d = EditDistance(ErrWord, hn->word);
    if (d > farthest) continue;
    buckets[static_cast<std::size_t>(d)].push_back(slot);
    nearest = std::min(nearest, d);
  }
}

}  // namespace urduspell
