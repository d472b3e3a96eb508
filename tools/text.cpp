#include "text.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace urduspell::cli {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

void AppendCodePoint(std::u16string& out, UChar32 c) {
  if (c <= 0xFFFF) {
    out.push_back(static_cast<char16_t>(c));
  } else {
    out.push_back(static_cast<char16_t>(U16_LEAD(c)));
    out.push_back(static_cast<char16_t>(U16_TRAIL(c)));
  }
}

DecodedText DecodeUtf16(std::string_view bytes, bool littleEndian) {
  DecodedText result;
  if (bytes.size() % 2 != 0) {
    result.error = "not valid UTF-16 text (odd number of bytes)";
    return result;
  }
  result.text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
    result.text.push_back(
        static_cast<char16_t>(littleEndian ? (b0 | (b1 << 8)) : ((b0 << 8) | b1)));
  }
  return result;
}

DecodedText DecodeUtf8(std::string_view bytes) {
  DecodedText result;
  if (bytes.find('\0') != std::string_view::npos) {
    result.error = "binary file, not checked";
    return result;
  }
  result.text.reserve(bytes.size());
  const auto* s = reinterpret_cast<const uint8_t*>(bytes.data());
  // ICU's macros index with int32_t, so inputs past 1 GiB are decoded in slices.
  std::size_t line = 1;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t left = bytes.size() - pos;
    int32_t length = static_cast<int32_t>(std::min<std::size_t>(left, 1u << 30));
    // Never cut a sequence: the next slice must start on a lead byte.
    while (static_cast<std::size_t>(length) < left && length > 0 &&
           (s[pos + static_cast<std::size_t>(length)] & 0xC0) == 0x80) {
      --length;
    }
    const uint8_t* slice = s + pos;
    for (int32_t i = 0; i < length;) {
      UChar32 c;
      U8_NEXT(slice, i, length, c);
      if (c < 0) {
        result.error = "not UTF-8 text (malformed byte on line " + std::to_string(line) +
                       "); save it as UTF-8, or as UTF-16 with a byte-order mark";
        result.text.clear();
        return result;
      }
      if (c == '\n') ++line;
      AppendCodePoint(result.text, c);
    }
    pos += static_cast<std::size_t>(length);
  }
  return result;
}

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

}  // namespace

DecodedText DecodeText(std::string_view bytes) {
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return DecodeUtf8(bytes.substr(3));
  if (StartsWith(bytes, "\xFF\xFE")) return DecodeUtf16(bytes.substr(2), /*littleEndian=*/true);
  if (StartsWith(bytes, "\xFE\xFF")) return DecodeUtf16(bytes.substr(2), /*littleEndian=*/false);
  return DecodeUtf8(bytes);
}

std::u16string FromUtf8Lossy(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
  const auto length = static_cast<int32_t>(std::min<std::size_t>(
      utf8.size(), static_cast<std::size_t>(std::numeric_limits<int32_t>::max())));
  for (int32_t i = 0; i < length;) {
    const int32_t start = i;
    UChar32 c;
    U8_NEXT(s, i, length, c);
    if (c < 0) {
      // One replacement character per malformed byte keeps character counts predictable.
      for (int32_t k = start; k < i; ++k) out.push_back(kReplacement);
    } else {
      AppendCodePoint(out, c);
    }
  }
  return out;
}

std::string ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size() * 2);
  for (std::size_t i = 0; i < utf16.size();) {
    UChar32 c = utf16[i++];
    if (U16_IS_LEAD(c) && i < utf16.size() && U16_IS_TRAIL(utf16[i])) {
      c = U16_GET_SUPPLEMENTARY(c, utf16[i++]);
    } else if (U16_IS_SURROGATE(c)) {
      c = kReplacement;
    }
    uint8_t buffer[4];
    int32_t n = 0;
    U8_APPEND_UNSAFE(buffer, n, c);
    out.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(n));
  }
  return out;
}

std::size_t CodePoints(std::u16string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!(U16_IS_TRAIL(text[i]) && i > 0 && U16_IS_LEAD(text[i - 1]))) ++count;
  }
  return count;
}

bool HasUrduLetter(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    UChar32 c = text[i++];
    if (U16_IS_LEAD(c) && i < text.size() && U16_IS_TRAIL(text[i])) {
      c = U16_GET_SUPPLEMENTARY(c, text[i++]);
    }
    UErrorCode status = U_ZERO_ERROR;
    if (u_isalpha(c) && uscript_getScript(c, &status) == USCRIPT_ARABIC && U_SUCCESS(status)) {
      return true;
    }
  }
  return false;
}

bool IsCheckable(std::u16string_view word) {
  return word.size() <= kMaxWordUnits && HasUrduLetter(word);
}

struct WordSplitter::Impl {
  std::unique_ptr<icu::BreakIterator> words;
};

WordSplitter::WordSplitter() : impl_(std::make_unique<Impl>()) {
  UErrorCode status = U_ZERO_ERROR;
  impl_->words.reset(icu::BreakIterator::createWordInstance(icu::Locale("ur"), status));
  if (U_FAILURE(status) || !impl_->words) {
    throw std::runtime_error(std::string("ICU word segmentation is not available: ") +
                             u_errorName(status));
  }
}

WordSplitter::~WordSplitter() = default;

std::vector<WordSpan> WordSplitter::Split(std::u16string_view text) {
  std::vector<WordSpan> spans;
  if (text.empty()) return spans;
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) {
    throw std::runtime_error("a line longer than 2^31 characters cannot be segmented");
  }
  // Read-only alias: ICU looks at the caller's characters without copying them.
  const icu::UnicodeString alias(false, text.data(), static_cast<int32_t>(text.size()));
  icu::BreakIterator& it = *impl_->words;
  it.setText(alias);
  int32_t start = it.first();
  for (int32_t end = it.next(); end != icu::BreakIterator::DONE; start = end, end = it.next()) {
    const auto b = static_cast<std::size_t>(start);
    const auto e = static_cast<std::size_t>(end);
    if (HasUrduLetter(text.substr(b, e - b))) spans.push_back({b, e});
  }
  return spans;
}

}  // namespace urduspell::cli
