// One Urdu dictionary as Enchant sees it: a library handle initialised over a data set, asked
// in UTF-8. Construct (which prepares the data), then Check / Suggest any number of times, from
// one thread at a time.
//
// The library reads config.ini from the current directory and, on a data set's first use, builds
// its derived files beside it. A desktop application must not find its current directory changed
// and may not write to the installed data, so the data set gets a per-user working folder (the one
// the command-line tool uses too: $XDG_CACHE_HOME/urduspell/sets/...), and the current directory is
// that folder only while the handle initialises. Checks afterwards need no current directory: the
// engine keeps its posting-list files open.
#ifndef URDUSPELL_ENCHANT_CHECKER_H_
#define URDUSPELL_ENCHANT_CHECKER_H_

#include <urduspell/spellcheckerptr.h>

#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace urduspell::enchant {

class Checker {
 public:
  // Prepares the working folder of the data set in `dataDir` (building it on first use) and
  // initialises the handle there. Throws the library's exceptions, or std::exception.
  explicit Checker(const std::filesystem::path& dataDir);
  Checker(const Checker&) = delete;
  Checker& operator=(const Checker&) = delete;

  // True when there is nothing to correct in the UTF-8 `word`: it is in the dictionary, or it has
  // fewer than two letters of the alphabet (a number, a Latin word, punctuation). Malformed UTF-8
  // is reported as misspelled. A word of more than 20 letters is misspelled: no dictionary word
  // is that long, and the library can only look at the first 20.
  bool Check(std::string_view word);

  // Up to ten suggestions for `word`, best first, in UTF-8; none for a word Check accepts.
  std::vector<std::string> Suggest(std::string_view word);

 private:
  struct Answer {
    bool correct = false;
    std::vector<std::string> suggestions;
  };
  // Asks the library, or remembers: Enchant applications ask Check and then Suggest for the
  // same word, and a check costs as much as its suggestions.
  const Answer& Ask(std::string_view word);

  std::mutex mutex_;  // one engine serves one thread at a time
  SpellCheckerPtr handle_;
  std::string lastWord_;
  Answer lastAnswer_;
  bool haveLast_ = false;
};

}  // namespace urduspell::enchant

#endif  // URDUSPELL_ENCHANT_CHECKER_H_
