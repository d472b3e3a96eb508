#include "workdir.h"

#include <fcntl.h>
#include <unistd.h>
#include <urduspell/spellcheckerptr.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common.h"

namespace urduspell::cli {
namespace fs = std::filesystem;
namespace {

constexpr char kConfigName[] = "config.ini";

// The source settings a data set's config.ini must name, with what they are for messages.
struct SourceKey {
  const char* key;
  const char* what;
};
constexpr std::array<SourceKey, 4> kSourceKeys = {{
    {"wordListFilePath", "word list"},
    {"urduAlphabetFilePath", "alphabet"},
    {"soundexFilePath", "soundex table"},
    {"shapexFilePath", "shapex table"},
}};

// The derived files, by the relative names the working folder keeps them under.
constexpr std::array<std::pair<const char*, const char*>, 5> kDerivedFiles = {{
    {"hashTableFilePath", "dictionary.hash"},
    {"bigramMatrixFilePath", "bigram.index"},
    {"bigramPLFilePath", "bigram.lists"},
    {"unigramListsFilePath", "unigram.index"},
    {"unigramPLFilePath", "unigram.lists"},
}};

// config.ini values are read up to 512 bytes and trimmed of blanks and line ends.
constexpr std::size_t kMaxConfigValue = 512;

std::string Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && blank(s[b])) ++b;
  while (e > b && blank(s[e - 1])) --e;
  return std::string(s.substr(b, e - b));
}

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw CliError("cannot read " + file.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Settings of a data set's config.ini: "key = value" lines, blanks around both ignored, the
// later of two equal keys winning (as the library reads them).
std::map<std::string, std::string> ReadSettings(const std::string& text) {
  std::map<std::string, std::string> settings;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    settings[Trim(std::string_view(line).substr(0, eq))] =
        Trim(std::string_view(line).substr(eq + 1));
  }
  return settings;
}

struct DataSetFiles {
  fs::path config;
  std::vector<fs::path> sources;  // in the order of kSourceKeys
};

DataSetFiles FindSources(const fs::path& dataDir) {
  DataSetFiles files;
  files.config = dataDir / kConfigName;
  const auto settings = ReadSettings(ReadFile(files.config));
  for (const auto& [key, what] : kSourceKeys) {
    const auto it = settings.find(key);
    if (it == settings.end() || it->second.empty()) {
      throw CliError(files.config.string() + " does not name the " + what + " (" + key + ")");
    }
    // Relative names are meant relative to the data folder.
    fs::path source = (dataDir / it->second).lexically_normal();
    std::error_code ec;
    if (!fs::is_regular_file(source, ec)) {
      throw CliError("the " + std::string(what) + " named in " + files.config.string() +
                     " does not exist: " + source.string());
    }
    const std::string text = source.string();
    if (text.size() > kMaxConfigValue || text.find_first_of("\r\n") != std::string::npos ||
        text.back() == ' ' || text.back() == '\t') {
      throw CliError("the path of the " + std::string(what) +
                     " cannot be written to config.ini (too long, or ends in a blank): " + text);
    }
    files.sources.push_back(source);
  }
  return files;
}

uint64_t Fnv1a(std::string_view text, uint64_t hash = 14695981039346656037ull) {
  for (const unsigned char c : text) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string Hex(uint64_t value, int digits) {
  char buffer[17];
  std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(value));
  return std::string(buffer + 16 - digits);
}

std::string FileStamp(const fs::path& file) {
  std::error_code ec;
  const auto size = fs::file_size(file, ec);
  const auto time = fs::last_write_time(file, ec).time_since_epoch();
  return file.string() + '\n' + std::to_string(size) + '\n' +
         std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(time).count()) + '\n';
}

std::string SafeName(const std::string& name) {
  std::string safe;
  for (const char c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '_' || c == '-' || c == '.';
    safe.push_back(plain ? c : '_');
  }
  return safe.empty() || safe[0] == '.' ? "set" + safe : safe;
}

std::string ConfigText(const DataSetFiles& files) {
  std::string text = "initialize = YES\r\n";
  auto line = [&text](const char* key, const std::string& value) {
    text += std::string(key) + " = " + value + "\r\n";
  };
  line("wordListFilePath", files.sources[0].string());
  for (const auto& [key, name] : kDerivedFiles) line(key, name);
  line("urduAlphabetFilePath", files.sources[1].string());
  line("soundexFilePath", files.sources[2].string());
  line("shapexFilePath", files.sources[3].string());
  return text;
}

void WriteFile(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
  out.close();
  if (!out) throw CliError("cannot write " + file.string());
}

// A working folder is usable when the library has rewritten its config.ini after building.
bool IsBuilt(const fs::path& folder) {
  std::error_code ec;
  if (!fs::is_regular_file(folder / kConfigName, ec)) return false;
  for (const auto& [key, name] : kDerivedFiles) {
    if (!fs::is_regular_file(folder / name, ec)) return false;
  }
  std::ifstream in(folder / kConfigName, std::ios::binary);
  std::string first;
  std::getline(in, first);
  return Trim(first) == "initialize = NO";
}

void RemoveQuietly(const fs::path& path) {
  std::error_code ec;
  fs::remove_all(path, ec);
}

// Moves a folder out of the way under a temporary name, then removes it.
void MoveAside(const fs::path& folder, const fs::path& parent, const std::string& name) {
  std::string pattern = (parent / (name + ".tmp-old-XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) return;
  std::error_code ec;
  const fs::path aside = fs::path(pattern) / "folder";
  fs::rename(folder, aside, ec);
  RemoveQuietly(pattern);
}

// Removes what earlier runs left behind: working folders of older contents of the same data
// folder, and temporary folders of builds that died more than a day ago.
void CleanUp(const fs::path& parent, const std::string& keep, const std::string& samePrefix) {
  const auto dayAgo = fs::file_time_type::clock::now() - std::chrono::hours(24);
  std::error_code ec;
  for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name == keep) continue;
    std::error_code timeError;
    const bool stale = name.find(".tmp-") != std::string::npos &&
                       it->last_write_time(timeError) < dayAgo && !timeError;
    const bool older = name.rfind(samePrefix, 0) == 0 && name.find(".tmp-") == std::string::npos;
    if (stale || older) RemoveQuietly(it->path());
  }
}

// Runs the library in `folder`, whose config.ini says initialize = YES, so that it builds the
// derived files and rewrites config.ini.
void BuildIn(const fs::path& folder) {
  {
    ScopedCwd cwd(folder);
    SpellCheckerPtr builder;
    if (!builder.Initialize()) {
      throw CliError("the library could not initialise the data set in " + folder.string());
    }
  }
  if (!IsBuilt(folder)) {
    throw CliError("the library did not leave the derived files and a rewritten config.ini in " +
                   folder.string());
  }
}

}  // namespace

fs::path PrepareWorkFolder(const fs::path& dataDir, bool announce) {
  const DataSetFiles files = FindSources(dataDir);
  const std::string folderHash = Hex(Fnv1a(dataDir.string()), 8);
  std::string stamp = std::string(Version()) + '\n' + FileStamp(files.config);
  for (const auto& source : files.sources) stamp += FileStamp(source);
  const std::string prefix = SafeName(dataDir.filename().string()) + "-" + folderHash + "-";
  const std::string name = prefix + Hex(Fnv1a(stamp), 12);

  const fs::path parent = UserCacheDir() / "sets";
  const fs::path folder = parent / name;
  if (IsBuilt(folder)) return folder;

  std::error_code ec;
  fs::create_directories(parent, ec);
  if (ec)
    throw CliError("cannot create the working folder " + parent.string() + ": " + ec.message());

  std::string pattern = (parent / (name + ".tmp-XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw CliError("cannot create a folder in " + parent.string() + ": " + std::strerror(errno));
  }
  const fs::path temp = pattern;
  try {
    if (announce) {
      std::cerr << "urduspell: preparing the data set " << dataDir.string()
                << " (first use, this takes a moment)" << std::endl;
    }
    WriteFile(temp / kConfigName, ConfigText(files));
    WriteFile(temp / "source.txt", "Built by urduspell " + std::string(Version()) +
                                       " from the data set in\n" + dataDir.string() + "\n");
    BuildIn(temp);
  } catch (...) {
    RemoveQuietly(temp);
    throw;
  }

  for (int attempt = 0; attempt < 3; ++attempt) {
    fs::rename(temp, folder, ec);
    if (!ec) break;
    if (IsBuilt(folder)) {  // another process finished first; its folder is as good as ours
      RemoveQuietly(temp);
      ec.clear();
      break;
    }
    MoveAside(folder, parent, name);  // incomplete (damaged by hand): out of the way
  }
  if (ec) {
    RemoveQuietly(temp);
    throw CliError("cannot put the working folder in place at " + folder.string() + ": " +
                   ec.message());
  }
  CleanUp(parent, name, prefix);
  return folder;
}

ScopedCwd::ScopedCwd(const fs::path& dir) {
  previous_ = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (chdir(dir.c_str()) != 0) {
    const int error = errno;
    if (previous_ >= 0) close(previous_);
    throw CliError("cannot enter " + dir.string() + ": " + std::strerror(error));
  }
}

ScopedCwd::~ScopedCwd() {
  if (previous_ >= 0) {
    if (fchdir(previous_) != 0) {
      // Nothing sensible to do: every path the tool still uses is absolute.
    }
    close(previous_);
  }
}

}  // namespace urduspell::cli
