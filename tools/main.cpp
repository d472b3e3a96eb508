// urduspell: checks the spelling of Urdu text from the command line and speaks the ispell pipe
// protocol to editors. Built on the library's public handle only.
#include <unistd.h>
#include <urduspell/trelvaexception.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <fstream>
#include <iostream>
#include <thread>

#include "check.h"
#include "common.h"
#include "dataset.h"
#include "engine.h"
#include "pipe.h"
#include "workdir.h"

namespace urduspell::cli {
namespace {
namespace fs = std::filesystem;

struct Options {
  bool pipe = false;       // -a
  bool list = false;       // -l, or the list command
  bool showDicts = false;  // -D
  int verbosity = 0;       // -v, -vv
  bool version = false;    // --version
  bool json = false;
  std::string dictionary;  // -d
  std::string dataDir;     // --data
  std::string personal;    // -p
  std::string encoding;    // -i
  unsigned jobs = 0;
  std::vector<std::string> files;
  std::vector<std::string> words;  // suggest
  std::vector<std::string> ignored;
};

constexpr char kFooter[] = R"(Examples:
  urduspell check essay.txt          report misspelled words with suggestions
  urduspell check --json *.txt       the same as JSON Lines
  urduspell suggest WORD...          suggestions for single words
  urduspell -l < essay.txt           the misspelled words only, one per line
  urduspell -a                       the ispell pipe protocol, for editors

Exit status: 0 nothing misspelled, 1 something misspelled, 2 an error.
(-l and -a exit with 0 unless there is an error.) See urduspell(1).)";

void AddOptions(CLI::App& app, Options& o) {
  app.add_flag("-a", o.pipe, "Pipe mode: the ispell protocol on standard input, for editors");
  app.add_flag("-l", o.list, "List mode: print each misspelled word, one per line");
  app.add_flag("-D", o.showDicts, "Show the search path and the available data sets (on stderr)");
  app.add_flag("-v", o.verbosity, "Print the version line (-vv: the ispell-compatible line only)");
  app.add_flag("--version", o.version, "Print the version and exit");
  app.add_option("-d", o.dictionary, "Data set: a name (ur, ur_PK), or a folder with a config.ini")
      ->option_text("NAME|DIR");
  app.add_option("--data", o.dataDir, "Folder holding the data set's config.ini (wins over -d)")
      ->option_text("DIR");
  app.add_option("-p", o.personal,
                 "Personal dictionary (default: ~/.local/share/urduspell/personal.dic)")
      ->option_text("FILE");
  app.add_option("-i,--encoding", o.encoding, "Encoding of pipe and list input (only UTF-8)")
      ->option_text("ENC");
  app.add_option("-j,--jobs", o.jobs, "Check with N engines in N threads (default: one per core)")
      ->option_text("N")
      ->check(CLI::PositiveNumber);
  app.add_flag("--json", o.json, "check, suggest: print JSON Lines");
  // Flags that ispell clients pass and that change nothing here.
  for (const char* flag : {"-B", "-C", "-m", "-t", "-n", "-H", "-X", "-O", "-S", "-x"}) {
    app.add_flag(flag)->group("");
  }
  for (const char* option : {"-T", "-w", "-W"}) app.add_option(option, o.ignored)->group("");
  app.add_option("files", o.files, "Text files to check (none or -: standard input)")
      ->option_text("FILE...");
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

void CheckEncoding(const std::string& encoding) {
  if (encoding.empty()) return;
  const std::string e = Lower(encoding);
  if (e != "utf-8" && e != "utf8") {
    throw CliError("only UTF-8 text is supported, not " + encoding);
  }
}

fs::path PersonalDictionary(const Options& o) {
  return o.personal.empty() ? UserDataDir() / "personal.dic" : Absolute(o.personal);
}

int PrintVersion(const Options& o) {
  if (o.version) {
    std::cout << "urduspell " << Version() << "\n";
  } else {
    std::cout << IspellVersionLine() << "\n";
    if (o.verbosity == 1) {
      std::cout << "\nurduspell " << Version()
                << ": a spell checker for Urdu. It speaks the pipe protocol of ispell and of\n"
                   "Hunspell (which the line above names for the clients that parse it).\n";
    }
  }
  return 0;
}

int RunPipeOn(const std::vector<std::string>& files, Engine& engine, WordList& words) {
  PrintBanner(std::cout);
  if (files.empty() || (files.size() == 1 && files[0] == "-")) {
    RunPipe(std::cin, std::cout, engine, words);
    return 0;
  }
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw CliError(file + ": cannot open");
    RunPipe(in, std::cout, engine, words);
  }
  return 0;
}

int Run(const Options& o, const CLI::App& listCommand, const CLI::App& suggestCommand) {
  if (o.version || o.verbosity > 0) return PrintVersion(o);
  CheckEncoding(o.encoding);
  const bool list = o.list || listCommand.parsed();
  if (o.pipe && list) throw CliError("choose one of -a and -l");

  const DataSetEntry dataSet = ResolveDataSet(o.dataDir, o.dictionary);
  if (o.showDicts) {
    ListDictionaries(std::cerr, dataSet);
    if (!o.pipe && !list) return 0;
  }

  const bool quiet = o.pipe || list || !isatty(STDERR_FILENO);
  const fs::path workFolder = PrepareWorkFolder(dataSet.dir, !quiet);
  WordList words(PersonalDictionary(o));

  CheckSettings settings;
  settings.makeEngine = [workFolder] { return std::make_unique<Engine>(workFolder); };
  settings.accepted = &words;
  settings.jobs = o.jobs > 0 ? o.jobs : std::max(1u, std::thread::hardware_concurrency());
  settings.progress = isatty(STDERR_FILENO) != 0;

  if (o.pipe) {
    Engine engine(workFolder);
    return RunPipeOn(o.files, engine, words);
  }
  if (suggestCommand.parsed()) return RunSuggest(o.words, o.json, settings);
  return RunCheck(o.files, list ? Report::kList : o.json ? Report::kJson : Report::kText, settings);
}

}  // namespace
}  // namespace urduspell::cli

int main(int argc, char** argv) {
  using namespace urduspell::cli;
  // Editors pass empty arguments (Emacs puts "" where another checker would get an option).
  std::vector<std::string> args;
  for (int i = argc - 1; i > 0; --i) {
    if (argv[i][0] != '\0') args.emplace_back(argv[i]);
  }

  std::ios::sync_with_stdio(false);  // answers are flushed explicitly where clients wait
  Options o;
  CLI::App app{"Check the spelling of Urdu text.", "urduspell"};
  app.fallthrough();
  app.footer(kFooter);
  AddOptions(app, o);
  CLI::App* check =
      app.add_subcommand("check", "Check files (the default): FILE:LINE:COLUMN: WORD: SUGGESTIONS");
  check->add_option("files", o.files, "Text files (none or -: standard input)");
  CLI::App* list = app.add_subcommand("list", "Print each misspelled word, one per line (as -l)");
  list->add_option("files", o.files, "Text files (none or -: standard input)");
  CLI::App* suggest = app.add_subcommand("suggest", "Say for each WORD \"ok\" or its suggestions");
  suggest->add_option("words", o.words, "Words to look up")->required();
  app.require_subcommand(0, 1);

  try {
    app.parse(args);  // CLI11 takes the arguments in reverse order
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : 2;
  }
  try {
    return Run(o, *list, *suggest);
  } catch (const TRELVAException& e) {
    std::cout.flush();
    std::cerr << "urduspell: " << e.GetFormattedMessage() << std::endl;
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << "urduspell: " << e.what() << std::endl;
  }
  return 2;
}
