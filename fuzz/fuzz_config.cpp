// config.ini through ConfigManager::ReadConfig; what was read must survive WriteConfig and a
// second ReadConfig.
#include "config/configmanager.h"
#include "fuzz_util.h"

namespace {

using urduspell::ConfigManager;

constexpr std::string ConfigManager::*kPaths[] = {
    &ConfigManager::wordListFilePath,     &ConfigManager::hashTableFilePath,
    &ConfigManager::bigramMatrixFilePath, &ConfigManager::bigramPLFilePath,
    &ConfigManager::unigramListsFilePath, &ConfigManager::unigramPLFilePath,
    &ConfigManager::urduAlphabetFilePath, &ConfigManager::soundexFilePath,
    &ConfigManager::shapexFilePath,
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (fuzzutil::SeedFolder() != nullptr) {
    fuzzutil::WriteSeeds({
        fuzzutil::ConfigFile("YES"),
        fuzzutil::ConfigFile("NO"),
        "initialize=NO\nwordListFilePath=a=b.txt\n# comment\nhashTableFilePath = h.bin",
        "\xEF\xBB\xBFinitialize = YES\r\n  soundexFilePath   =   s x.txt  \r\n\r\n",
    });
  }
  fuzzutil::WorkDir();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzutil::WriteFile("config.ini", data, size);
  ConfigManager config;
  try {
    if (!config.ReadConfig()) fuzzutil::Fail("ReadConfig returned false");
  } catch (const TRELVAException&) {
    return 0;
  }
  if (!config.WriteConfig()) fuzzutil::Fail("WriteConfig failed in a writable folder");
  ConfigManager again;
  again.ReadConfig();
  if (again.initialize != "NO") fuzzutil::Fail("the rewritten file does not say NO");
  for (auto path : kPaths) {
    // A value of 510 bytes or more is cut when read back: " = " and CR take room in the line.
    if ((config.*path).size() < 510 && again.*path != config.*path) {
      fuzzutil::Fail("a path changed through WriteConfig and ReadConfig");
    }
  }
  return 0;
}
