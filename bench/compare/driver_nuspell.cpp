// nuspell in the comparison: --dict is the dictionary path without its extension (D.aff, D.dic).
// spell() and, for a misspelled word, suggest(), with UTF-8 strings, its native form.
#include <nuspell/dictionary.hxx>
#include <string>
#include <vector>

#include "driver.h"

namespace {

class NuspellSystem {
 public:
  using Word = std::string;

  void Load(const std::string& dictionary) { dictionary_.load_aff_dic(dictionary + ".aff"); }
  Word Prepare(const std::string& utf8) const { return utf8; }
  bool Correct(Word& word) { return dictionary_.spell(word); }
  bool Suggest(Word& word) {
    suggestions_.clear();
    if (dictionary_.spell(word)) return false;
    dictionary_.suggest(word, suggestions_);
    return true;
  }
  std::vector<std::string> Suggestions() const { return suggestions_; }

 private:
  nuspell::Dictionary dictionary_;
  std::vector<std::string> suggestions_;
};

}  // namespace

int main(int argc, char** argv) { return compare::RunDriver<NuspellSystem>(argc, argv); }
