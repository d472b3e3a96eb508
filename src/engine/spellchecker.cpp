#include "engine/spellchecker.h"

#include <cstdlib>

#include "errors/errors.h"

namespace urduspell {

namespace {
constexpr const char* kModule = "spellchecker";
}

SpellChecker::~SpellChecker() {
  unigramPLReader.Close();
  bigramPLReader.Close();
}

void SpellChecker::ClearResources() {
  charMap.Clear();
  hashTable.Clear();
  postingLists.Clear();
  postingLists.SetAlphabetSize(0);
  candidateIndex.Clear();
  soundexTable.fill(0);
  shapexTable.fill(0);
}

bool SpellChecker::Initialize() {
  // Starting over: a second initialisation behaves like the first instead of numbering the
  // alphabet on from the letters already held.
  ClearResources();
  if (!config.ReadConfig()) return false;
  if (!charMap.Load(config.urduAlphabetFilePath)) return false;
  postingLists.SetAlphabetSize(charMap.GetSize());

  if (config.initialize == "YES") {
    hashTable.Build(config.wordListFilePath, charMap);
    postingLists.BuildPostingLists(hashTable, charMap);
    hashTable.Save(config.hashTableFilePath);
    postingLists.SavePostingLists(config);
    config.WriteConfig();
  } else if (config.initialize == "NO") {
    hashTable.Load(config.hashTableFilePath);
    postingLists.LoadPostingListIndexes(config);
  }
  candidateIndex.Build(hashTable, charMap);

  OpenPostingListFiles();
  LoadSoundex(config.soundexFilePath);
  LoadShapex(config.shapexFilePath);
  return true;
}

void SpellChecker::OpenPostingListFiles() {
  try {
    bigramPLReader.Open(config.bigramPLFilePath, FileMode::Unicode);
    unigramPLReader.Open(config.unigramPLFilePath, FileMode::Unicode);
  } catch (IOException& ex) {
    RelayWithContext(ex, kModule, __LINE__, kReadProblemText);
    throw;
  }
  bigramPLBytes = bigramPLReader.GetSize() - 2;
  unigramPLBytes = unigramPLReader.GetSize() - 2;
}

bool SpellChecker::LoadSoundex(std::string path) {
  LoadClassTable(path, soundexTable);
  return true;
}

bool SpellChecker::LoadShapex(std::string path) {
  LoadClassTable(path, shapexTable);
  return true;
}

// Lines "code point in hex = class in decimal"; see docs/formats.md, "Class tables".
void SpellChecker::LoadClassTable(const std::string& path, ClassTable& table) {
  table.fill(0);
  FileReader reader;
  try {
    reader.Open(path, FileMode::Ascii);
  } catch (IOException& ex) {
    RelayWithContext(ex, kModule, __LINE__, kNotOpenedText);
    throw;
  }
  try {
    std::string unicode;
    std::string value;
    while (!reader.IsEof()) {
      if (reader.ReadAsciiLine(unicode, 10, '=')) reader.ReadAsciiLine(value, 5, '\n');
      Trim(unicode);
      Trim(value);
      const long key = std::strtol(unicode.c_str(), nullptr, 16);
      const int cls = std::atoi(value.c_str());
      if (key >= kClassTableFirst && key < kClassTableFirst + kClassTableSize) {
        table[static_cast<std::size_t>(key - kClassTableFirst)] = static_cast<std::uint8_t>(cls);
      }
    }
    reader.Close();
  } catch (IOException& ex) {
    RelayWithContext(ex, kModule, __LINE__, kNotOpenedText);
    throw;
  }
}

std::int32_t SpellChecker::ClassCode(const ClassTable& table, const std::u16string& word) {
  std::uint32_t code = 0;  // two's complement wrap-around, as the stored codes expect
  for (char16_t c : word) {
    if (c < kClassTableFirst || c >= kClassTableFirst + kClassTableSize) continue;
    const std::uint8_t v = table[c - kClassTableFirst];
    if (v != 0) code = code * 10u + v;
  }
  std::int32_t result = static_cast<std::int32_t>(code);
  while (result > 0 && result < 1000) result *= 10;
  return result;
}

std::int32_t SpellChecker::SoundexCode(const std::u16string& word) const {
  return ClassCode(soundexTable, word);
}

std::int32_t SpellChecker::ShapexCode(const std::u16string& word) const {
  return ClassCode(shapexTable, word);
}

}  // namespace urduspell
