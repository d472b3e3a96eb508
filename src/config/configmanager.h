// ConfigManager: the ten settings of config.ini, read from the current directory. ReadConfig
// overwrites only the keys it finds; WriteConfig rewrites the file with "initialize = NO" and the
// nine paths, replacing it atomically (temporary file in the same directory, then rename), so a
// crash or a full disk never leaves a truncated config.ini behind.
#ifndef URDUSPELL_CONFIG_CONFIGMANAGER_H_
#define URDUSPELL_CONFIG_CONFIGMANAGER_H_

#include <string>

namespace urduspell {

// Removes leading and trailing space, tab, LF and CR (nothing else) in place; returns the result.
std::string Trim(std::string& text);

class ConfigManager {
 public:
  static constexpr const char* kFileName = "config.ini";

  bool ReadConfig();  // true, or raises IOException (module "configmanager")
  // True once config.ini has been replaced whole; false leaves it as it was and no temporary
  // file behind.
  bool WriteConfig();

  std::string initialize;
  std::string wordListFilePath;
  std::string hashTableFilePath;
  std::string bigramMatrixFilePath;
  std::string bigramPLFilePath;
  std::string unigramListsFilePath;
  std::string unigramPLFilePath;
  std::string urduAlphabetFilePath;
  std::string soundexFilePath;
  std::string shapexFilePath;
};

}  // namespace urduspell

#endif  // URDUSPELL_CONFIG_CONFIGMANAGER_H_
