// A host built the way a third party builds one: the public header and the shared library,
// nothing else of the project. Exceptions must be caught by type across the library boundary.
#include <urduspell/spellcheckerptr.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace fs = std::filesystem;

namespace {

class ScratchFolder {
 public:
  ScratchFolder() : previous_(fs::current_path()) {
    path_ = fs::temp_directory_path() / ("urduspell-host-" + std::to_string(std::random_device()()));
    fs::create_directories(path_);
    fs::current_path(path_);
  }
  ~ScratchFolder() {
    fs::current_path(previous_);
    fs::remove_all(path_);
  }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
  }

 private:
  fs::path previous_;
  fs::path path_;
};

std::string Config(const std::string& initialize) {
  return "initialize = " + initialize +
         "\r\nwordListFilePath = words.txt\r\nhashTableFilePath = hash.bin\r\n"
         "bigramMatrixFilePath = bigram.idx\r\nbigramPLFilePath = bigram.pl\r\n"
         "unigramListsFilePath = unigram.idx\r\nunigramPLFilePath = unigram.pl\r\n"
         "urduAlphabetFilePath = alphabet.txt\r\nsoundexFilePath = soundex.txt\r\n"
         "shapexFilePath = shapex.txt\r\n";
}

enum class Caught { IO, Memory, Base, Nothing };

Caught InitializeAndCatch() {
  SpellCheckerPtr handle;
  try {
    handle.Initialize();
  } catch (IOException& ex) {
    return ex.GetFormattedMessage().rfind("Error Code (0x", 0) == 0 ? Caught::IO : Caught::Nothing;
  } catch (MemoryAllocationException&) {
    return Caught::Memory;
  } catch (TRELVAException& ex) {
    EXPECT_EQ(ex.GetCode(), 0);
    EXPECT_EQ(ex.GetMessage(), "Alphabet size not set");
    return Caught::Base;
  }
  return Caught::Nothing;
}

TEST(LibraryBoundary, IOExceptionIsCaughtByItsType) {
  ScratchFolder folder;  // no config.ini at all
  EXPECT_EQ(InitializeAndCatch(), Caught::IO);
}

TEST(LibraryBoundary, BaseTypePassesIOExceptionHandlers) {
  // An alphabet with no letters, asked to load: the unigram index cannot be loaded without an
  // alphabet size, which is the base type itself.
  ScratchFolder folder;
  folder.Write("config.ini", Config("NO"));
  folder.Write("alphabet.txt", std::string("\xFF\xFE", 2));
  folder.Write("hash.bin", std::string("\xFF\xFE\0\0\0\0", 6));
  EXPECT_EQ(InitializeAndCatch(), Caught::Base);
}

TEST(LibraryBoundary, MemoryAllocationExceptionIsCaughtByItsType) {
  // 200,000 alphabet lines ask for a bigram index of 4 * 10^10 records, far more memory than
  // any machine lends: the index loader reports exhausted memory.
  ScratchFolder folder;
  folder.Write("config.ini", Config("NO"));
  std::string alphabet("\xFF\xFE", 2);
  for (int i = 0; i < 200000; ++i) alphabet += std::string("\x27\x06\x0A\x00", 4);
  folder.Write("alphabet.txt", alphabet);
  folder.Write("hash.bin", std::string("\xFF\xFE\0\0\0\0", 6));
  EXPECT_EQ(InitializeAndCatch(), Caught::Memory);
}

}  // namespace
