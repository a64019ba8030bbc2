// Pattern scanner. Outside brackets the twelve meta characters are tokens of
// their own; inside brackets only "]" (closing), "\" (escape) and "-" between
// two members (a range) are special.
#include "regex/RegExpScanner.h"

#include "base/Sjis.h"
#include "regex/RegExpError.h"
#include "regex/RegExpTexts.h"

namespace nuv {

namespace {
// Escapes may not name the codes the automaton reserves for the empty
// transition and the line head and tail symbols.
constexpr unsigned kHighestEscapeCode = 0xFFFC;
}  // namespace

void TREScanner::SetRegExpStr(std::string_view pattern) {
  m_text.assign(pattern.substr(0, pattern.find('\0')));
  m_index = 0;
  m_tokenStart = 0;
  m_token = retk_End;
  m_char = 0;
  m_lastChar = 0;
  m_inBrackets = false;
}

void TREScanner::Fail(const std::string& message) const { throw ERegExpParser(message, m_index + 1); }

TWChar TREScanner::ReadChar() {
  if (m_index + 1 == m_text.size() && IsLeadByte(static_cast<unsigned char>(m_text[m_index]))) {
    ++m_index;
    Fail(retext::BadDoubleByte());
  }
  return GetWChar(m_text, m_index);
}

TWChar TREScanner::PeekChar() const {
  std::size_t i = m_index;
  return GetWChar(m_text, i);
}

TWChar TREScanner::GetQuotedWChar() {
  const TWChar c = ReadChar();
  switch (c) {
    case 0: Fail(retext::NeedCharAfterBackslash());
    case 'b': return 8;
    case 'n': return 10;
    case 'r': return 13;
    case 't': return 9;
    case 'x': {
      unsigned value = 0;
      int digits = 0;
      while (digits < 4) {
        const int d = HexWCharToInt(PeekChar());
        if (d < 0) break;
        ReadChar();
        value = value * 16 + static_cast<unsigned>(d);
        ++digits;
      }
      if (digits == 0 || value > kHighestEscapeCode) Fail(retext::BadHexCode());
      return static_cast<TWChar>(value);
    }
    default: break;
  }
  if (OctWCharToInt(c) < 0) return c;
  unsigned value = static_cast<unsigned>(OctWCharToInt(c));
  for (int digits = 1; digits < 6; ++digits) {
    const int d = OctWCharToInt(PeekChar());
    if (d < 0) break;
    ReadChar();
    value = value * 8 + static_cast<unsigned>(d);
  }
  if (value > kHighestEscapeCode) Fail(retext::BadOctalCode());
  return static_cast<TWChar>(value);
}

REToken_t TREScanner::GetToken() {
  m_tokenStart = m_index;
  m_token = m_inBrackets ? GetTokenCC() : GetTokenStd();
  return m_token;
}

REToken_t TREScanner::GetTokenStd() {
  const TWChar c = ReadChar();
  m_char = c;
  switch (c) {
    case 0: return retk_End;
    case '$': return retk_LTail;
    case '(': return retk_LPar;
    case ')': return retk_RPar;
    case '*': return retk_Star;
    case '+': return retk_Plus;
    case '.': return retk_Dot;
    case '?': return retk_QMark;
    case '[':
      if (m_index >= m_text.size()) Fail(retext::NeedRightBracket());
      m_inBrackets = true;
      if (PeekChar() == '^') {
        ReadChar();
        return retk_LBraNeg;
      }
      return retk_LBra;
    case '\\': m_char = GetQuotedWChar(); return retk_Char;
    case ']': return retk_RBra;
    case '^': return retk_LHead;
    case '|': return retk_Union;
    default: return retk_Char;
  }
}

REToken_t TREScanner::GetTokenCC() {
  TWChar c = ReadChar();
  if (c == 0) Fail(retext::NeedRightBracket());
  if (c == ']') {
    m_inBrackets = false;
    m_char = c;
    return retk_RBra;
  }
  if (c == '\\') c = GetQuotedWChar();
  m_char = c;
  if (PeekChar() != '-') return retk_Char;
  std::size_t afterDash = m_index + 1;
  const TWChar next = GetWChar(m_text, afterDash);
  if (next == ']') return retk_Char;  // a trailing "-" is an ordinary member
  ReadChar();                         // the "-"
  if (next == 0) Fail(retext::NeedRightBracket());
  TWChar d = ReadChar();
  if (d == '\\') d = GetQuotedWChar();
  if (d < c) Fail(retext::BadCharRange());
  m_lastChar = d;
  return retk_CharClass;
}

}  // namespace nuv
