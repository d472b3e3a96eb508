// Small shared pieces of the command-line checker: its error type, version and the per-user
// folders it uses.
#ifndef URDUSPELL_TOOLS_COMMON_H_
#define URDUSPELL_TOOLS_COMMON_H_

#include <filesystem>
#include <stdexcept>
#include <string>

namespace urduspell::cli {

// A failure the tool reports as "urduspell: <what>" and exit status 2.
class CliError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The version of the tool, which is the version of the library it is built with.
const char* Version();

// $XDG_CACHE_HOME/urduspell, by default ~/.cache/urduspell: derived data, safe to delete.
std::filesystem::path UserCacheDir();
// $XDG_DATA_HOME/urduspell, by default ~/.local/share/urduspell: the personal dictionary and
// the user's own data sets.
std::filesystem::path UserDataDir();

// Makes `path` absolute against the current directory without touching the file system.
std::filesystem::path Absolute(const std::filesystem::path& path);

}  // namespace urduspell::cli

#endif  // URDUSPELL_TOOLS_COMMON_H_
