#include "wordcodec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace urduspell::enchant {
namespace {

TEST(WordCodecTest, Utf8RoundTripsThroughUtf16) {
  struct Case {
    std::string utf8;
    std::u16string utf16;
  };
  const std::vector<Case> cases = {
      {"", u""},
      {"abc", u"abc"},
      {"\xDA\xA9\xD8\xAA\xD8\xA7\xD8\xA8", u"\u06A9\u062A\u0627\u0628"},  // کتاب
      {"\xE2\x80\x8C", u"\u200C"},                                        // ZWNJ: 3 bytes
      {"\xF0\x9F\x98\x80", u"\xD83D\xDE00"},  // outside the BMP: a surrogate pair
      {"\xEF\xBF\xBF", u"\uFFFF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
    EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << c.utf8;
  }
}

TEST(WordCodecTest, MalformedTextIsRefused) {
  const std::vector<std::string> utf8 = {
      "\x80",              // continuation byte first
      "\xD8",              // cut after the lead byte
      "\xE2\x80",          // cut inside a three-byte sequence
      "\xC0\xAF",          // overlong '/'
      "\xED\xA0\x80",      // a surrogate written in UTF-8
      "\xF4\x90\x80\x80",  // past U+10FFFF
      "\xFF",
      "ab\xD8 ",  // a lead byte followed by no continuation
  };
  for (const auto& text : utf8) EXPECT_EQ(Utf8ToUtf16(text), std::nullopt) << text.size();
  EXPECT_EQ(Utf16ToUtf8(u"\xD800"), std::nullopt);
  EXPECT_EQ(Utf16ToUtf8(u"\xDC00\xD800"), std::nullopt);
  EXPECT_EQ(Utf16ToUtf8(u"a\xD83D"), std::nullopt);
}

TEST(WordCodecTest, PreparesWordsTheLibraryCanSeeWhole) {
  const std::u16string twenty(20, u'\u0628');
  struct Case {
    const char* what;
    std::u16string word;
    std::optional<std::u16string> prepared;
  };
  const std::vector<Case> cases = {
      {"plain word", u"\u06A9\u062A\u0627\u0628", u"\u06A9\u062A\u0627\u0628"},
      {"a unit with low byte 0 would end the word", u"\u06A9\u0600\u062A", u"\u06A9\u062A"},
      {"twenty units fit", twenty, twenty},
      {"marks kept while the word fits", u"\u06A9\u064E\u062A", u"\u06A9\u064E\u062A"},
      {"marks and joiners dropped to make it fit",
       twenty.substr(0, 18) + u"\u064E\u200C\u0670\u0628\u0651", twenty.substr(0, 18) + u"\u0628"},
      {"still too long", twenty + u"\u0628", std::nullopt},
      {"too long even without its marks", twenty + u"\u064E\u0628", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(PrepareForLibrary(c.word), c.prepared) << c.what;
}

TEST(WordCodecTest, EncodesAndDecodesTheLibrarysByteLayout) {
  const auto bytes = EncodeWord(u"\u062D\u0627");
  EXPECT_EQ(bytes[0], 0x2D);
  EXPECT_EQ(bytes[1], 0x06);
  EXPECT_EQ(bytes[2], 0x27);
  EXPECT_EQ(bytes[3], 0x06);
  for (std::size_t i = 4; i < bytes.size(); ++i) EXPECT_EQ(bytes[i], 0) << i;

  // A full 20-unit word still ends in a 0 pair after the 40 bytes the library reads.
  const auto full = EncodeWord(std::u16string(20, u'\u0628'));
  EXPECT_EQ(full[38], 0x28);
  EXPECT_EQ(full[40], 0);
  EXPECT_EQ(full[41], 0);

  std::array<char, kWordBytes> buffer{};
  buffer[0] = '\x00', buffer[1] = '\x06';  // U+0600: low byte 0, still a unit of the word
  buffer[2] = '\x28', buffer[3] = '\x06';
  EXPECT_EQ(DecodeSuggestion(buffer), u"\u0600\u0628");
  std::array<char, kWordBytes> filled{};
  for (std::size_t i = 0; i < filled.size(); i += 2) filled[i] = '\x28', filled[i + 1] = '\x06';
  EXPECT_EQ(DecodeSuggestion(filled), std::u16string(20, u'\u0628'));
}

}  // namespace
}  // namespace urduspell::enchant
