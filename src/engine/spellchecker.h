// SpellChecker: the engine behind a handle. Owns every resource a check needs: configuration,
// alphabet, dictionary, posting-list indexes, the two posting-list files kept open for reads
// during checks, and the sound-alike (soundex) and look-alike (shapex) class tables.
//
// Order of calls: Initialize, then SpellCheck any number of times, from one thread at a time
// (a check moves the read positions of the two open files). A second Initialize starts over.
#ifndef URDUSPELL_ENGINE_SPELLCHECKER_H_
#define URDUSPELL_ENGINE_SPELLCHECKER_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/configmanager.h"
#include "engine/candidateindex.h"
#include "io/filereader.h"
#include "lexicon/hashtable.h"
#include "lexicon/postlistresources.h"
#include "lexicon/unichar2indexmap.h"

namespace urduspell {

// Candidates filed by edit distance: buckets[d] holds the slots at distance d; the last bucket
// also holds everything at 39 or more and everything outside the length window.
inline constexpr int kBucketCount = 40;
using Buckets = std::array<std::vector<std::int32_t>, kBucketCount>;

// Levenshtein distance with unit costs, code unit by code unit.
int EditDistance(const std::u16string& a, const std::u16string& b);

class SpellChecker {
 public:
  // Class tables cover U+0600 .. U+072B; everything else has class 0.
  static constexpr char16_t kClassTableFirst = 0x0600;
  static constexpr int kClassTableSize = 300;
  using ClassTable = std::array<std::uint8_t, kClassTableSize>;

  SpellChecker() = default;
  ~SpellChecker();
  SpellChecker(const SpellChecker&) = delete;
  SpellChecker& operator=(const SpellChecker&) = delete;

  // Reads config.ini, loads the alphabet, builds and saves (initialize = YES) or loads
  // (initialize = NO) the dictionary and posting lists, opens the posting-list files and loads
  // the class tables. False when the configuration or the alphabet reader says so; file
  // problems are exceptions.
  bool Initialize();

  // False when there is nothing to correct (suggestions left empty); true when the word is
  // misspelled, with suggestions best first.
  bool SpellCheck(std::u16string word, std::vector<std::u16string>& suggestions);
  // The same check on `count` code units the caller holds, without copying them first: for a
  // word that is correct (most words checked) nothing is allocated.
  bool SpellCheckUnits(const char16_t* units, std::size_t count,
                       std::vector<std::u16string>& suggestions);

  bool LoadSoundex(std::string path);
  bool LoadShapex(std::string path);
  std::int32_t SoundexCode(const std::u16string& word) const;
  std::int32_t ShapexCode(const std::u16string& word) const;

  void RankCandidates(const std::u16string& ErrWord, const Buckets& buckets,
                      std::vector<std::u16string>& suggestions) const;

  // How many handles share this engine; kept by the handles.
  int handleCount = 1;

 private:
  void ClearResources();
  void OpenPostingListFiles();
  static void LoadClassTable(const std::string& path, ClassTable& table);
  static std::int32_t ClassCode(const ClassTable& table, const std::u16string& word);

  // Gathers, measures and ranks the candidates for a word (filtered) that is not in the
  // dictionary.
  void Correct(const std::u16string& ErrWord, std::vector<std::u16string>& suggestions);

  // One flag per dictionary slot, 64 to a machine word.
  using SeenSlots = std::vector<std::uint64_t>;

  // The steps of a check, in order.
  void GatherExchanges(const std::u16string& ErrWord, SeenSlots& seen, Buckets& buckets) const;
  // Which words the posting lists pass on as candidates: all of them, or (with the candidate
  // index) those whose length and letters do not already prove them farther from the word than
  // `farthest`, the farthest distance that can still be offered; for those a lower bound on
  // their distance is kept in CandidateBounds, beside Candidates.
  struct Screen {
    bool active = false;
    CandidateIndex::Profile profile = 0;
    int farthest = 0;
  };
  void GatherFromLists(const std::u16string& ErrWord, bool bigrams, const Screen& screen,
                       SeenSlots& seen, std::vector<std::int32_t>& Candidates,
                       std::vector<std::uint8_t>& CandidateBounds);
  template <int kFarthest>
  void MergeScreened(const PostingListBuffer& list, CandidateIndex::Profile profile,
                     SeenSlots& seen, std::vector<std::int32_t>& Candidates,
                     std::vector<std::uint8_t>& CandidateBounds) const;
  int ProbeNearest(const std::u16string& ErrWord, CandidateIndex::Profile profile);
  // `nearest`: the smallest distance known so far of some candidate (kBucketCount for none).
  void MeasureIntoBuckets(const std::u16string& ErrWord,
                          const std::vector<std::int32_t>& Candidates,
                          const std::vector<std::uint8_t>& CandidateBounds, int nearest,
                          Buckets& buckets) const;
  // MeasureIntoBuckets through the candidate index, or on the words themselves.
  void MeasureByIndex(const std::u16string& ErrWord, const std::vector<std::int32_t>& Candidates,
                      const std::vector<std::uint8_t>& CandidateBounds, int nearest,
                      Buckets& buckets) const;
  void MeasureWords(const std::u16string& ErrWord, const std::vector<std::int32_t>& Candidates,
                    int nearest, Buckets& buckets) const;

  HashTable hashTable;
  ConfigManager config;
  UniChar2IndexMap charMap;
  PostListResources postingLists;
  FileReader unigramPLReader;
  FileReader bigramPLReader;
  ClassTable soundexTable{};
  ClassTable shapexTable{};
  // Lengths, letter sets and letter codes of the dictionary words, for measuring candidates;
  // rebuilt whenever the dictionary is.
  CandidateIndex candidateIndex;
  // Bytes after the mark in each posting-list file: a list must lie inside them to be read.
  std::int64_t unigramPLBytes = 0;
  std::int64_t bigramPLBytes = 0;
};

}  // namespace urduspell

#endif  // URDUSPELL_ENGINE_SPELLCHECKER_H_
