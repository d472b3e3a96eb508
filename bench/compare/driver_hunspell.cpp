// Hunspell in the comparison: --dict is the dictionary path without its extension (D.aff, D.dic).
// spell() and, for a misspelled word, suggest(), with UTF-8 strings, its native form.
#include <hunspell/hunspell.hxx>
#include <memory>
#include <string>
#include <vector>

#include "driver.h"

namespace {

class HunspellSystem {
 public:
  using Word = std::string;

  void Load(const std::string& dictionary) {
    hunspell_ =
        std::make_unique<Hunspell>((dictionary + ".aff").c_str(), (dictionary + ".dic").c_str());
  }
  Word Prepare(const std::string& utf8) const { return utf8; }
  bool Correct(Word& word) { return hunspell_->spell(word); }
  bool Suggest(Word& word) {
    suggestions_.clear();
    if (hunspell_->spell(word)) return false;
    suggestions_ = hunspell_->suggest(word);
    return true;
  }
  std::vector<std::string> Suggestions() const { return suggestions_; }

 private:
  std::unique_ptr<Hunspell> hunspell_;
  std::vector<std::string> suggestions_;
};

}  // namespace

int main(int argc, char** argv) { return compare::RunDriver<HunspellSystem>(argc, argv); }
