// Finding data sets. A data set is a folder holding a config.ini that names a word list, an
// alphabet and the soundex and shapex tables. Named data sets live in the folders of the search
// path, one subfolder each, the folder name being the data set's name:
//   1. the user's own:   $XDG_DATA_HOME/urduspell/<name>   (~/.local/share/urduspell/<name>)
//   2. the build tree's: <source>/data/<name>              (only when run from the build tree)
//   3. the installed:    <prefix>/share/urduspell/<name>   (found next to the executable, then
//                                                           at the configured install prefix)
// The default data set is "ur"; "ur_PK" names it too.
#ifndef URDUSPELL_TOOLS_DATASET_H_
#define URDUSPELL_TOOLS_DATASET_H_

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace urduspell::cli {

inline constexpr char kDefaultDataSet[] = "ur";

struct DataSetEntry {
  std::string name;
  std::filesystem::path dir;
};

std::vector<std::filesystem::path> DataSearchPath();

// Every named data set of the search path (the first of a name wins), then the aliases.
std::vector<DataSetEntry> AvailableDataSets();

// Resolves what the user asked for: `dataDir` (--data, a folder) wins over `dictionary` (-d: a
// name, a folder, or a path printed by -D); with neither, the default data set. Returns the
// absolute folder, or throws CliError.
DataSetEntry ResolveDataSet(const std::string& dataDir, const std::string& dictionary);

// Prints, for -D, the search path, the available data sets and the one in use, in the layout
// that ispell-compatible clients parse (Emacs keeps the absolute paths and expects "<path>.aff"
// beside each). Those .aff files are small descriptors written into the cache folder: they tell
// an editor the encoding and the characters that may join a word.
void ListDictionaries(std::ostream& out, const DataSetEntry& loaded);

}  // namespace urduspell::cli

#endif  // URDUSPELL_TOOLS_DATASET_H_
