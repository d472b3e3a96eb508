#include "config/configmanager.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "errors/errors.h"
#include "testutil.h"

namespace {

namespace fs = std::filesystem;
using testutil::Bytes;
using testutil::Hex;
using testutil::ReadBytes;
using testutil::ScopedCwd;
using testutil::TempDir;
using testutil::WriteText;
using urduspell::ConfigManager;
using urduspell::Trim;

using Settings = std::map<std::string, std::string>;

const char* const kKeys[] = {"initialize",           "wordListFilePath",     "hashTableFilePath",
                             "bigramMatrixFilePath", "bigramPLFilePath",     "unigramListsFilePath",
                             "unigramPLFilePath",    "urduAlphabetFilePath", "soundexFilePath",
                             "shapexFilePath"};

std::string* Field(ConfigManager& config, const std::string& key) {
  std::string* fields[] = {&config.initialize,        &config.wordListFilePath,
                           &config.hashTableFilePath, &config.bigramMatrixFilePath,
                           &config.bigramPLFilePath,  &config.unigramListsFilePath,
                           &config.unigramPLFilePath, &config.urduAlphabetFilePath,
                           &config.soundexFilePath,   &config.shapexFilePath};
  for (int i = 0; i < 10; ++i) {
    if (key == kKeys[i]) return fields[i];
  }
  return nullptr;
}

Settings Read(ConfigManager& config) {
  Settings out;
  for (const char* key : kKeys) out[key] = *Field(config, key);
  return out;
}

// Every setting "old", then the given ones.
Settings OldExcept(const Settings& changed) {
  Settings out;
  for (const char* key : kKeys) out[key] = "old";
  for (const auto& [key, value] : changed) out[key] = value;
  return out;
}

std::vector<std::string> TemporaryFilesIn(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("config.ini.tmp", 0) == 0) names.push_back(name);
  }
  return names;
}

const std::string kFullFile =
    "initialize = YES\r\n"
    "wordListFilePath = words.txt\r\n"
    "hashTableFilePath = dict.bin\r\n"
    "bigramMatrixFilePath = bimatrix.bin\r\n"
    "bigramPLFilePath = bipl.bin\r\n"
    "unigramListsFilePath = unilists.bin\r\n"
    "unigramPLFilePath = unipl.bin\r\n"
    "urduAlphabetFilePath = alphabet.txt\r\n"
    "soundexFilePath = soundex.txt\r\n"
    "shapexFilePath = shapex.txt\r\n";

const Settings kFullSettings = {
    {"initialize", "YES"},
    {"wordListFilePath", "words.txt"},
    {"hashTableFilePath", "dict.bin"},
    {"bigramMatrixFilePath", "bimatrix.bin"},
    {"bigramPLFilePath", "bipl.bin"},
    {"unigramListsFilePath", "unilists.bin"},
    {"unigramPLFilePath", "unipl.bin"},
    {"urduAlphabetFilePath", "alphabet.txt"},
    {"soundexFilePath", "soundex.txt"},
    {"shapexFilePath", "shapex.txt"},
};

class ConfigManagerTest : public ::testing::Test {
 protected:
  ConfigManagerTest() : cwd_(dir_.path()) {}

  TempDir dir_;
  ScopedCwd cwd_;  // config.ini is read from and written to the current directory
};

TEST(TrimTest, RemovesOnlyBlanksTabsAndLineEndsFromBothEnds) {
  struct Case {
    std::string input;
    std::string expected;
  } cases[] = {
      {"", ""},
      {" \t\r\n \r\n", ""},
      {"a", "a"},
      {"  \tpath with  inner blanks.txt \r\n", "path with  inner blanks.txt"},
      {"\r\n\tx", "x"},
      {"\va\f", "\va\f"},          // vertical tab and form feed stay
      {"\xA0x\xA0", "\xA0x\xA0"},  // so do non-ASCII blanks
      {std::string(" \0 ", 3), std::string("\0", 1)},
  };
  for (const Case& c : cases) {
    std::string text = c.input;
    const std::string returned = Trim(text);
    EXPECT_EQ(text, c.expected) << Hex(Bytes(c.input.begin(), c.input.end()));
    EXPECT_EQ(returned, c.expected) << Hex(Bytes(c.input.begin(), c.input.end()));
  }
}

TEST_F(ConfigManagerTest, ReadsSettingsAsTheFormatSays) {
  const std::string longKeyLine(70, 'x');
  const std::string longValue(512, 'v');
  struct Case {
    const char* label;
    std::string content;
    Settings expected;
  } cases[] = {
      {"all ten, CR LF lines", kFullFile, kFullSettings},
      {"LF lines, no final line end, any order",
       "shapexFilePath=s\ninitialize=NO\nwordListFilePath=w",
       OldExcept({{"shapexFilePath", "s"}, {"initialize", "NO"}, {"wordListFilePath", "w"}})},
      {"runs of blanks around key and value", "  \t wordListFilePath \t =  \t w.txt  \t\r\n",
       OldExcept({{"wordListFilePath", "w.txt"}})},
      {"inner blanks and '=' stay in the value", "soundexFilePath = my dir/a=b.txt\r\n",
       OldExcept({{"soundexFilePath", "my dir/a=b.txt"}})},
      {"keys are case-sensitive", "WordListFilePath = w.txt\r\n", OldExcept({})},
      {"unknown keys and comment lines with '=' are ignored",
       "# note = this\r\nfoo = bar\r\nhashTableFilePath = h.bin\r\n",
       OldExcept({{"hashTableFilePath", "h.bin"}})},
      {"the later key wins", "initialize = YES\r\ninitialize = NO\r\n",
       OldExcept({{"initialize", "NO"}})},
      {"a line without '=' swallows the next key",
       "# comment\r\nwordListFilePath = w.txt\r\nhashTableFilePath = h.bin\r\n",
       OldExcept({{"hashTableFilePath", "h.bin"}})},
      {"an empty or blank line does not", "\r\n  \t\r\nwordListFilePath = w.txt\r\n",
       OldExcept({{"wordListFilePath", "w.txt"}})},
      {"a line of 64 bytes or more without '=' is a key of its own",
       longKeyLine + "\nwordListFilePath = w.txt\n", OldExcept({{"wordListFilePath", "w.txt"}})},
      {"a value is cut at 512 bytes and the rest is read as the next key",
       "shapexFilePath=" + longValue + "initialize=cut\n",
       OldExcept({{"shapexFilePath", longValue}, {"initialize", "cut"}})},
      {"a UTF-8 mark becomes part of the first key",
       "\xEF\xBB\xBFinitialize = YES\r\nwordListFilePath = w.txt\r\n",
       OldExcept({{"wordListFilePath", "w.txt"}})},
      {"'=' then a line feed leaves the setting unchanged", "initialize=\nwordListFilePath=w\n",
       OldExcept({{"wordListFilePath", "w"}})},
      {"'=' then a blank and CR LF empties the setting", "initialize= \r\n",
       OldExcept({{"initialize", ""}})},
      {"a key at the end of the file without '='", "initialize", OldExcept({})},
      {"a key and '=' at the end of the file", "initialize =", OldExcept({})},
      {"an empty file", "", OldExcept({})},
  };
  for (const Case& c : cases) {
    WriteText("config.ini", c.content);
    ConfigManager config;
    for (const char* key : kKeys) *Field(config, key) = "old";
    EXPECT_TRUE(config.ReadConfig()) << c.label;
    EXPECT_EQ(Read(config), c.expected) << c.label;
  }
}

TEST_F(ConfigManagerTest, NewSettingsAreEmptyAndAnEmptyFileKeepsThemSo) {
  WriteText("config.ini", "");
  ConfigManager config;
  EXPECT_TRUE(config.ReadConfig());
  for (const char* key : kKeys) EXPECT_EQ(*Field(config, key), "") << key;
}

TEST_F(ConfigManagerTest, ASecondReadKeepsSettingsTheFileNoLongerNames) {
  ConfigManager config;
  WriteText("config.ini", kFullFile);
  ASSERT_TRUE(config.ReadConfig());
  WriteText("config.ini", "initialize = NO\r\n");
  ASSERT_TRUE(config.ReadConfig());
  Settings expected = kFullSettings;
  expected["initialize"] = "NO";
  EXPECT_EQ(Read(config), expected);
}

TEST_F(ConfigManagerTest, AConfigFileThatCannotBeOpenedIsRelayedWithContext) {
  struct Case {
    const char* label;
    std::function<void()> prepare;
  } cases[] = {
      {"missing", [] {}},
      {"a folder", [] { fs::create_directory("config.ini"); }},
  };
  for (const Case& c : cases) {
    fs::remove_all("config.ini");
    c.prepare();
    ConfigManager config;
    try {
      config.ReadConfig();
      ADD_FAILURE() << c.label << ": raised nothing";
    } catch (IOException& ex) {
      EXPECT_EQ(ex.GetFile(), "configmanager") << c.label;
      EXPECT_EQ(ex.GetCode(), 0x10) << c.label;
      EXPECT_EQ(ex.GetMessage(),
                "Could not open file: config.ini. Config file not opened sucessfully.")
          << c.label;
    }
  }
}

TEST_F(ConfigManagerTest, WriteConfigWritesTheTenLinesAndReadsBack) {
  WriteText("config.ini", "stale = content\r\n" + kFullFile);
  ConfigManager config;
  ASSERT_TRUE(config.ReadConfig());
  config.soundexFilePath = "";  // an empty value is written as nothing after " = "
  ASSERT_TRUE(config.WriteConfig());
  const std::string expected =
      "initialize = NO\r\n"
      "wordListFilePath = words.txt\r\n"
      "hashTableFilePath = dict.bin\r\n"
      "bigramMatrixFilePath = bimatrix.bin\r\n"
      "bigramPLFilePath = bipl.bin\r\n"
      "unigramListsFilePath = unilists.bin\r\n"
      "unigramPLFilePath = unipl.bin\r\n"
      "urduAlphabetFilePath = alphabet.txt\r\n"
      "soundexFilePath = \r\n"
      "shapexFilePath = shapex.txt\r\n";
  EXPECT_EQ(Hex(ReadBytes("config.ini")), Hex(Bytes(expected.begin(), expected.end())));
  EXPECT_EQ(config.initialize, "YES");  // only the file says NO
  EXPECT_TRUE(TemporaryFilesIn(".").empty());

  ConfigManager reread;
  ASSERT_TRUE(reread.ReadConfig());
  Settings settings = kFullSettings;
  settings["initialize"] = "NO";
  settings["soundexFilePath"] = "";
  EXPECT_EQ(Read(reread), settings);
}

// Lowers the largest file this process may write, as a full disk would, for its lifetime. Root
// is bound by it too. Writing past it raises SIGXFSZ, which is ignored meanwhile so that the
// write fails instead.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit lowered = previous_;
    lowered.rlim_cur = bytes;
    previousHandler_ = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  sighandler_t previousHandler_ = SIG_DFL;
};

TEST_F(ConfigManagerTest, WriteConfigThatCannotFinishLeavesTheOldFileAndNoTemporary) {
  const std::string old = "initialize = YES\r\nwordListFilePath = keep.txt\r\n";
  struct Case {
    const char* label;
    // Sets the failure up in the current directory and runs WriteConfig under it.
    std::function<bool(ConfigManager&)> writeUnderFailure;
    bool configIsFolder;
  } cases[] = {
      {"the new text cannot be written out whole (file size limit, as a full disk)",
       [](ConfigManager& config) {
         FileSizeLimit limit(40);
         return config.WriteConfig();
       },
       false},
      {"config.ini cannot be replaced (it is a folder, so the rename fails)",
       [](ConfigManager& config) { return config.WriteConfig(); }, true},
  };
  for (const Case& c : cases) {
    fs::remove_all("config.ini");
    if (c.configIsFolder) {
      fs::create_directory("config.ini");
      WriteText("config.ini/inside.txt", old);
    } else {
      WriteText("config.ini", old);
    }
    ConfigManager config;
    config.wordListFilePath = std::string(100, 'w');  // more than the limit lets through
    EXPECT_FALSE(c.writeUnderFailure(config)) << c.label;
    if (c.configIsFolder) {
      EXPECT_TRUE(fs::is_directory("config.ini")) << c.label;
      EXPECT_EQ(Hex(ReadBytes("config.ini/inside.txt")), Hex(Bytes(old.begin(), old.end())))
          << c.label;
    } else {
      EXPECT_EQ(Hex(ReadBytes("config.ini")), Hex(Bytes(old.begin(), old.end()))) << c.label;
    }
    EXPECT_EQ(TemporaryFilesIn("."), std::vector<std::string>()) << c.label;
  }
}

TEST_F(ConfigManagerTest, WriteConfigInAFolderThatIsGoneReportsFailure) {
  // The current directory is removed under us: nothing can be created in it, even by root.
  const fs::path gone = dir_.path() / "gone";
  fs::create_directory(gone);
  ScopedCwd into(gone);
  fs::remove(gone);
  ConfigManager config;
  EXPECT_FALSE(config.WriteConfig());
}

}  // namespace
