// The pattern scanner: turns a Shift JIS pattern into tokens, one wide
// character at a time, with its own mode inside brackets.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "regex/WChar.h"

namespace nuv {

enum REToken_t {
  retk_Char,       // an ordinary or escaped character
  retk_CharClass,  // a range a-b inside brackets
  retk_Union,      // |
  retk_LPar,       // (
  retk_RPar,       // )
  retk_Star,       // *
  retk_Plus,       // +
  retk_QMark,      // ?
  retk_LBra,       // [
  retk_LBraNeg,    // [^
  retk_RBra,       // ]
  retk_Dot,        // .
  retk_LHead,      // ^
  retk_LTail,      // $
  retk_End,        // end of pattern
};

class TREScanner {
 public:
  TREScanner() = default;
  explicit TREScanner(std::string_view pattern) { SetRegExpStr(pattern); }

  // Sets the text (up to its first zero byte, which ends a pattern) and
  // starts at its beginning.
  void SetRegExpStr(std::string_view pattern);
  // Reads the next token; raises ERegExpParser on a malformed one.
  REToken_t GetToken();

  REToken_t Token() const { return m_token; }
  // The character of the last token; for a range its first character.
  TWChar Char() const { return m_char; }
  // The last character of a range.
  TWChar LastChar() const { return m_lastChar; }
  // Byte offsets (0-based, end exclusive) of the last token's source text.
  std::size_t TokenStart() const { return m_tokenStart; }
  std::size_t Index() const { return m_index; }
  bool InBrackets() const { return m_inBrackets; }
  std::string_view Text() const { return m_text; }

  // Raises ERegExpParser with `message` at the scanner's position.
  [[noreturn]] void Fail(const std::string& message) const;

 private:
  REToken_t GetTokenStd();
  REToken_t GetTokenCC();
  // The next character, refusing a lead byte that ends the pattern.
  TWChar ReadChar();
  TWChar PeekChar() const;
  // The character after a "\" (the backslash already read).
  TWChar GetQuotedWChar();

  std::string m_text;
  std::size_t m_index = 0;
  std::size_t m_tokenStart = 0;
  REToken_t m_token = retk_End;
  TWChar m_char = 0;
  TWChar m_lastChar = 0;
  bool m_inBrackets = false;
};

}  // namespace nuv
