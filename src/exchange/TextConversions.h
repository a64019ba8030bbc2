// Width and case conversions of Shift JIS text.
//
// The tables pair half-width entries (a single-byte character, or a
// half-width katakana with its voicing mark) with full-width characters.
// Text is walked by characters: a table entry matches only a whole
// character (or a katakana and the mark after it), a lone lead byte is
// copied as one byte, and everything after a NUL is converted like the rest.
#pragma once

#include <string>
#include <string_view>

namespace nuv {

enum class TConvTable { Digits, Letters, Katakana };

std::string HalfToFull(std::string_view text, TConvTable table);
std::string FullToHalf(std::string_view text, TConvTable table);

// Only the ASCII letters change; double-byte characters (full-width letters
// included) are copied.
std::string LowerToUpper(std::string_view text);
std::string UpperToLower(std::string_view text);

struct TWidthConversion {
  bool toFull = true;
  bool digits = true;
  bool letters = true;
  bool katakana = true;
};
// The checked tables in the order digits, letters, katakana.
std::string ConvertWidth(std::string_view text, const TWidthConversion& conversion);

}  // namespace nuv
