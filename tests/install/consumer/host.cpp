// A host that knows urduspell only as an installed package: the public header, the shared library
// and the default data set. Checks the words on its command line and prints one line each:
//   WORD: ok            nothing to correct
//   WORD: S1, S2, ...   misspelled, with suggestions best first
//   WORD: -             misspelled, no suggestion
// The library reads config.ini from the current directory and writes its derived files beside it,
// so the host copies the installed data set into a working folder of its own (the first argument)
// and runs there.
#include <urduspell/spellcheckerptr.h>
#include <urduspell/trelvaexception.h>

#include <filesystem>
#include <iostream>
#include <string>

#ifndef URDUSPELL_HOST_DATASET
#error "URDUSPELL_HOST_DATASET must name the installed data set"
#endif

namespace {

// UTF-8 (the Basic Multilingual Plane is enough here) to the library's UTF-16LE word bytes.
std::string ToUtf16Le(const std::string& utf8) {
  std::string bytes;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    unsigned value = lead;
    int extra = lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    value &= extra == 2 ? 0x0F : extra == 1 ? 0x1F : 0x7F;
    for (int k = 1; k <= extra && i + k < utf8.size(); ++k) {
      value = (value << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    i += extra + 1;
    bytes.push_back(static_cast<char>(value & 0xFF));
    bytes.push_back(static_cast<char>(value >> 8));
  }
  bytes.append(2, '\0');
  return bytes;
}

std::string FromUtf16Le(const char* bytes) {
  std::string utf8;
  for (int i = 0; i + 1 < 40; i += 2) {
    const unsigned value = static_cast<unsigned char>(bytes[i]) |
                           (static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1])) << 8);
    if (value == 0) break;
    if (value < 0x80) {
      utf8.push_back(static_cast<char>(value));
    } else if (value < 0x800) {
      utf8.push_back(static_cast<char>(0xC0 | (value >> 6)));
      utf8.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else {
      utf8.push_back(static_cast<char>(0xE0 | (value >> 12)));
      utf8.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
      utf8.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    }
  }
  return utf8;
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  if (argc < 2) {
    std::cerr << "usage: host WORKDIR WORD...\n";
    return 2;
  }
  const fs::path work = argv[1];
  try {
    // First start: copy the data set in; later starts find it (and the derived files) there.
    if (!fs::exists(work / "config.ini")) {
      fs::create_directories(work);
      fs::copy(URDUSPELL_HOST_DATASET, work,
               fs::copy_options::recursive | fs::copy_options::overwrite_existing);
      for (const auto& entry : fs::directory_iterator(work)) {
        fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
      }
    }
    fs::current_path(work);

    SpellCheckerPtr checker;
    if (!checker.Initialize()) {
      std::cerr << "host: Initialize() returned false\n";
      return 1;
    }
    char buffers[10][40];
    char* suggestions[10];
    for (int i = 0; i < 10; ++i) suggestions[i] = buffers[i];
    for (int a = 2; a < argc; ++a) {
      std::string word = ToUtf16Le(argv[a]);
      const int n = checker.SpellCheck(reinterpret_cast<unsigned char*>(word.data()), suggestions);
      std::cout << argv[a] << ":";
      if (n < 0) std::cout << " ok";
      if (n == 0) std::cout << " -";
      for (int i = 0; i < n; ++i) std::cout << (i == 0 ? " " : ", ") << FromUtf16Le(buffers[i]);
      std::cout << "\n";
    }
  } catch (const TRELVAException& e) {
    std::cerr << "host: " << e.GetFormattedMessage() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "host: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
