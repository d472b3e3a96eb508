// PostListResources: the unigram and bigram posting lists that find candidate words fast. For
// every letter, the ids of the short words (1..3 letters) that contain it; for every ordered
// pair of letters, the ids of the words (3+ letters) in which the pair stands. Only the two
// index tables stay in memory; each list is read from its file when a check needs it.
//
// Order of calls: SetAlphabetSize, then either BuildPostingLists SavePostingLists (first run) or
// LoadPostingListIndexes (later runs); then BigramRecord / UnigramRecord and ReadPostingList.
// File formats: docs/formats.md, "Posting-list files".
#ifndef URDUSPELL_LEXICON_POSTLISTRESOURCES_H_
#define URDUSPELL_LEXICON_POSTLISTRESOURCES_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace urduspell {

class ConfigManager;
class FileReader;
class HashTable;
class UniChar2IndexMap;

// Where one posting list lies in its file: byte offset after the mark (-1: no list) and the
// number of ids. Six bytes on disk: offset (int32) then length (uint16), little-endian.
struct IndexRecord {
  static constexpr int kStoredSize = 6;

  std::int32_t offset = -1;
  std::uint16_t length = 0;

  void EncodeTo(unsigned char* dst) const;
  static IndexRecord DecodeFrom(const unsigned char* src);
  bool operator==(const IndexRecord&) const = default;
};

// One posting list read during a check: its ids, ascending, repeats adjacent.
struct PostingListBuffer {
  std::unique_ptr<std::int32_t[]> ids;
  std::int32_t count = 0;

  void Release() {
    ids.reset();
    count = 0;
  }
};

class PostListResources {
 public:
  // The bigram matrix holds a record for every ordered pair of letters: 6 bytes a pair on disk,
  // 8 in memory, and while building one list a pair as well, so an alphabet of S letters costs
  // about 40 * S^2 bytes to build. No script comes near 4,096 letters (all Arabic-script code
  // points of the BMP are about 1,300); an alphabet beyond it (a damaged or hostile file, up to
  // 65,535 letters, some 170 GB) is refused before anything is allocated, as exhausted memory:
  // MemoryAllocationException "Could not allocate memory for 'Bigram Matrix Index'.".
  static constexpr std::int32_t kMaxAlphabetSize = 4096;

  void SetAlphabetSize(std::int32_t size) { alphabetSize_ = size; }
  std::int32_t GetAlphabetSize() const { return alphabetSize_; }

  bool BuildPostingLists(const HashTable& hashTable, const UniChar2IndexMap& charMap);
  bool SavePostingLists(const ConfigManager& config);
  bool SaveBigramLists(const std::string& indexPath, const std::string& listPath);
  bool SaveUnigramLists(const std::string& indexPath, const std::string& listPath);

  bool LoadPostingListIndexes(const ConfigManager& config);
  bool LoadBigramMatrixIndex(const std::string& indexPath);
  bool LoadUnigramListIndex(const std::string& indexPath);

  // Releases every table; the alphabet size stays.
  void Clear();

  // The record of a letter pair or a letter; an empty record while the table is absent or
  // when an index lies outside the alphabet.
  IndexRecord BigramRecord(std::uint16_t a, std::uint16_t b) const;
  IndexRecord UnigramRecord(std::uint16_t a) const;

  // Reads the list of record through reader, whose file holds fileBytes bytes after its mark.
  // A record that is empty, or whose list would reach outside the file, yields no ids and no
  // read at all: a damaged index never drives a read past the end of a posting-list file.
  static void ReadPostingList(FileReader& reader, std::int64_t fileBytes,
                              const IndexRecord& record, PostingListBuffer& list);

 private:
  using List = std::vector<std::int32_t>;

  static void SaveLists(const std::vector<IndexRecord>& index, const std::vector<List>& lists,
                        const std::string& indexPath, const std::string& listPath);
  // Raises the MemoryAllocationException above for an alphabet beyond kMaxAlphabetSize.
  void RefuseOversizedAlphabet() const;
  void LoadIndex(const std::string& indexPath, std::vector<IndexRecord>& index,
                 std::size_t records, const char* name);

  std::vector<List> bigramLists_;        // S*S lists, row-major; only from build until save
  std::vector<List> unigramLists_;       // S lists; only from build until save
  std::int32_t alphabetSize_ = 0;
  std::vector<IndexRecord> bigramMatrixIndex_;  // S*S records, row-major; empty = absent
  std::vector<IndexRecord> unigramListIndex_;   // S records; empty = absent
};

}  // namespace urduspell

#endif  // URDUSPELL_LEXICON_POSTLISTRESOURCES_H_
