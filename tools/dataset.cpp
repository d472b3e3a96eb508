#include "dataset.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "common.h"

namespace urduspell::cli {
namespace fs = std::filesystem;
namespace {

constexpr char kConfigName[] = "config.ini";

bool HasConfig(const fs::path& dir) {
  std::error_code ec;
  return fs::is_regular_file(dir / kConfigName, ec);
}

fs::path ExecutablePath() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : exe;
}

bool IsInside(const fs::path& file, const fs::path& dir) {
  std::error_code ec;
  const fs::path canonicalDir = fs::weakly_canonical(dir, ec);
  if (ec || canonicalDir.empty()) return false;
  const auto rel = file.lexically_relative(canonicalDir);
  return !rel.empty() && *rel.begin() != "..";
}

// Aliases of a data set name that editors and locales use.
std::vector<std::pair<std::string, std::string>> Aliases() { return {{"ur_PK", "ur"}}; }

std::string AliasTarget(const std::string& name) {
  for (const auto& [alias, target] : Aliases()) {
    if (alias == name) return target;
  }
  return name;
}

void WriteDescriptor(const fs::path& file, const DataSetEntry& entry) {
  const std::string text =
      "# urduspell data set \"" + entry.name + "\": " + entry.dir.string() +
      "\n"
      "# Written by urduspell -D for editors that read a Hunspell-style affix file to learn\n"
      "# the encoding and which characters may join a word (here the zero-width non-joiner).\n"
      "# urduspell itself reads the config.ini of the folder above; this file is not used.\n"
      "SET UTF-8\n"
      "WORDCHARS \xE2\x80\x8C\n";
  std::ifstream existing(file, std::ios::binary);
  const std::string current((std::istreambuf_iterator<char>(existing)), {});
  if (current == text) return;
  // Write beside and rename, so a client reading concurrently never sees half a file.
  const fs::path temp = file.string() + ".tmp-" + std::to_string(getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw CliError("cannot write " + temp.string());
  }
  std::error_code ec;
  fs::rename(temp, file, ec);
  if (ec) {
    fs::remove(temp, ec);
    throw CliError("cannot write " + file.string());
  }
}

}  // namespace

std::vector<fs::path> DataSearchPath() {
  std::vector<fs::path> candidates;
  candidates.push_back(UserDataDir());
  const fs::path exe = ExecutablePath();
  if (!exe.empty() && IsInside(exe, URDUSPELL_BUILD_DIR)) {
    candidates.emplace_back(URDUSPELL_SOURCE_DATA_DIR);
  } else if (!exe.empty()) {
    candidates.push_back(
        (exe.parent_path() / ".." / URDUSPELL_INSTALL_DATADIR / "urduspell").lexically_normal());
  }
  candidates.emplace_back(fs::path(URDUSPELL_INSTALL_FULL_DATADIR) / "urduspell");

  std::vector<fs::path> path;
  std::set<fs::path> seen;
  for (const auto& dir : candidates) {
    std::error_code ec;
    fs::path key = fs::weakly_canonical(dir, ec);
    if (ec) key = dir;
    if (seen.insert(key).second) path.push_back(dir);
  }
  return path;
}

std::vector<DataSetEntry> AvailableDataSets() {
  std::vector<DataSetEntry> found;
  auto known = [&found](const std::string& name) {
    return std::any_of(found.begin(), found.end(),
                       [&name](const DataSetEntry& e) { return e.name == name; });
  };
  for (const auto& dir : DataSearchPath()) {
    std::error_code ec;
    std::vector<DataSetEntry> here;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      if (it->is_directory(ec) && HasConfig(it->path()) && !known(name)) {
        here.push_back({name, it->path()});
      }
    }
    std::sort(here.begin(), here.end(),
              [](const DataSetEntry& a, const DataSetEntry& b) { return a.name < b.name; });
    found.insert(found.end(), here.begin(), here.end());
  }
  for (const auto& [alias, target] : Aliases()) {
    if (known(alias)) continue;
    for (const auto& entry : found) {
      if (entry.name == target) {
        found.push_back({alias, entry.dir});
        break;
      }
    }
  }
  return found;
}

DataSetEntry ResolveDataSet(const std::string& dataDir, const std::string& dictionary) {
  if (!dataDir.empty()) {
    const fs::path dir = Absolute(dataDir);
    if (!HasConfig(dir)) throw CliError("no config.ini in the data folder " + dir.string());
    return {dir.filename().string(), dir};
  }
  std::string name = dictionary.empty() ? kDefaultDataSet : dictionary;
  if (name.find('/') != std::string::npos) {
    const fs::path dir = Absolute(name);
    if (HasConfig(dir)) return {dir.filename().string(), dir};
    // A path printed by -D: <cache>/dicts/<name> or <name>.aff.
    fs::path file = dir.filename();
    if (file.extension() == ".aff") file.replace_extension();
    name = file.string();
  }
  const std::string wanted = AliasTarget(name);
  for (const auto& entry : AvailableDataSets()) {
    if (entry.name == name || entry.name == wanted) return {name, entry.dir};
  }
  if (HasConfig(Absolute(name))) return {name, Absolute(name)};
  if (dictionary.empty()) {
    throw CliError("the default Urdu data set is not installed (looked for \"" + name +
                   "\" in the folders that urduspell -D lists); name another with --data DIR");
  }
  throw CliError("no data set named \"" + name + "\" (urduspell -D lists them)");
}

void ListDictionaries(std::ostream& out, const DataSetEntry& loaded) {
  const fs::path descriptors = UserCacheDir() / "dicts";
  std::error_code ec;
  fs::create_directories(descriptors, ec);
  if (ec) throw CliError("cannot create " + descriptors.string() + ": " + ec.message());

  std::vector<DataSetEntry> sets = AvailableDataSets();
  const bool listed = std::any_of(
      sets.begin(), sets.end(), [&loaded](const DataSetEntry& e) { return e.name == loaded.name; });
  if (!listed) sets.push_back(loaded);

  std::string searchPath;
  for (const auto& dir : DataSearchPath()) {
    searchPath += (searchPath.empty() ? "" : ":") + dir.string();
  }
  out << "SEARCH PATH:\n" << searchPath << "\n";
  out << "AVAILABLE DICTIONARIES (path is not mandatory for -d option):\n";
  for (const auto& entry : sets) {
    WriteDescriptor(descriptors / (entry.name + ".aff"), entry);
    out << (descriptors / entry.name).string() << "\n";
  }
  out << "LOADED DICTIONARY:\n"
      << (descriptors / (loaded.name + ".aff")).string() << "\n"
      << (loaded.dir / kConfigName).string() << "\n";
  out.flush();
}

}  // namespace urduspell::cli
