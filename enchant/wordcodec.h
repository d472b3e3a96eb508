// Words between Enchant and the library: Enchant speaks UTF-8, the library takes a word as at
// most 40 bytes of UTF-16LE and writes each suggestion into a 40-byte buffer the same way.
#ifndef URDUSPELL_ENCHANT_WORDCODEC_H_
#define URDUSPELL_ENCHANT_WORDCODEC_H_

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace urduspell::enchant {

// The library looks at no more than this many code units of a word.
inline constexpr std::size_t kMaxWordUnits = 20;
// The size of the word argument and of each suggestion buffer.
inline constexpr std::size_t kWordBytes = 40;

// Well-formed UTF-8 to UTF-16 (supplementary characters become surrogate pairs); nullopt for
// malformed input (overlong forms, surrogates, values past U+10FFFF, cut sequences).
std::optional<std::u16string> Utf8ToUtf16(std::string_view text);

// UTF-16 to UTF-8; nullopt when the text holds an unpaired surrogate.
std::optional<std::string> Utf16ToUtf8(std::u16string_view text);

// The word as the library should see it, or nullopt when it cannot be given to the library whole:
//  - code units whose low byte is 0 (U+0600, U+0700, U+2000, ...) would end the word early; none
//    is a letter of an Urdu alphabet, and the engine drops non-letters anyway, so they are left
//    out;
//  - a word of more than 20 code units would be cut to its first 20; combining marks and
//    zero-width joiners (never letters of the alphabet, dropped by the engine as well) are left out
//    first, and only a word that is still too long is refused.
std::optional<std::u16string> PrepareForLibrary(std::u16string_view word);

// The 40-byte word argument for a prepared word: UTF-16LE, then zero bytes.
std::array<unsigned char, kWordBytes + 2> EncodeWord(std::u16string_view prepared);

// The suggestion in a 40-byte buffer written by the library: code units up to the first 0 unit.
std::u16string DecodeSuggestion(const std::array<char, kWordBytes>& buffer);

}  // namespace urduspell::enchant

#endif  // URDUSPELL_ENCHANT_WORDCODEC_H_
