#include "lexicon/unichar2indexmap.h"

#include <algorithm>
#include <new>

#include "errors/errors.h"
#include "io/filereader.h"

namespace urduspell {

namespace {
constexpr const char* kModule = "unichar2indexmap";
}

UniChar2IndexMap::UniChar2IndexMap(const UniChar2IndexMap& other) { *this = other; }

UniChar2IndexMap& UniChar2IndexMap::operator=(const UniChar2IndexMap& other) {
  if (this == &other) return *this;
  std::array<Page, kPageSize> copy;
  for (int p = 0; p < kPageSize; ++p) {
    if (!other.pages_[p]) continue;
    copy[p] = std::make_unique<std::uint16_t[]>(kPageSize);
    std::copy_n(other.pages_[p].get(), kPageSize, copy[p].get());
  }
  pages_ = std::move(copy);
  size_ = other.size_;
  return *this;
}

bool UniChar2IndexMap::AddChar(char16_t c) {
  Page& page = pages_[c >> 8];
  if (!page) {
    page.reset(new (std::nothrow) std::uint16_t[kPageSize]);
    if (!page) return false;
    std::fill_n(page.get(), kPageSize, kNoIndex);
  }
  page[c & 0xFF] = static_cast<std::uint16_t>(size_);
  ++size_;
  return true;
}

std::u16string UniChar2IndexMap::Filter(const std::u16string& word) const {
  std::u16string out;
  out.reserve(word.size());
  for (char16_t c : word) {
    if (GetIndex(c) != kNoIndex) out.push_back(c);
  }
  return out;
}

void UniChar2IndexMap::Clear() {
  for (Page& page : pages_) page.reset();
  size_ = 0;
}

bool UniChar2IndexMap::Load(const std::string& path) {
  FileReader reader;
  try {
    reader.Open(path, FileMode::Unicode);
  } catch (IOException& ex) {
    RelayWithContext(ex, kModule, __LINE__, kNotOpenedText);
    throw;
  }
  try {
    // One character per line: a read takes at most two units, so "X CR" stops at its limit and
    // the LF after it is read alone and adds nothing.
    std::u16string line;
    while (!reader.IsEof()) {
      if (reader.ReadUnicodeLine(line, 2, u'\n')) AddChar(line[0]);
    }
    reader.Close();
  } catch (IOException& ex) {
    RelayWithContext(ex, kModule, __LINE__, kReadProblemText);
    throw;
  }
  return true;
}

}  // namespace urduspell
