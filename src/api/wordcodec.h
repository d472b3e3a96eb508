// The byte layout of the exported call: the caller's word as UTF-16LE bytes in, suggestions as
// UTF-16LE bytes out. Exactly two bytes per code unit, low byte first, on every platform.
#ifndef URDUSPELL_API_WORDCODEC_H_
#define URDUSPELL_API_WORDCODEC_H_

#include <cstddef>
#include <string>

namespace urduspell {

inline constexpr int kWordBytes = 40;        // bytes of the caller's word examined
inline constexpr int kSuggestionBytes = 40;  // bytes of one suggestion buffer
inline constexpr int kMaxSuggestions = 10;

// Decodes pairs of bytes until a pair whose first (low) byte is 0, or maxBytes bytes.
std::u16string BytesToWString(const unsigned char* bytes, int maxBytes);
// The same into out, which must hold maxBytes / 2 units; returns the number of units.
std::size_t DecodeUnits(const unsigned char* bytes, int maxBytes, char16_t* out);
// Where Trim would cut text: the units [first, last) are what it keeps.
void TrimRange(const char16_t* text, std::size_t size, std::size_t& first, std::size_t& last);
// Removes leading and trailing space, tab, LF and CR (nothing else) in place; returns the result.
std::u16string Trim(std::u16string& text);
// Writes the 2L bytes of text and one 0 byte; returns 2L+1. dst must hold that many bytes.
int WStringToBytes(const std::u16string& text, unsigned char* dst);

}  // namespace urduspell

#endif  // URDUSPELL_API_WORDCODEC_H_
