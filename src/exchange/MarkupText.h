// Shift JIS text written out as UTF-8 for the exchange formats, with the
// escaping that XML and HTML need, and UTF-8 read back into Shift JIS.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nuv {

enum class TMarkup {
  Plain,         // UTF-8 as it is
  PlainLf,       // as Plain, with CR LF and CR as LF
  Text,          // & < > escaped, CR LF and CR as LF; control bytes XML 1.0 cannot hold left out
  Attribute,     // as Text, and " escaped, every line end "&#10;", a tab "&#9;"
};

// Whether XML 1.0 cannot hold the byte as a character (C0 controls except
// tab, line feed and carriage return).
constexpr bool IsXmlControlByte(unsigned char b) { return b < 0x20 && b != '\t' && b != '\n' && b != '\r'; }

// Appends `sjis` as UTF-8. Bytes that are no Shift JIS character keep the
// codec's escape code points, so they read back as the same bytes. Returns
// whether a control byte was left out.
bool AppendUtf8(std::string& out, std::string_view sjis, TMarkup markup = TMarkup::Plain);
std::string ToUtf8(std::string_view sjis, TMarkup markup = TMarkup::Plain);
bool HasXmlControlByte(std::string_view sjis);

// The first character of a UTF-8 text that Shift JIS cannot hold.
struct TUnencodable {
  int line = 0;               // 1-based, counted from the text's first line
  std::string character;      // the character itself, UTF-8
};

// UTF-8 into Shift JIS. A character Shift JIS cannot hold refuses the text
// (nullopt, `problem` names it and its line, `firstLine` being the line of the
// text's first byte) or, with `substitute`, becomes "〓" and is still named.
std::optional<std::string> Utf8ToSjis(std::string_view utf8, bool substitute, int firstLine,
                                      TUnencodable* problem);

}  // namespace nuv
