// Conversions between the macro language's values and their texts, and the
// double-byte safe string helpers its built-in routines share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace nuv {

// Upper and lower case of ASCII letters and of the full-width Latin, Greek
// and Cyrillic letters; every other character, and every trail byte, is kept.
std::string PPUpperCase(std::string_view s);
std::string PPLowerCase(std::string_view s);

// Without leading and/or trailing bytes up to 32.
std::string_view PPTrim(std::string_view s);
std::string_view PPTrimLeft(std::string_view s);
std::string_view PPTrimRight(std::string_view s);

// Leading blanks, an optional sign, then decimal digits or "$" (or "0x") and
// hexadecimal digits, nothing after. False when the text is no 64-bit number.
bool PPStrToInt64(std::string_view s, int64_t& out);
// The same for a 32-bit integer; hexadecimal values up to $FFFFFFFF wrap.
bool PPStrToInt(std::string_view s, int32_t& out);
// Blanks, sign, digits with an optional "." and exponent, blanks. False when
// the text is no finite double.
bool PPStrToFloat(std::string_view s, double& out);

// The general format with 15 significant digits: fixed notation when the
// decimal exponent lies in -5..14, otherwise "1.5E-7" / "1E20".
std::string PPFloatToStr(double v);
// printf's "%g" (6 significant digits), independent of the C locale.
std::string PPFormatG(double v);

constexpr int32_t PPWrap32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }
// Truncates toward zero and wraps to 32 bits as an Int64 assigned to an
// Integer would; false for NaN, infinities and values outside the 64-bit range.
bool PPTruncToInt32(double v, int32_t& out);
// Rounds to the nearest integer, halves to the even neighbour; false as above.
bool PPRoundToInt32(double v, int32_t& out);
// For argument views that cannot fail: the truncation, or 0.
int32_t PPTruncOrZero(double v);

// The value of a string token: quotes stripped and doubled quotes undone, or
// the character of a "#65" / "#$41" code (empty for codes of 256 and above).
std::string PPStringLiteral(std::string_view token);
// The value of an integer token: decimal up to 2147483648 or "$" hexadecimal
// up to $FFFFFFFF, wrapped to 32 bits. False when out of range or no digits.
bool PPIntegerLiteral(std::string_view token, int32_t& out);

}  // namespace nuv
