// The checker's two sources of truth about a word: the library, through one SpellCheckerPtr per
// Engine (the library allows one thread per engine, so every thread gets an Engine of its own),
// and the words the user accepted (WordList: the personal dictionary and this session's words),
// which are asked first.
#ifndef URDUSPELL_TOOLS_ENGINE_H_
#define URDUSPELL_TOOLS_ENGINE_H_

#include <urduspell/spellcheckerptr.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace urduspell::cli {

struct Verdict {
  bool ok = true;
  std::vector<std::u16string> suggestions;  // best first; empty when ok
};

class Engine {
 public:
  // Initialises the library on the prepared working folder, which is the current directory
  // during the call. Changes the process's current directory for a moment: call it from one
  // thread while no other thread depends on the current directory.
  explicit Engine(const std::filesystem::path& workFolder);
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // Asks the library about one word of at most 20 code units. Throws the library's exceptions.
  Verdict Check(std::u16string_view word);

 private:
  SpellCheckerPtr handle_;
};

// The words accepted without asking the library. Lookups are exact (code unit for code unit).
class WordList {
 public:
  // Loads the personal dictionary `file` (UTF-8 or UTF-16 with a mark, one word a line) when it
  // exists. An empty path means no personal dictionary. Throws CliError when it cannot be read.
  explicit WordList(std::filesystem::path file);

  bool Contains(std::u16string_view word) const;
  // Accepts a word for this session only.
  void Accept(std::u16string word);
  // Accepts a word and keeps it for the personal dictionary; Save() writes it there.
  void Add(std::u16string word);
  // Appends the words added since the last save to the personal dictionary file, creating it
  // and its folder when needed. Throws CliError.
  void Save();

 private:
  std::filesystem::path file_;
  std::unordered_set<std::u16string> words_;
  std::vector<std::u16string> unsaved_;
};

}  // namespace urduspell::cli

#endif  // URDUSPELL_TOOLS_ENGINE_H_
