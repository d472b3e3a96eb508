#include "api/wordcodec.h"

#include <algorithm>

#include "io/coding.h"

namespace urduspell {

namespace {
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }
}  // namespace

std::size_t DecodeUnits(const unsigned char* bytes, int maxBytes, char16_t* out) {
  std::size_t n = 0;
  for (int i = 0; i + 1 < maxBytes; i += 2) {
    if (bytes[i] == 0) break;  // only the low byte of a pair is tested
    out[n++] = static_cast<char16_t>(DecodeFixed16(bytes + i));
  }
  return n;
}

std::u16string BytesToWString(const unsigned char* bytes, int maxBytes) {
  std::u16string word(static_cast<std::size_t>(std::max(maxBytes, 0) / 2), u'\0');
  word.resize(DecodeUnits(bytes, maxBytes, word.data()));
  return word;
}

void TrimRange(const char16_t* text, std::size_t size, std::size_t& first, std::size_t& last) {
  first = 0;
  last = size;
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
}

std::u16string Trim(std::u16string& text) {
  std::size_t begin = 0;
  std::size_t end = 0;
  TrimRange(text.data(), text.size(), begin, end);
  text = text.substr(begin, end - begin);
  return text;
}

int WStringToBytes(const std::u16string& text, unsigned char* dst) {
  for (std::size_t i = 0; i < text.size(); ++i) EncodeFixed16(dst + 2 * i, text[i]);
  dst[2 * text.size()] = 0;
  return static_cast<int>(2 * text.size() + 1);
}

}  // namespace urduspell
