// Pipe mode (-a): the line protocol that ispell introduced and that Emacs (ispell.el, flyspell)
// and other editors speak to a spell checker running as a child process.
//
// On start the checker prints one banner line beginning "@(#) ". Then, for each input line:
//   a command line, which prints nothing:
//     *WORD  add WORD to the personal dictionary      &WORD  the same (lower case is moot)
//     @WORD  accept WORD for this session              #      save the personal dictionary
//     !      terse mode: no lines for correct words    %      back to normal (and not verbose)
//     `      verbose mode: "* WORD" for correct words  +, -, ~ (formatter modes) ignored
//   any other line is text; a leading '^' is dropped first (clients put it on every text line
//   so that text is never taken for a command). Each Urdu word of the text gets one line:
//     *                                 correct (in the dictionary or accepted)
//     & WORD COUNT OFFSET: S1, S2, ...  misspelled, with COUNT suggestions
//     # WORD OFFSET                     misspelled, no suggestion
//   and an empty line ends the answer to the text line. OFFSET counts characters (code points)
//   from the start of the line as received, the '^' included, as clients expect.
#ifndef URDUSPELL_TOOLS_PIPE_H_
#define URDUSPELL_TOOLS_PIPE_H_

#include <istream>
#include <ostream>
#include <string>

#include "engine.h"

namespace urduspell::cli {

// The version line an ispell-compatible client parses: an ispell version it accepts and a
// modern checker's name and version, which tells clients such as Emacs to pass "-i UTF-8" and to
// take the dictionary list from -D.
std::string IspellVersionLine();

// Prints the version line that opens a session.
void PrintBanner(std::ostream& out);

// Answers the lines of `in` until its end (the banner is printed once before, however many
// inputs follow). Throws the library's exceptions.
void RunPipe(std::istream& in, std::ostream& out, Engine& engine, WordList& words);

}  // namespace urduspell::cli

#endif  // URDUSPELL_TOOLS_PIPE_H_
