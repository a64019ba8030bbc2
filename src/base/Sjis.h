// Shift JIS (code page 932) byte helpers: lead and trail tests, character
// stepping and the small string utilities the editor and formats share.
//
// Text is a byte string. A double-byte character is a lead byte (0x81-0x9F,
// 0xE0-0xFC) followed by a trail byte (0x40-0x7E, 0x80-0xFC). Whether a byte
// is a lead or a trail byte is decided by scanning from the start of the
// string, never by looking at the byte alone. A lead byte that is not followed
// by a valid trail byte (end of string, damaged text) stands alone as one
// single-byte character, so no routine ever reads past the end.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace nuv {

constexpr bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
constexpr bool IsTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Byte length (1 or 2) of the character that starts at byte `index`.
// `index` must be a character boundary and less than s.size().
inline std::size_t CharLength(std::string_view s, std::size_t index) {
  if (index + 1 < s.size() && IsLeadByte(static_cast<unsigned char>(s[index])) &&
      IsTrailByte(static_cast<unsigned char>(s[index + 1])))
    return 2;
  return 1;
}

// Whether the byte at 0-based `index` is the lead byte of a double-byte character.
bool IsDBCS1(std::string_view s, std::size_t index);
// Whether the byte at 0-based `index` is the trail byte of a double-byte character.
bool IsDBCS2(std::string_view s, std::size_t index);
// 0-based index of the character that holds byte `index` (characters before it).
// An index at or past the end gives the character count.
std::size_t IndexChar(std::string_view s, std::size_t index);
// Number of characters in s.
std::size_t CharCount(std::string_view s);
// Start of the character that holds byte `index` (steps back over a trail byte).
std::size_t CharStart(std::string_view s, std::size_t index);
// How often the single-byte character `ch` occurs at character boundaries.
std::size_t IncludeCharCount(std::string_view s, char ch);
// Byte length of the leading blanks: spaces, tabs and full-width spaces (81 40).
std::size_t TopSpace(std::string_view s);
// s without leading bytes up to 0x20 and full-width spaces.
std::string TrimLeftDBCS(std::string_view s);
// Whether sub occurs in s starting at a character boundary of s; false for an empty sub.
bool IsInclude(std::string_view sub, std::string_view s);
// Position of sub in s at a character boundary at or after `from`, or npos.
std::size_t FindAtBoundary(std::string_view s, std::string_view sub, std::size_t from = 0);
// Splits text into lines at CR LF, CR or LF; a final line break gives no empty last line.
std::vector<std::string> StrToStrings(std::string_view s);
// The same lines as views into s.
std::vector<std::string_view> SplitLineViews(std::string_view s);

// Trims bytes whose value is at most 0x20 from both ends.
std::string_view TrimControl(std::string_view s);
// The first `maxBytes` bytes of s, one less when that would split a double-byte character.
std::string_view CutAtCharBoundary(std::string_view s, std::size_t maxBytes);

}  // namespace nuv
