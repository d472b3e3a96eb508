// The public face of urduspell: one handle per engine.
//
//   SpellCheckerPtr checker;          // reads nothing yet
//   checker.Initialize();             // reads config.ini from the current directory
//   char buffers[10][40];
//   char* suggestions[10] = {buffers[0], ..., buffers[9]};
//   int n = checker.SpellCheck(word, suggestions);
//
// `word` is UTF-16LE, at most 40 bytes (20 code units) are examined; it ends at the first byte
// pair whose low byte is 0. The result is -1 when there is nothing to correct (the word is in the
// dictionary, or has fewer than two letters of the alphabet), otherwise the number of suggestions
// (0..10), best first, each written into its 40-byte buffer as UTF-16LE followed by zero bytes.
// Buffers past the count are not touched.
//
// Failures arrive as the exceptions declared in <urduspell/trelvaexception.h>.
//
// Assignment makes this handle share the other's engine; an engine is destroyed once, when its
// last handle goes. One engine (and every handle sharing it) serves one thread at a time;
// distinct handles share nothing and may be used from different threads.
#ifndef URDUSPELL_SPELLCHECKERPTR_H_
#define URDUSPELL_SPELLCHECKERPTR_H_

#include <urduspell/export.h>
#include <urduspell/trelvaexception.h>

namespace urduspell {
class SpellChecker;
}

class URDUSPELL_EXPORT SpellCheckerPtr {
 public:
  SpellCheckerPtr();
  ~SpellCheckerPtr();
  SpellCheckerPtr& operator=(const SpellCheckerPtr& other);

  bool Initialize();
  int SpellCheck(unsigned char* word, char** suggestions);

 private:
  SpellCheckerPtr(const SpellCheckerPtr&) = delete;  // share an engine through assignment

  urduspell::SpellChecker* engine;
};

#endif  // URDUSPELL_SPELLCHECKERPTR_H_
