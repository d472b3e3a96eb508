#include "common.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace urduspell::cli {
namespace fs = std::filesystem;
namespace {

fs::path HomeDir() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
    return pw->pw_dir;
  }
  throw CliError("cannot find the home folder (HOME is not set)");
}

// XDG base directories must be absolute: a relative value is ignored.
fs::path XdgDir(const char* variable, const char* fallbackUnderHome) {
  if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/') {
    return fs::path(value) / "urduspell";
  }
  return HomeDir() / fallbackUnderHome / "urduspell";
}

}  // namespace

const char* Version() { return URDUSPELL_VERSION; }

fs::path UserCacheDir() { return XdgDir("XDG_CACHE_HOME", ".cache"); }

fs::path UserDataDir() { return XdgDir("XDG_DATA_HOME", ".local/share"); }

fs::path Absolute(const fs::path& path) {
  if (path.is_absolute()) return path.lexically_normal();
  std::error_code ec;
  fs::path base = fs::current_path(ec);
  if (ec) return path;
  return (base / path).lexically_normal();
}

}  // namespace urduspell::cli
