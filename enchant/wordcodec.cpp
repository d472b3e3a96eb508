#include "wordcodec.h"

#include <algorithm>
#include <cstdint>

namespace urduspell::enchant {
namespace {

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Marks and joiners that decorate Urdu words without being letters: the Arabic harakat, the
// superscript alef, Quranic annotation signs, the tatweel, general combining diacritics and the
// zero-width characters.
bool IsDecoration(char16_t unit) {
  struct Range {
    char16_t first;
    char16_t last;
  };
  static constexpr Range kRanges[] = {
      {0x0300, 0x036F}, {0x0610, 0x061A}, {0x0640, 0x0640}, {0x064B, 0x065F}, {0x0670, 0x0670},
      {0x06D6, 0x06DC}, {0x06DF, 0x06E4}, {0x06E7, 0x06E8}, {0x06EA, 0x06ED}, {0x08D3, 0x08FF},
      {0x200B, 0x200F}, {0x2060, 0x2060}, {0xFEFF, 0xFEFF},
  };
  return std::any_of(std::begin(kRanges), std::end(kRanges),
                     [unit](const Range& r) { return unit >= r.first && unit <= r.last; });
}

// Decodes one UTF-8 sequence at `pos`, advancing it; nullopt when the sequence is malformed.
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int extra = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, value = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, value = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, value = lead & 0x07, minimum = 0x10000;
  } else {
    return std::nullopt;
  }
  if (pos + extra >= text.size()) return std::nullopt;  // cut short
  for (int i = 1; i <= extra; ++i) {
    const unsigned char next = byte(pos + i);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || IsSurrogate(value)) return std::nullopt;
  pos += extra + 1;
  return value;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

std::optional<std::u16string> Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const auto c = NextCodePoint(text, pos);
    if (!c) return std::nullopt;
    if (*c < 0x10000) {
      out.push_back(static_cast<char16_t>(*c));
    } else {
      const char32_t v = *c - 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 | (v >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 | (v & 0x3FF)));
    }
  }
  return out;
}

std::optional<std::string> Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (IsSurrogate(unit)) {
      return std::nullopt;
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

std::optional<std::u16string> PrepareForLibrary(std::u16string_view word) {
  std::u16string prepared;
  prepared.reserve(word.size());
  for (const char16_t unit : word) {
    if ((unit & 0xFF) != 0) prepared.push_back(unit);
  }
  if (prepared.size() > kMaxWordUnits) std::erase_if(prepared, IsDecoration);
  if (prepared.size() > kMaxWordUnits) return std::nullopt;
  return prepared;
}

std::array<unsigned char, kWordBytes + 2> EncodeWord(std::u16string_view prepared) {
  // Two bytes more than the library reads, so that even a 20-unit word ends in a 0 pair.
  std::array<unsigned char, kWordBytes + 2> bytes{};
  const std::size_t units = std::min(prepared.size(), kMaxWordUnits);
  for (std::size_t i = 0; i < units; ++i) {
    bytes[2 * i] = static_cast<unsigned char>(prepared[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<unsigned char>(prepared[i] >> 8);
  }
  return bytes;
}

std::u16string DecodeSuggestion(const std::array<char, kWordBytes>& buffer) {
  std::u16string word;
  for (std::size_t i = 0; i + 1 < buffer.size(); i += 2) {
    const auto low = static_cast<unsigned char>(buffer[i]);
    const auto high = static_cast<unsigned char>(buffer[i + 1]);
    const auto unit = static_cast<char16_t>(low | (high << 8));
    if (unit == 0) break;
    word.push_back(unit);
  }
  return word;
}

}  // namespace urduspell::enchant
