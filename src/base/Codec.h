// Conversion between Shift JIS (CP932) bytes and Unicode, used only at the
// edge of the program: drawing, Qt widgets, the system clipboard, file names.
//
// Decoding is lossless: a byte that is not part of a mapped character (a lone
// lead byte, an unmapped code, 0x80, 0xA0, 0xFD-0xFF) decodes to the escape
// code point U+F700 + byte, which encodes back to that byte. Encoding refuses
// every character CP932 cannot hold instead of substituting one; the JIS forms
// that input methods produce (wave dash, double vertical line, minus sign,
// cent, pound, not sign, em dash) are mapped to their CP932 characters.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nuv {

constexpr char16_t kByteEscapeBase = 0xF700;

std::u16string DecodeCp932(std::string_view sjis);
// nullopt when a character cannot be encoded; *badIndex is then its UTF-16 index.
std::optional<std::string> EncodeCp932(std::u16string_view text, std::size_t* badIndex = nullptr);
bool CanEncodeCp932(std::u16string_view text);

// The encoder's table for converters that walk long texts: BMP code point ->
// CP932 code (one byte below 0x100, else lead * 256 + trail), 0 when CP932
// cannot hold the character (and for U+0000). The byte escapes are not in it.
const uint16_t* Cp932EncodeTable();
// The decoder's table: lead * 256 + trail -> BMP code point, 0 when unmapped.
const char16_t* Cp932DecodeTable();

// UTF-8 conveniences for file names, command lines and source literals.
std::string Cp932ToUtf8(std::string_view sjis);
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// A Shift JIS text from a UTF-8 source literal that is known to be encodable.
// Used for the program's own fixed texts; aborts on a literal CP932 cannot hold.
std::string SjisFromLiteral(std::string_view utf8);

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace nuv
