// Wide characters of the regular-expression engine: a Shift JIS double-byte
// character is one 16-bit code (lead x 256 + trail), a single byte its value.
//
// A lead byte that is not followed by a valid trail byte is one single-byte
// character, as everywhere in the program, so stepping never reads past the
// end. Code 0 stands for the end of the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace nuv {

using TWChar = std::uint16_t;

// The characters that have a meaning outside brackets, in this order.
constexpr std::string_view METACHARS = "^(|)+*?.[]$\\";

// Code of the character at byte `index` (0 at or past the end); advances
// `index` by its length.
TWChar GetWChar(std::string_view text, std::size_t& index);
// Steps `index` back over one character (found by scanning from the start).
void UnGetWChar(std::string_view text, std::size_t& index);
// GetWChar over a zero-terminated buffer: at the terminator it returns 0 and
// does not advance.
TWChar PCharGetWChar(const char*& p);
// The one or two bytes of a code.
std::string WCharToStr(TWChar code);
// Value of a hexadecimal or octal digit, or -1.
int HexWCharToInt(TWChar code);
int OctWCharToInt(TWChar code);
// The text with "\" put before every character of METACHARS.
std::string QuoteMetaWChar(std::string_view text);
// The characters from `index` up to (not including) the separator or the end;
// `index` is left after the separator.
std::string WCharGetToken(std::string_view text, std::size_t& index, TWChar separator);

// Whether byte `index` of `text` starts a character, given that byte `from`
// (<= index) does. Decided from the run of lead-capable bytes just before
// `index`, which gives the same answer as scanning from `from`: inside such a
// run every byte is also a valid trail byte, so its bytes pair up from its
// first one.
bool IsCharBoundaryFrom(std::string_view text, std::size_t from, std::size_t index);
// The first occurrence of `needle` (not empty) in `text` that starts at a
// character boundary at or after `from` (itself a boundary), or npos.
std::size_t FindAtCharBoundary(std::string_view text, std::string_view needle, std::size_t from = 0);

}  // namespace nuv
