// Ranking: the nearest bucket (or two, for longer words) ordered by how many of the two class
// codes agree with the word's and then by frequency, followed by the sound-alikes of the next
// bucket.
#include <algorithm>

#include "engine/spellchecker.h"

namespace urduspell {

namespace {

// Highest frequency first; equal frequencies keep the order in which they were gathered.
void AppendByFrequency(std::vector<const HashNode*>& nodes,
                       std::vector<std::u16string>& suggestions) {
  std::stable_sort(nodes.begin(), nodes.end(),
                   [](const HashNode* x, const HashNode* y) { return *y < *x; });
  for (const HashNode* node : nodes) suggestions.push_back(node->word);
}

// How many buckets are offered: the first non-empty one below 2 as it is; beyond that, two for
// words of more than five letters and one for shorter words.
int RankingLimit(const Buckets& buckets, std::size_t n) {
  int first = 0;
  while (first < kBucketCount && buckets[static_cast<std::size_t>(first)].empty()) ++first;
  if (first < 2) return first;
  return n > 5 ? 2 : 1;
}

}  // namespace

void SpellChecker::RankCandidates(const std::u16string& ErrWord, const Buckets& buckets,
                                  std::vector<std::u16string>& suggestions) const {
  const int limit = RankingLimit(buckets, ErrWord.size());
  const std::int32_t sx = SoundexCode(ErrWord);
  const std::int32_t hx = ShapexCode(ErrWord);

  for (int b = 1; b <= limit; ++b) {
    std::array<std::vector<const HashNode*>, 3> RankResult;
    for (std::int32_t slot : buckets[static_cast<std::size_t>(b)]) {
      const HashNode* hn = hashTable.NodeAt(slot);
      if (hn == nullptr) continue;
      const int agreeing = (SoundexCode(hn->word) == sx) + (ShapexCode(hn->word) == hx);
      RankResult[static_cast<std::size_t>(2 - agreeing)].push_back(hn);
    }
    for (auto& group : RankResult) AppendByFrequency(group, suggestions);
  }

  std::vector<const HashNode*> res;
  for (std::int32_t slot : buckets[static_cast<std::size_t>(limit + 1)]) {
    const HashNode* hn = hashTable.NodeAt(slot);
    if (hn != nullptr && SoundexCode(hn->word) == sx) res.push_back(hn);
  }
  AppendByFrequency(res, suggestions);
}

}  // namespace urduspell
