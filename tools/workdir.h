// The per-user working folder of a data set.
//
// The library reads config.ini from the current directory and, on the first run of a data set
// (initialize = YES), builds five derived files and rewrites config.ini. A data folder may be
// read-only and may be shared by many users, so the tool never runs the library there. Instead
// each data set gets a working folder of its own under the user's cache:
//
//   $XDG_CACHE_HOME/urduspell/sets/<name>-<folder hash>-<content hash>/
//     config.ini          the four source files by absolute path, the five derived files by
//                         relative name (resolved against this folder, the current directory
//                         while the library initialises)
//     dictionary.hash, bigram.index, bigram.lists, unigram.index, unigram.lists
//     source.txt          which data folder this was built from (for people, not read back)
//
// The content hash covers the data folder's config.ini and the four source files (path, size,
// modification time) and the tool's version, so a changed data set gets a fresh folder. A folder
// is built in a temporary sibling and renamed into place when complete: a process that finds the
// folder can trust it, and two processes building at once each build their own and the loser of
// the rename throws its copy away.
#ifndef URDUSPELL_TOOLS_WORKDIR_H_
#define URDUSPELL_TOOLS_WORKDIR_H_

#include <filesystem>

namespace urduspell::cli {

// Returns the working folder of the data set in `dataDir`, building it first when needed (which
// `announce` reports on stderr). Throws CliError, or the library's exceptions from the build.
std::filesystem::path PrepareWorkFolder(const std::filesystem::path& dataDir, bool announce);

// Makes a folder the current directory for the life of the object, then returns to the previous
// one (by descriptor, so a previous directory without a usable name is found again too).
class ScopedCwd {
 public:
  explicit ScopedCwd(const std::filesystem::path& dir);
  ~ScopedCwd();
  ScopedCwd(const ScopedCwd&) = delete;
  ScopedCwd& operator=(const ScopedCwd&) = delete;

 private:
  int previous_ = -1;
};

}  // namespace urduspell::cli

#endif  // URDUSPELL_TOOLS_WORKDIR_H_
