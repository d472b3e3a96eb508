#include "pipe.h"

#include <iostream>

#include "common.h"
#include "text.h"

namespace urduspell::cli {
namespace {

struct Modes {
  bool terse = false;
  bool verbose = false;
};

// Executes a command line; returns false when the line is text to check.
bool RunCommand(const std::string& line, Modes& modes, WordList& words) {
  if (line.empty()) return false;
  switch (line[0]) {
    case '*':
    case '&':
      words.Add(FromUtf8Lossy(std::string_view(line).substr(1)));
      return true;
    case '@':
      words.Accept(FromUtf8Lossy(std::string_view(line).substr(1)));
      return true;
    case '#':
      try {
        words.Save();
      } catch (const CliError& e) {
        // The protocol has no answer to '#'; say it where a person will see it.
        std::cerr << "urduspell: " << e.what() << std::endl;
      }
      return true;
    case '!':
      modes.terse = true;
      return true;
    case '%':
      modes.terse = modes.verbose = false;
      return true;
    case '`':
      modes.verbose = true;
      return true;
    case '+':  // TeX mode, nroff mode and extended character sets change nothing for Urdu.
    case '-':
    case '~':
      return true;
    default:
      return false;
  }
}

void CheckLine(const std::u16string& line, std::size_t skip, const Modes& modes, Engine& engine,
               const WordList& words, WordSplitter& splitter, std::ostream& out) {
  const std::u16string_view text = std::u16string_view(line).substr(skip);
  std::size_t counted = 0;  // code units of `line` already counted as characters
  std::size_t characters = 0;
  for (const WordSpan& span : splitter.Split(text)) {
    const std::u16string_view word = text.substr(span.begin, span.end - span.begin);
    if (!IsCheckable(word)) continue;
    const std::size_t begin = skip + span.begin;
    characters += CodePoints(std::u16string_view(line).substr(counted, begin - counted));
    counted = begin;
    const Verdict verdict = words.Contains(word) ? Verdict{} : engine.Check(word);
    if (verdict.ok) {
      if (modes.terse) continue;
      out << (modes.verbose ? "* " + ToUtf8(word) : std::string("*")) << '\n';
    } else if (verdict.suggestions.empty()) {
      out << "# " << ToUtf8(word) << ' ' << characters << '\n';
    } else {
      out << "& " << ToUtf8(word) << ' ' << verdict.suggestions.size() << ' ' << characters << ": ";
      for (std::size_t i = 0; i < verdict.suggestions.size(); ++i) {
        out << (i == 0 ? "" : ", ") << ToUtf8(verdict.suggestions[i]);
      }
      out << '\n';
    }
  }
}

}  // namespace

std::string IspellVersionLine() {
  return std::string(
             "@(#) International Ispell Version 3.2.06 (but really Hunspell 1.7.2) urduspell ") +
         Version();
}

void PrintBanner(std::ostream& out) { out << IspellVersionLine() << '\n' << std::flush; }

void RunPipe(std::istream& in, std::ostream& out, Engine& engine, WordList& words) {
  WordSplitter splitter;
  Modes modes;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (RunCommand(line, modes, words)) continue;
    const std::size_t skip = !line.empty() && line[0] == '^' ? 1 : 0;
    CheckLine(FromUtf8Lossy(line), skip, modes, engine, words, splitter, out);
    out << '\n' << std::flush;
  }
}

}  // namespace urduspell::cli
