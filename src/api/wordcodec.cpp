#include "api/wordcodec.h"

#include "io/coding.h"

namespace urduspell {

namespace {
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }
}  // namespace

std::u16string BytesToWString(const unsigned char* bytes, int maxBytes) {
  std::u16string word;
  for (int i = 0; i + 1 < maxBytes; i += 2) {
    if (bytes[i] == 0) break;  // only the low byte of a pair is tested
    word.push_back(static_cast<char16_t>(DecodeFixed16(bytes + i)));
  }
  return word;
}

std::u16string Trim(std::u16string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  text = text.substr(begin, end - begin);
  return text;
}

int WStringToBytes(const std::u16string& text, unsigned char* dst) {
  for (std::size_t i = 0; i < text.size(); ++i) EncodeFixed16(dst + 2 * i, text[i]);
  dst[2 * text.size()] = 0;
  return static_cast<int>(2 * text.size() + 1);
}

}  // namespace urduspell
