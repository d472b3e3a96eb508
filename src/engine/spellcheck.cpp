// The check pipeline: filter, look up, gather exchanges, gather from the posting lists, measure
// into distance buckets, rank.
#include <algorithm>

#include "engine/spellchecker.h"

namespace urduspell {

namespace {

constexpr int kOverflowBucket = kBucketCount - 1;
constexpr int kExchangeBucket = 1;
constexpr int kLengthWindow = 3;

// Marks slot as taken; false when it was taken already or is no slot of the dictionary.
bool TakeSlot(std::int32_t slot, std::vector<std::uint8_t>& seen) {
  if (slot < 0 || static_cast<std::size_t>(slot) >= seen.size() || seen[slot] != 0) return false;
  seen[slot] = 1;
  return true;
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
  suggestions.clear();
  const std::u16string ErrWord = charMap.Filter(word);
  if (ErrWord.size() <= 1 || hashTable.Lookup(ErrWord)) return false;

  const std::size_t n = ErrWord.size();
  std::vector<std::uint8_t> seen(static_cast<std::size_t>(std::max(hashTable.GetSlotCount(), 0)));
  Buckets buckets;
  std::vector<std::int32_t> Candidates;
  if (n >= 3) {
    GatherExchanges(ErrWord, seen, buckets);
    GatherFromLists(ErrWord, /*bigrams=*/true, seen, Candidates);
  }
  if (n <= 3) GatherFromLists(ErrWord, /*bigrams=*/false, seen, Candidates);
  MeasureIntoBuckets(ErrWord, Candidates, buckets);
  RankCandidates(ErrWord, buckets, suggestions);
  return true;
}

// Dictionary words that equal the word with two neighbouring letters exchanged count as
// distance 1 (their Levenshtein distance would be 2).
void SpellChecker::GatherExchanges(const std::u16string& ErrWord, std::vector<std::uint8_t>& seen,
                                   Buckets& buckets) const {
  std::vector<HashNode> SearchResults;
  std::u16string TransposeWord;
  for (std::size_t i = 0; i + 1 < ErrWord.size(); ++i) {
    TransposeWord = ErrWord;
    std::swap(TransposeWord[i], TransposeWord[i + 1]);
    hashTable.Search(TransposeWord, SearchResults);
    for (const HashNode& node : SearchResults) {
      if (TakeSlot(node.next, seen)) buckets[kExchangeBucket].push_back(node.next);
    }
  }
}

// Words sharing a letter pair (bigrams) or a letter (unigrams) with the word, longest list first.
void SpellChecker::GatherFromLists(const std::u16string& ErrWord, bool bigrams,
                                   std::vector<std::uint8_t>& seen,
                                   std::vector<std::int32_t>& Candidates) {
  std::vector<IndexRecord> listRefs;
  if (bigrams) {
    for (std::size_t i = 0; i + 1 < ErrWord.size(); ++i) {
      listRefs.push_back(
          postingLists.BigramRecord(charMap.GetIndex(ErrWord[i]), charMap.GetIndex(ErrWord[i + 1])));
    }
  } else {
    for (char16_t c : ErrWord) listRefs.push_back(postingLists.UnigramRecord(charMap.GetIndex(c)));
  }
  std::sort(listRefs.begin(), listRefs.end(),
            [](const IndexRecord& x, const IndexRecord& y) { return x.length < y.length; });

  FileReader& reader = bigrams ? bigramPLReader : unigramPLReader;
  const std::int64_t fileBytes = bigrams ? bigramPLBytes : unigramPLBytes;
  PostingListBuffer PostingList;
  for (auto record = listRefs.rbegin(); record != listRefs.rend(); ++record) {
    PostListResources::ReadPostingList(reader, fileBytes, *record, PostingList);
    for (std::int32_t i = 0; i < PostingList.count; ++i) {
      if (TakeSlot(PostingList.ids[i], seen)) Candidates.push_back(PostingList.ids[i]);
    }
    PostingList.Release();
  }
}

void SpellChecker::MeasureIntoBuckets(const std::u16string& ErrWord,
                                      const std::vector<std::int32_t>& Candidates,
                                      Buckets& buckets) const {
  const auto n = static_cast<std::int64_t>(ErrWord.size());
  for (std::int32_t slot : Candidates) {
    const HashNode* hn = hashTable.NodeAt(slot);
    if (hn == nullptr) continue;
    const auto length = static_cast<std::int64_t>(hn->word.size());
    int d = kOverflowBucket;
    if (length <= n + kLengthWindow && length >= n - kLengthWindow) {
      d = std::min(EditDistance(ErrWord, hn->word), kOverflowBucket);
    }
    buckets[static_cast<std::size_t>(d)].push_back(slot);
  }
}

}  // namespace urduspell
