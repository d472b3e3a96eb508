// The byte layout of the exported call: the caller's word as UTF-16LE bytes in, suggestions as
// UTF-16LE bytes out. Exactly two bytes per code unit, low byte first, on every platform.
#ifndef URDUSPELL_API_WORDCODEC_H_
#define URDUSPELL_API_WORDCODEC_H_

#include <string>

namespace urduspell {

inline constexpr int kWordBytes = 40;        // bytes of the caller's word examined
inline constexpr int kSuggestionBytes = 40;  // bytes of one suggestion buffer
inline constexpr int kMaxSuggestions = 10;

// Decodes pairs of bytes until a pair whose first (low) byte is 0, or maxBytes bytes.
std::u16string BytesToWString(const unsigned char* bytes, int maxBytes);
// Removes leading and trailing space, tab, LF and CR (nothing else) in place; returns the result.
std::u16string Trim(std::u16string& text);
// Writes the 2L bytes of text and one 0 byte; returns 2L+1. dst must hold that many bytes.
int WStringToBytes(const std::u16string& text, unsigned char* dst);

}  // namespace urduspell

#endif  // URDUSPELL_API_WORDCODEC_H_
