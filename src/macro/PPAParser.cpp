// The macro lexer: one token at a time over a 0-terminated copy of the text.
#include "macro/PPAParser.h"

#include "macro/PPConvert.h"

namespace nuv {

namespace {
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(unsigned char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
bool IsLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
}  // namespace

TPPAParser::TPPAParser(std::string_view text) : m_buffer(text) {
  m_buffer.push_back('\0');
  NextToken();
}

void TPPAParser::SkipBlanks() {
  while (At(m_scan) >= 1 && At(m_scan) <= 32) ++m_scan;
}

void TPPAParser::ScanNumber() {
  while (IsDigit(At(m_scan))) ++m_scan;
  m_kind = kPPInteger;
  auto exponent = [this] {
    ++m_scan;  // E or e
    if (At(m_scan) == '+' || At(m_scan) == '-') ++m_scan;
    while (IsDigit(At(m_scan))) ++m_scan;
  };
  const unsigned char c = At(m_scan);
  if (c == 'E' || c == 'e') {
    m_kind = kPPReal;
    exponent();
  } else if (c == '.') {
    m_kind = kPPReal;
    const unsigned char after = At(m_scan + 1);
    if (IsDigit(after) || after == 'E' || after == 'e') {
      ++m_scan;
      while (IsDigit(At(m_scan))) ++m_scan;
      if (At(m_scan) == 'E' || At(m_scan) == 'e') exponent();
    }
  }
}

uint8_t TPPAParser::NextToken() {
  SkipBlanks();
  m_tokenStart = m_scan;
  const unsigned char c = At(m_scan);
  const unsigned char next = c ? At(m_scan + 1) : 0;
  if (c == 0) {
    m_kind = kPPEnd;
  } else if (c == '/' && next == '/') {
    while (At(m_scan) != 0 && At(m_scan) != '\r' && At(m_scan) != '\n') ++m_scan;
    m_kind = kPPComment;
  } else if (c == '\'') {
    ++m_scan;
    while (At(m_scan) != 0) {
      if (At(m_scan) == '\'') {
        if (At(m_scan + 1) != '\'') {
          ++m_scan;
          break;
        }
        m_scan += 2;
      } else {
        ++m_scan;
      }
    }
    m_kind = kPPString;
  } else if (c == '$') {
    ++m_scan;
    while (IsHexDigit(At(m_scan))) ++m_scan;
    m_kind = kPPInteger;
  } else if (c == '#') {
    ++m_scan;
    if (At(m_scan) == '$') {
      ++m_scan;
      while (IsHexDigit(At(m_scan))) ++m_scan;
    } else {
      while (IsDigit(At(m_scan))) ++m_scan;
    }
    m_kind = kPPString;
  } else if ((c == ':' && next == '=') || (c == '<' && (next == '=' || next == '>')) || (c == '>' && next == '=') ||
             (c == '.' && next == '.')) {
    m_scan += 2;
    m_kind = kPPOperator;
  } else if (IsDigit(c)) {
    ScanNumber();
  } else if (IsLetter(c)) {
    while (IsLetter(At(m_scan)) || IsDigit(At(m_scan))) ++m_scan;
    m_kind = kPPIdentifier;
  } else {
    ++m_scan;
    m_kind = kPPSymbol;
  }
  return m_kind;
}

std::string TPPAParser::UpperToken() const { return PPUpperCase(TokenString()); }

bool TPPAParser::Accept(std::string_view upperWord) {
  if (UpperToken() != PPUpperCase(upperWord)) return false;
  NextToken();
  return true;
}

std::vector<TPPToken> PPTokenize(std::string_view text) {
  std::vector<TPPToken> tokens;
  TPPAParser lexer(text);
  for (uint8_t kind = lexer.Token(); kind != kPPEnd; kind = lexer.NextToken()) {
    if (kind == kPPComment) continue;
    TPPToken token;
    token.kind = kind;
    token.text = std::string(lexer.TokenString());
    if (kind == kPPIdentifier) token.upper = PPUpperCase(token.text);
    tokens.push_back(std::move(token));
  }
  return tokens;
}

std::string PPJoinTokens(const TPPToken* begin, const TPPToken* end) {
  std::string out;
  for (const TPPToken* t = begin; t != end; ++t) {
    if (t != begin) out.push_back(' ');
    out += t->text;
  }
  return out;
}

}  // namespace nuv
