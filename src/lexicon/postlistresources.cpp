// File formats: docs/formats.md, "Posting-list files".
#include "lexicon/postlistresources.h"

#include <new>

#include "config/configmanager.h"
#include "errors/errors.h"
#include "io/coding.h"
#include "io/filereader.h"
#include "io/filewriter.h"
#include "lexicon/hashtable.h"
#include "lexicon/unichar2indexmap.h"

namespace urduspell {

namespace {

constexpr const char* kModule = "postlistresources";
constexpr const char* kBigramName = "Bigram Matrix Index";
constexpr const char* kUnigramName = "Unigram List Index";
constexpr int kIdSize = 4;

// Writes bytes in pieces the writer's 32-bit size can take.
void WriteAll(FileWriter& writer, const std::vector<unsigned char>& bytes) {
  constexpr std::size_t kChunk = 1 << 30;
  for (std::size_t at = 0; at < bytes.size(); at += kChunk) {
    const std::size_t n = std::min(kChunk, bytes.size() - at);
    writer.WriteBlock(bytes.data() + at, static_cast<std::int32_t>(n));
  }
}

// Offsets of the non-empty lists, one after the other in record order. The stored length is
// the id count modulo 65,536; the offsets still advance by the whole count.
void AssignOffsets(const std::vector<std::vector<std::int32_t>>& lists,
                   std::vector<IndexRecord>& index) {
  std::uint32_t offset = 0;
  for (std::size_t k = 0; k < lists.size(); ++k) {
    const std::size_t n = lists[k].size();
    if (n == 0) continue;
    index[k].offset = static_cast<std::int32_t>(offset);
    index[k].length = static_cast<std::uint16_t>(n);
    offset += static_cast<std::uint32_t>(kIdSize * n);
  }
}

}  // namespace

void IndexRecord::EncodeTo(unsigned char* dst) const {
  EncodeFixed32(dst, static_cast<std::uint32_t>(offset));
  EncodeFixed16(dst + 4, length);
}

IndexRecord IndexRecord::DecodeFrom(const unsigned char* src) {
  return IndexRecord{DecodeSigned32(src), DecodeFixed16(src + 4)};
}

void PostListResources::Clear() {
  std::vector<List>().swap(bigramLists_);
  std::vector<List>().swap(unigramLists_);
  std::vector<IndexRecord>().swap(bigramMatrixIndex_);
  std::vector<IndexRecord>().swap(unigramListIndex_);
}

bool PostListResources::BuildPostingLists(const HashTable& hashTable,
                                          const UniChar2IndexMap& charMap) {
  Clear();
  alphabetSize_ = charMap.GetSize();
  RefuseOversizedAlphabet();
  const std::size_t s = alphabetSize_ > 0 ? static_cast<std::size_t>(alphabetSize_) : 0;
  bigramMatrixIndex_.assign(s * s, IndexRecord{});
  bigramLists_.assign(s * s, List{});
  unigramListIndex_.assign(s, IndexRecord{});
  unigramLists_.assign(s, List{});

  const std::uint32_t words = hashTable.GetNodeCount();
  for (std::uint32_t i = 0; i < words; ++i) {
    const std::int32_t id = static_cast<std::int32_t>(i);
    const HashNode* node = hashTable.NodeAt(id);
    if (node == nullptr) break;
    const std::u16string& word = node->word;
    const std::size_t length = word.size();
    if (length >= 3) {
      for (std::size_t p = 0; p + 1 < length; ++p) {
        const std::uint16_t a = charMap.GetIndex(word[p]);
        const std::uint16_t b = charMap.GetIndex(word[p + 1]);
        if (a < s && b < s) bigramLists_[a * s + b].push_back(id);
      }
    }
    if (length <= 3) {
      for (char16_t c : word) {
        const std::uint16_t a = charMap.GetIndex(c);
        if (a < s) unigramLists_[a].push_back(id);
      }
    }
  }
  AssignOffsets(bigramLists_, bigramMatrixIndex_);
  AssignOffsets(unigramLists_, unigramListIndex_);
  return true;
}

bool PostListResources::SavePostingLists(const ConfigManager& config) {
  SaveBigramLists(config.bigramMatrixFilePath, config.bigramPLFilePath);
  SaveUnigramLists(config.unigramListsFilePath, config.unigramPLFilePath);
  return true;
}

bool PostListResources::SaveBigramLists(const std::string& indexPath,
                                        const std::string& listPath) {
  SaveLists(bigramMatrixIndex_, bigramLists_, indexPath, listPath);
  return true;
}

bool PostListResources::SaveUnigramLists(const std::string& indexPath,
                                         const std::string& listPath) {
  SaveLists(unigramListIndex_, unigramLists_, indexPath, listPath);
  // The lists have been written: from now on only the indexes stay in memory.
  std::vector<List>().swap(bigramLists_);
  std::vector<List>().swap(unigramLists_);
  return true;
}

void PostListResources::SaveLists(const std::vector<IndexRecord>& index,
                                  const std::vector<List>& lists, const std::string& indexPath,
                                  const std::string& listPath) {
  FileWriter indexWriter;
  FileWriter listWriter;
  indexWriter.Open(indexPath, FileMode::Unicode, false);
  listWriter.Open(listPath, FileMode::Unicode, false);

  std::vector<unsigned char> records(index.size() * IndexRecord::kStoredSize);
  for (std::size_t k = 0; k < index.size(); ++k) {
    index[k].EncodeTo(records.data() + k * IndexRecord::kStoredSize);
  }
  WriteAll(indexWriter, records);

  std::vector<unsigned char> ids;
  for (const List& list : lists) {
    ids.resize(list.size() * kIdSize);
    for (std::size_t i = 0; i < list.size(); ++i) {
      EncodeFixed32(ids.data() + i * kIdSize, static_cast<std::uint32_t>(list[i]));
    }
    WriteAll(listWriter, ids);
  }
  indexWriter.Close();
  listWriter.Close();
}

bool PostListResources::LoadPostingListIndexes(const ConfigManager& config) {
  LoadBigramMatrixIndex(config.bigramMatrixFilePath);
  LoadUnigramListIndex(config.unigramListsFilePath);
  return true;
}

bool PostListResources::LoadBigramMatrixIndex(const std::string& indexPath) {
  if (alphabetSize_ <= 0) return false;
  std::vector<IndexRecord>().swap(bigramMatrixIndex_);
  RefuseOversizedAlphabet();
  const std::size_t s = static_cast<std::size_t>(alphabetSize_);
  LoadIndex(indexPath, bigramMatrixIndex_, s * s, kBigramName);
  return true;
}

bool PostListResources::LoadUnigramListIndex(const std::string& indexPath) {
  if (alphabetSize_ <= 0) {
    throw TRELVAException(kModule, __LINE__, kErrPrecondition, "Alphabet size not set");
  }
  LoadIndex(indexPath, unigramListIndex_, static_cast<std::size_t>(alphabetSize_), kUnigramName);
  return true;
}

void PostListResources::RefuseOversizedAlphabet() const {
  if (alphabetSize_ > kMaxAlphabetSize) {
    throw MemoryAllocationException(kModule, __LINE__, kErrMemory,
                                    "Could not allocate memory for '" + std::string(kBigramName) + "'.");
  }
}

// Reads `records` index records, one row of S records per read. A damaged file leaves the
// index absent, so no record of it can ever point into a posting-list file.
void PostListResources::LoadIndex(const std::string& indexPath, std::vector<IndexRecord>& index,
                                  std::size_t records, const char* name) {
  const std::size_t rowRecords = static_cast<std::size_t>(alphabetSize_);
  const std::size_t rowBytes = rowRecords * IndexRecord::kStoredSize;
  try {
    std::vector<IndexRecord>().swap(index);
    if (records > index.max_size()) throw std::bad_alloc();  // S*S beyond any address space
    index.assign(records, IndexRecord{});
    FileReader fr;
    fr.Open(indexPath, FileMode::Unicode);
    // A file too short for the alphabet is a failed read, not records made of leftover bytes.
    if (static_cast<std::size_t>(fr.GetSize()) < 2 + records * IndexRecord::kStoredSize) {
      throw IOException(kModule, __LINE__, kErrRead, "End of file encountered.");
    }
    std::vector<unsigned char> buffer(rowBytes);
    for (std::size_t first = 0; first < records; first += rowRecords) {
      std::int32_t got = 0;
      fr.ReadBlock(buffer.data(), static_cast<std::int32_t>(rowBytes), &got);
      if (static_cast<std::size_t>(got) != rowBytes) {
        throw IOException(kModule, __LINE__, kErrRead, "End of file encountered.");
      }
      for (std::size_t k = 0; k < rowRecords; ++k) {
        index[first + k] = IndexRecord::DecodeFrom(buffer.data() + k * IndexRecord::kStoredSize);
      }
    }
    fr.Close();
  } catch (const std::bad_alloc&) {
    std::vector<IndexRecord>().swap(index);
    throw MemoryAllocationException(kModule, __LINE__, kErrMemory,
                                    "Could not allocate memory for '" + std::string(name) + "'.");
  } catch (IOException& ex) {
    std::vector<IndexRecord>().swap(index);
    RelayWithContext(ex, kModule, __LINE__,
                     " " + std::string(name) + " file could not be opened or read sucessfully.");
    throw;
  }
}

IndexRecord PostListResources::BigramRecord(std::uint16_t a, std::uint16_t b) const {
  const std::size_t s = static_cast<std::size_t>(alphabetSize_);
  if (a >= s || b >= s || bigramMatrixIndex_.size() != s * s) return IndexRecord{};
  return bigramMatrixIndex_[a * s + b];
}

IndexRecord PostListResources::UnigramRecord(std::uint16_t a) const {
  const std::size_t s = static_cast<std::size_t>(alphabetSize_);
  if (a >= s || unigramListIndex_.size() != s) return IndexRecord{};
  return unigramListIndex_[a];
}

void PostListResources::ReadPostingList(FileReader& reader, std::int64_t fileBytes,
                                        const IndexRecord& record, PostingListBuffer& list) {
  list.Release();
  if (record.length == 0 || record.offset < 0) return;
  const std::int64_t bytes = static_cast<std::int64_t>(record.length) * kIdSize;
  if (record.offset + bytes > fileBytes) return;
  list.ids.reset(new std::int32_t[record.length]);
  unsigned char* raw = reinterpret_cast<unsigned char*>(list.ids.get());
  std::int32_t got = 0;
  reader.ReadBlockAt(raw, record.offset, static_cast<std::int32_t>(bytes), &got);
  list.count = got / kIdSize;
  for (std::int32_t i = 0; i < list.count; ++i) list.ids[i] = DecodeSigned32(raw + i * kIdSize);
}

}  // namespace urduspell
