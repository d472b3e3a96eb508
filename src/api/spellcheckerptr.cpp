#include <urduspell/spellcheckerptr.h>

#include <cstring>
#include <vector>

#include "api/wordcodec.h"
#include "engine/spellchecker.h"

using urduspell::SpellChecker;

namespace {

// Drops one handle's share of an engine; the last one destroys it.
void Release(SpellChecker*& engine) {
  if (engine != nullptr && --engine->handleCount == 0) delete engine;
  engine = nullptr;
}

}  // namespace

SpellCheckerPtr::SpellCheckerPtr() : engine(new SpellChecker) {}

SpellCheckerPtr::~SpellCheckerPtr() { Release(engine); }

SpellCheckerPtr& SpellCheckerPtr::operator=(const SpellCheckerPtr& other) {
  if (engine == other.engine) return *this;
  ++other.engine->handleCount;
  Release(engine);
  engine = other.engine;
  return *this;
}

bool SpellCheckerPtr::Initialize() { return engine->Initialize(); }

int SpellCheckerPtr::SpellCheck(unsigned char* word, char** suggestions) {
  // BytesToWString and Trim without their strings: the units stay on the stack, and a correct
  // word is answered without allocating anything.
  char16_t str1[urduspell::kWordBytes / 2];
  const std::size_t units = urduspell::DecodeUnits(word, urduspell::kWordBytes, str1);
  std::size_t first = 0;
  std::size_t last = 0;
  urduspell::TrimRange(str1, units, first, last);
  std::vector<std::u16string> suggestedList1;
  if (!engine->SpellCheckUnits(str1 + first, last - first, suggestedList1)) return -1;

  // A suggestion of 20 or more code units cannot be written with its terminating byte into a
  // 40-byte buffer: it is left out and the next one moves up.
  unsigned char temp[urduspell::kSuggestionBytes];
  int count = 0;
  for (const std::u16string& suggestion : suggestedList1) {
    if (count == urduspell::kMaxSuggestions) break;
    if (2 * suggestion.size() + 1 > sizeof temp) continue;
    const int n = urduspell::WStringToBytes(suggestion, temp);
    std::memcpy(suggestions[count], temp, static_cast<std::size_t>(n));
    std::memset(suggestions[count] + n, 0, sizeof temp - static_cast<std::size_t>(n));
    ++count;
  }
  return count;
}
