// The commands that check text: `check` (located reports, text or JSON Lines), list mode (`-l`,
// bare words for editors) and `suggest` (words given on the command line).
//
// A check reads every input, splits it into words, asks about each distinct word once (the
// accepted words first, then the library with up to `jobs` engines on as many threads), and
// prints the misspelled occurrences in input order.
#ifndef URDUSPELL_TOOLS_CHECK_H_
#define URDUSPELL_TOOLS_CHECK_H_

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine.h"

namespace urduspell::cli {

struct CheckSettings {
  std::function<std::unique_ptr<Engine>()> makeEngine;  // called on the main thread only
  const WordList* accepted = nullptr;
  unsigned jobs = 1;
  bool progress = false;  // a progress bar is allowed (stderr is a terminal)
};

enum class Report {
  kText,  // FILE:LINE:COLUMN: WORD: SUGGESTION, ...
  kJson,  // one JSON object a line
  kList,  // the misspelled word alone, once per occurrence
};

// Checks the files ("-" or none: standard input). Returns the exit status: 2 when an input could
// not be checked, else 1 when a word is misspelled (text and JSON) and 0 otherwise. List mode
// returns 0 even with misspelled words, as editors expect of it.
int RunCheck(const std::vector<std::string>& files, Report report, const CheckSettings& settings);

// Prints for each word "WORD: ok", "WORD: S1, S2, ..." or "WORD: no suggestions" (or JSON).
// Returns 1 when a word is misspelled, else 0.
int RunSuggest(const std::vector<std::string>& words, bool json, const CheckSettings& settings);

}  // namespace urduspell::cli

#endif  // URDUSPELL_TOOLS_CHECK_H_
