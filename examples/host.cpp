// A small host program, built the way a third party would build one: it includes only the
// public header and links only liburduspell. It checks the words given on its command line
// (UTF-8) with the data set whose config.ini is in the current directory, and prints one line
// per word: "ok", or the suggestions.
//
//   cd data-folder && urduspell_example_host کتاب کتب
#include <urduspell/spellcheckerptr.h>

#include <cstdio>
#include <string>

namespace {

// UTF-8 to UTF-16LE bytes, terminated by a zero pair (characters beyond U+FFFF become pairs).
std::string ToUtf16Le(const std::string& utf8) {
  std::string out;
  auto put = [&out](unsigned unit) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    unsigned cp = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < utf8.size(); ++k) cp = (cp << 6) | (utf8[i + k] & 0x3F);
    i += 1 + extra;
    if (cp >= 0x10000) {
      put(0xD800 + ((cp - 0x10000) >> 10));
      put(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      put(cp);
    }
  }
  out.append(2, '\0');
  return out;
}

std::string ToUtf8(const char* utf16le) {
  std::string out;
  for (int i = 0; i + 1 < 40 && utf16le[i] != 0; i += 2) {
    const unsigned cp = static_cast<unsigned char>(utf16le[i]) |
                        (static_cast<unsigned char>(utf16le[i + 1]) << 8);
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  SpellCheckerPtr checker;
  try {
    if (!checker.Initialize()) {
      std::fprintf(stderr, "host: the data set could not be initialised\n");
      return 2;
    }
    char buffers[10][40];
    char* suggestions[10];
    for (int i = 0; i < 10; ++i) suggestions[i] = buffers[i];
    for (int a = 1; a < argc; ++a) {
      std::string word = ToUtf16Le(argv[a]);
      word.resize(word.size() < 42 ? 42 : word.size(), '\0');
      const int n = checker.SpellCheck(reinterpret_cast<unsigned char*>(word.data()), suggestions);
      std::printf("%s:", argv[a]);
      if (n < 0) std::printf(" ok");
      for (int i = 0; i < n; ++i) std::printf("%s %s", i == 0 ? "" : ",", ToUtf8(buffers[i]).c_str());
      std::printf("\n");
    }
  } catch (TRELVAException& ex) {
    std::fprintf(stderr, "host: %s\n", ex.GetFormattedMessage().c_str());
    return 2;
  }
  return 0;
}
