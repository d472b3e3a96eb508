#include "config/configmanager.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <random>
#include <span>
#include <string_view>
#include <system_error>

#include "errors/errors.h"
#include "io/filereader.h"
#include "io/filewriter.h"

// config.ini is 8-bit text, no mark, one "key = value" per line (CR LF or LF). The key runs up to
// the next '=' (at most 64 bytes, and not bounded by a line end), the value up to the next line
// feed (at most 512 bytes); both are trimmed. Keys are case-sensitive; a later key wins; unknown
// keys are ignored.

namespace urduspell {

namespace {

constexpr const char* kModule = "configmanager";
constexpr std::int32_t kMaxKeyLength = 64;
constexpr std::int32_t kMaxValueLength = 512;
constexpr std::string_view kBlanks = " \t\n\r";

// The ten settings in file order: the key as written in config.ini and the member it fills.
struct Setting {
  const char* key;
  std::string ConfigManager::*value;
};

constexpr Setting kSettings[] = {
    {"initialize", &ConfigManager::initialize},
    {"wordListFilePath", &ConfigManager::wordListFilePath},
    {"hashTableFilePath", &ConfigManager::hashTableFilePath},
    {"bigramMatrixFilePath", &ConfigManager::bigramMatrixFilePath},
    {"bigramPLFilePath", &ConfigManager::bigramPLFilePath},
    {"unigramListsFilePath", &ConfigManager::unigramListsFilePath},
    {"unigramPLFilePath", &ConfigManager::unigramPLFilePath},
    {"urduAlphabetFilePath", &ConfigManager::urduAlphabetFilePath},
    {"soundexFilePath", &ConfigManager::soundexFilePath},
    {"shapexFilePath", &ConfigManager::shapexFilePath},
};

void Assign(ConfigManager& config, const std::string& fieldName, const std::string& fieldValue) {
  for (const Setting& setting : kSettings) {
    if (fieldName == setting.key) {
      config.*setting.value = fieldValue;
      return;
    }
  }
}

// Reads key/value pairs until the end of the file. The end-of-file test between key and value
// keeps the value read from raising when the key read ran into the end of the file.
void ReadSettings(FileReader& configReader, ConfigManager& config) {
  std::string fieldName;
  std::string fieldValue;
  while (!configReader.IsEof()) {
    if (!configReader.ReadAsciiLine(fieldName, kMaxKeyLength, '=')) continue;
    Trim(fieldName);
    if (configReader.IsEof()) continue;
    if (!configReader.ReadAsciiLine(fieldValue, kMaxValueLength, '\n')) continue;
    Trim(fieldValue);
    Assign(config, fieldName, fieldValue);
  }
}

// "initialize = NO" and the nine paths, each line ending in CR LF.
bool WriteSettings(FileWriter& configWriter, const ConfigManager& config) {
  constexpr char endl[2] = {'\r', '\n'};
  bool ok = configWriter.WriteAscii("initialize = NO") && configWriter.WriteBlock(endl, 2);
  for (const Setting& setting : std::span(kSettings).subspan(1)) {
    ok = ok && configWriter.WriteAscii(std::string(setting.key) + " = ") &&
         configWriter.WriteAscii(config.*setting.value) && configWriter.WriteBlock(endl, 2);
  }
  return ok;
}

std::uint64_t RandomBits() {
  try {
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device();
  } catch (const std::exception&) {
    // No random device: the clock and a stack address still make two writers differ.
    int local = 0;
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
           reinterpret_cast<std::uintptr_t>(&local);
  }
}

bool NameTaken(const std::string& name) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::symlink_status(name, ec));
}

// A name next to config.ini (so that the rename stays on one file system) that nothing uses yet;
// empty when none was found.
std::string TemporaryName() {
  for (int attempt = 0; attempt < 16; ++attempt) {
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(RandomBits()));
    std::string name = std::string(ConfigManager::kFileName) + ".tmp-" + suffix;
    if (!NameTaken(name)) return name;
  }
  return std::string();
}

}  // namespace

std::string Trim(std::string& text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) {
    text.clear();
  } else {
    text = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
  }
  return text;
}

bool ConfigManager::ReadConfig() {
  FileReader configReader;
  try {
    configReader.Open(kFileName, FileMode::Ascii);
  } catch (IOException& ex) {
    RelayWithContext(ex, kModule, __LINE__, kNotOpenedText);
    throw;
  }
  try {
    ReadSettings(configReader, *this);
    configReader.Close();
  } catch (IOException& ex) {
    RelayWithContext(ex, kModule, __LINE__, kReadProblemText);
    throw;
  }
  return true;
}

// Rewrites config.ini without ever leaving it truncated or half written: the new text goes to a
// temporary file in the same folder, which replaces config.ini by a rename only once it has been
// written out whole. On any failure the temporary file is removed, config.ini keeps its old
// content, and the result is false. (std::rename replaces an existing file in one step on POSIX
// systems; where it cannot replace one, the rename fails and the old file stays. The standard
// library cannot force the bytes onto the disk itself before the rename; that is left to the
// file system.)
//
// The writer raises nothing, but should an IOException ever come out of opening or writing, it is
// relayed like every other configuration error, after the temporary file is removed.
bool ConfigManager::WriteConfig() {
  const std::string tempName = TemporaryName();
  if (tempName.empty()) return false;
  FileWriter configWriter;
  bool written = false;
  try {
    if (!configWriter.Open(tempName, FileMode::Ascii, false)) return false;  // nothing created
  } catch (IOException& ex) {
    RelayWithContext(ex, kModule, __LINE__, kNotOpenedText);
    throw;
  }
  try {
    written = WriteSettings(configWriter, *this);
  } catch (IOException& ex) {
    configWriter.Close();
    std::remove(tempName.c_str());
    RelayWithContext(ex, kModule, __LINE__, kNotOpenedText);
    throw;
  }
  const bool closed = configWriter.Close();
  if (!written || !closed || !configWriter.Good() ||
      std::rename(tempName.c_str(), kFileName) != 0) {
    std::remove(tempName.c_str());
    return false;
  }
  return true;
}

}  // namespace urduspell
