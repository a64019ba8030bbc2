// The framework's scanner: dispatch tables, the procedures of the shared
// token kinds, brackets, mail addresses and URLs, and the row-to-row state.
#include "fountain/FountainParser.h"

#include <algorithm>
#include <cstring>

#include "base/Error.h"
#include "fountain/TagTokens.h"

namespace nuv {

TTokenSet MakeTokenSet(std::initializer_list<int> kinds) {
  TTokenSet set;
  for (int k : kinds) set.set(static_cast<std::size_t>(k));
  return set;
}

namespace {

struct TCharTable {
  bool in[256] = {};
  explicit TCharTable(const char* chars) {
    for (const char* p = chars; *p; ++p) in[static_cast<unsigned char>(*p)] = true;
  }
  void AddRange(char from, char to) {
    for (int c = from; c <= to; ++c) in[c] = true;
  }
};

const TCharTable& MailChars() {
  static const TCharTable t = [] {
    TCharTable m("!$%&*,-./;=?@^_~");
    m.AddRange('0', '9');
    m.AddRange('A', 'Z');
    m.AddRange('a', 'z');
    return m;
  }();
  return t;
}

const TCharTable& UrlChars() {
  static const TCharTable t = [] {
    TCharTable u("#%&+-./:=?_~");
    u.AddRange('0', '9');
    u.AddRange('A', 'Z');
    u.AddRange('a', 'z');
    return u;
  }();
  return t;
}

bool IsBlankRow(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == ' '; });
}

}  // namespace

TFountainParser::TFountainParser(TFountain* fountain) : m_fountain(fountain) {
  if (!fountain) throw ENuvError("TFountainParser.Create need instance of TFountain");
  InitMethodTable();
  const TFountainBracketCollection& brackets = fountain->Brackets();
  for (int i = 0; i < brackets.Count(); ++i) {
    const TFountainBracketItem& item = brackets.Item(i);
    if (!item.LeftBracket().empty() && !item.RightBracket().empty()) {
      m_bracketFirst.set(static_cast<unsigned char>(item.LeftBracket()[0]));
    }
  }
  Start({}, {}, TRowAttributeData());
}

void TFountainParser::InitMethodTable() {
  for (int c = 0; c < 256; ++c) {
    TParseProc proc = &TFountainParser::SymbolProc;
    if (c == 0) proc = &TFountainParser::EofProc;
    else if (c == 9) proc = &TFountainParser::TabProc;
    else if (c >= '0' && c <= '9') proc = &TFountainParser::IntegerProc;
    else if (IsLetter(static_cast<unsigned char>(c)) || c == '_') proc = &TFountainParser::AnkProc;
    else if (c == 0x81 || (c >= 0x84 && c <= 0x87)) proc = &TFountainParser::DBSymbolProc;
    else if (c == 0x82 || c == 0x83) proc = &TFountainParser::DBProc;
    else if ((c >= 0x88 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) proc = &TFountainParser::DBKanjiProc;
    else if (c >= 0xA1 && c <= 0xA5) proc = &TFountainParser::KanaSymbolProc;
    else if (c >= 0xA6 && c <= 0xDF) proc = &TFountainParser::KanaProc;
    m_methodTable[static_cast<std::size_t>(c)] = proc;
    m_tokenMethodTable[static_cast<std::size_t>(c)] = &TFountainParser::ContinueTokenProc;
  }
  auto& t = m_tokenMethodTable;
  t[tokSymbol] = &TFountainParser::SymbolProc;
  t[tokInteger] = t[tokFloat] = &TFountainParser::IntegerProc;
  t[tokBracket] = &TFountainParser::BracketProc;
  t[tokComment] = &TFountainParser::CommenterProc;
  t[tokReserve] = &TFountainParser::ReserveWordProc;
  t[tokTab] = &TFountainParser::TabProc;
  t[tokAnk] = &TFountainParser::AnkProc;
  t[tokDBSymbol] = &TFountainParser::DBSymbolProc;
  for (int k = tokDBDigit; k <= tokDBKatakana; ++k) t[static_cast<std::size_t>(k)] = &TFountainParser::DBProc;
  t[tokDBKanji] = &TFountainParser::DBKanjiProc;
  t[tokKanaSymbol] = &TFountainParser::KanaSymbolProc;
  t[tokKana] = &TFountainParser::KanaProc;
  t[tokUrl] = &TFountainParser::UrlProc;
  t[tokMail] = &TFountainParser::MailProc;
  t[tokHex] = &TFountainParser::HexProc;
  t[tokSingleQuotation] = &TFountainParser::SingleQuotationProc;
  t[tokDoubleQuotation] = &TFountainParser::DoubleQuotationProc;
}

// ---- rows --------------------------------------------------------------------

void TFountainParser::Start(std::string_view a, std::string_view b, const TRowAttributeData& data) {
  m_buf.resize(a.size() + b.size() + 2);
  if (!a.empty()) std::memcpy(m_buf.data(), a.data(), a.size());
  if (!b.empty()) std::memcpy(m_buf.data() + a.size(), b.data(), b.size());
  m_len = static_cast<int>(a.size() + b.size());
  m_buf[static_cast<std::size_t>(m_len)] = m_buf[static_cast<std::size_t>(m_len) + 1] = '\0';
  // A CR or LF ends the text; a NUL inside it is read as a blank, so that
  // only the terminator stops the scan.
  m_hadNul = false;
  for (int i = 0; i < m_len; ++i) {
    const unsigned char c = static_cast<unsigned char>(m_buf[static_cast<std::size_t>(i)]);
    if (c > 13) continue;
    if (c == 10 || c == 13) {
      m_len = i;
      m_buf[static_cast<std::size_t>(i)] = '\0';
      break;
    }
    if (c == 0) {
      if (!m_hadNul) m_original.assign(m_buf.data(), static_cast<std::size_t>(m_len));
      m_hadNul = true;
      m_buf[static_cast<std::size_t>(i)] = ' ';
    }
  }
  m_s = reinterpret_cast<const unsigned char*>(m_buf.data());
  m_tokenStart = m_pos = 0;
  m_token = tokEof;
  m_drawBracketIndex = -2;
  m_mailFailEnd = -1;
  m_rowAttribute = data.Row;
  m_prevRowAttribute = data.PrevRow;
  m_bracketIndex = data.Bracket < -1 ? -1 : data.Bracket;
  m_elementIndex = data.Element;
  m_wrappedByte = data.WrappedByte;
  m_remain = data.Remain;
  m_wrappedToken = data.Token;
  m_prevToken = data.PrevToken;
  m_dataStr = data.DataStr;
}

void TFountainParser::NewData(std::string_view s, const TRowAttributeData& data) { Start(s, {}, data); }

std::string TFountainParser::TokenString() const {
  const std::string& src = m_hadNul ? m_original : m_buf;
  return src.substr(static_cast<std::size_t>(m_tokenStart), static_cast<std::size_t>(m_pos - m_tokenStart));
}

std::string TFountainParser::KindName(std::uint8_t kind) const {
  static constexpr const char* kNames[] = {
      "Eof", "Symbol", nullptr, "Integer", "Float", nullptr, "Bracket", "Comment", "Reserve", "Tab", nullptr,
      "Ank", "DBSymbol", nullptr, "DBDigit", "DBLatin", "DBHiragana", "DBKatakana", "DBKanji", "KanaSymbol",
      "Kana", "Url", "Mail", "Hex", "SingleQuotation", "DoubleQuotation"};
  if (kind < std::size(kNames) && kNames[kind]) return kNames[kind];
  return std::to_string(kind);
}

std::string TFountainParser::KindNameFrom(std::uint8_t kind, std::initializer_list<TKindName> own) const {
  for (const TKindName& k : own) {
    if (k.Kind == kind) return k.Name;
  }
  return TFountainParser::KindName(kind);
}

int TFountainParser::NextToken() {
  ScanToken();
  return m_token;
}

void TFountainParser::ScanToken() {
  if (m_wrappedToken == 0 || m_wrappedByte <= 0) {
    // Blanks (control bytes and the space, not the tab) form no token.
    while (m_s[m_pos] >= 1 && m_s[m_pos] <= 32 && m_s[m_pos] != 9) ++m_pos;
  }
  m_tokenStart = m_pos;
  m_isStartToken = m_wrappedToken != 0;
  if (AtEnd(m_pos)) {
    m_token = tokEof;
    return;
  }
  if (m_wrappedToken != 0) StartTokenProc();
  else if (m_bracketIndex < 0) NormalTokenProc();
  else BracketProc();
  if (m_pos > m_len) m_pos = m_len;
  // Every token advances, and only the end of the text ends the row: a
  // procedure that took nothing leaves one character as a symbol.
  if (m_pos <= m_tokenStart || m_token == tokEof) {
    if (m_pos <= m_tokenStart) m_pos = m_tokenStart + CharLen(m_tokenStart);
    m_token = tokSymbol;
  }
  m_scannedKind = m_token;
}

void TFountainParser::StartTokenProc() {
  if (m_wrappedByte > 0) {
    m_token = m_wrappedToken;
    int end = m_tokenStart;
    while (end - m_tokenStart < m_wrappedByte && !AtEnd(end)) end += CharLen(end);
    m_pos = end;
    if (m_token == tokBracket) {
      m_drawBracketIndex = m_bracketIndex;
      m_bracketIndex = -1;
    }
  } else {
    const std::uint8_t carried = m_wrappedToken;
    (this->*m_tokenMethodTable[carried])();
    // The rest of a number cut after its point has no point of its own.
    if (carried == tokFloat && m_token == tokInteger) m_token = tokFloat;
  }
  m_wrappedToken = 0;
  m_wrappedByte = 0;
}

void TFountainParser::NormalTokenProc() {
  if (m_bracketIndex == -1 && IsBracketStart(At(m_pos)) && IsBracketProc()) {
    BracketProc();
  } else {
    CallMethod();
  }
}

bool TFountainParser::TextStartsWith(int pos, std::string_view s) const {
  return static_cast<std::size_t>(m_len - pos) >= s.size() && std::memcmp(m_s + pos, s.data(), s.size()) == 0;
}

// ---- brackets ------------------------------------------------------------------

bool TFountainParser::IsBracketProc() {
  const TFountainBracketCollection& brackets = m_fountain->Brackets();
  for (int i = 0; i < brackets.Count(); ++i) {
    const TFountainBracketItem& item = brackets.Item(i);
    if (item.LeftBracket().empty() || item.RightBracket().empty()) continue;
    if (TextStartsWith(m_pos, item.LeftBracket())) {
      m_bracketIndex = i;
      m_pos += static_cast<int>(item.LeftBracket().size());
      return true;
    }
  }
  return false;
}

const TFountainColor* TFountainParser::BracketColor(int index) const {
  const TFountainBracketCollection& brackets = m_fountain->Brackets();
  if (index < 0 || index >= brackets.Count()) return nullptr;
  return &brackets.Item(index).ItemColor();
}

void TFountainParser::BracketProc() {
  const TFountainBracketCollection& brackets = m_fountain->Brackets();
  if (m_bracketIndex < 0 || m_bracketIndex >= brackets.Count() ||
      brackets.Item(m_bracketIndex).RightBracket().empty()) {
    // A state left by other brackets: scan the row as outside any bracket.
    m_bracketIndex = -1;
    NormalTokenProc();
    return;
  }
  m_token = tokBracket;
  m_drawBracketIndex = m_bracketIndex;
  const std::string& right = brackets.Item(m_bracketIndex).RightBracket();
  const unsigned char r0 = static_cast<unsigned char>(right[0]);
  if (r0 < 0x40) {
    // Such a byte is never half of a character, so a byte search is safe.
    for (;;) {
      const void* hit = std::memchr(m_s + m_pos, r0, static_cast<std::size_t>(m_len - m_pos));
      if (!hit) {
        m_pos = m_len;
        return;
      }
      const int q = static_cast<int>(static_cast<const unsigned char*>(hit) - m_s);
      if (TextStartsWith(q, right)) {
        m_pos = q + static_cast<int>(right.size());
        m_bracketIndex = -1;
        return;
      }
      m_pos = q + 1;
    }
  }
  while (!AtEnd(m_pos)) {
    if (At(m_pos) == r0 && TextStartsWith(m_pos, right)) {
      m_pos += static_cast<int>(right.size());
      m_bracketIndex = -1;
      return;
    }
    m_pos += CharLen(m_pos);
  }
}

// ---- mail and URL ----------------------------------------------------------------

bool TFountainParser::IsMailProc() {
  const TCharTable& mail = MailChars();
  const unsigned char c = At(m_pos);
  if (c == 0 || !mail.in[c] || c == '@' || m_pos < m_mailFailEnd) return false;
  bool at = false;
  int p = m_pos;
  for (; mail.in[At(p)]; ++p) {
    if (At(p) == '@') {
      at = true;
    } else if (At(p) == '.' && at) {
      m_pos = p + 1;
      return true;
    }
  }
  // Every later start inside this run fails too.
  m_mailFailEnd = p;
  return false;
}

void TFountainParser::MailProc() {
  m_token = tokMail;
  while (MailChars().in[At(m_pos)]) ++m_pos;
}

bool TFountainParser::IsUrlProc() {
  int n = 0;
  switch (At(m_pos)) {
    case 'f': n = TextStartsWith(m_pos, "ftp:") ? 4 : 0; break;
    case 'h': n = TextStartsWith(m_pos, "http:") ? 5 : TextStartsWith(m_pos, "https:") ? 6 : 0; break;
    case 'w': n = TextStartsWith(m_pos, "www.") ? 4 : 0; break;
    default: break;
  }
  m_pos += n;
  return n > 0;
}

void TFountainParser::UrlProc() {
  m_token = tokUrl;
  while (UrlChars().in[At(m_pos)]) ++m_pos;
}

// ---- single-byte procedures ---------------------------------------------------------

void TFountainParser::TabProc() {
  m_token = tokTab;
  ++m_pos;
}

void TFountainParser::CommenterProc() {
  m_token = tokComment;
  m_pos = m_len;
}

void TFountainParser::HexProc() {
  m_token = tokHex;
  while (IsHexDigit(At(m_pos))) ++m_pos;
}

void TFountainParser::IntegerProc() {
  m_token = tokInteger;
  while (IsDigit(At(m_pos))) ++m_pos;
  auto exponent = [this] {
    ++m_pos;  // the E
    if (At(m_pos) == '+' || At(m_pos) == '-') ++m_pos;
    while (IsDigit(At(m_pos))) ++m_pos;
  };
  const unsigned char c = At(m_pos);
  if (c == 'E' || c == 'e') {
    m_token = tokFloat;
    exponent();
  } else if (c == '.') {
    m_token = tokFloat;
    const unsigned char n = At(m_pos + 1);
    if (IsDigit(n) || n == 'E' || n == 'e') {
      ++m_pos;
      while (IsDigit(At(m_pos))) ++m_pos;
      if (At(m_pos) == 'E' || At(m_pos) == 'e') exponent();
    }
  }
}

void TFountainParser::AnkProc() {
  m_token = tokAnk;
  SkipWord();
}

void TFountainParser::SymbolProc() {
  m_token = tokSymbol;
  if (!AtEnd(m_pos)) m_pos += CharLen(m_pos);
}

void TFountainParser::EntityScan() {
  if (!m_isStartToken && At(m_pos) == '&') ++m_pos;
  while (At(m_pos) == '#' || IsDigit(At(m_pos)) || IsLetter(At(m_pos))) ++m_pos;
  if (At(m_pos) == ';') ++m_pos;
}

void TFountainParser::TagElementProc() {
  m_token = tokTagElement;
  SkipWord();
}

void TFountainParser::TagAttributeProc() {
  m_token = tokTagAttribute;
  SkipWord();
}

void TFountainParser::TagAttributeValueProc() {
  const unsigned char c = At(m_pos);
  if (!m_isStartToken && c == '"') {
    DoubleQuotationProc();
    return;
  }
  if (!m_isStartToken && c == '\'') {
    SingleQuotationProc();
    return;
  }
  m_token = tokTagAttributeValue;
  if (!UnquotedValueScan()) CallMethod();  // a value left out: the ">" ends the tag
}

bool TFountainParser::UnquotedValueScan() {
  const int start = m_pos;
  while (!AtEnd(m_pos) && At(m_pos) != 9 && At(m_pos) != ' ' && At(m_pos) != '>') m_pos += CharLen(m_pos);
  return m_pos > start;
}

void TFountainParser::DoubleSlashProc() {
  if (At(m_pos + 1) == '/') {
    CommenterProc();
  } else {
    SymbolProc();
  }
}

const TFountainColor* TFountainParser::CommonColor(const TCommonColors& colors) const {
  switch (m_token) {
    case tokSymbol: return colors.Symbol;
    case tokInteger: case tokFloat: case tokHex: return colors.Int;
    case tokBracket: return BracketColor(m_drawBracketIndex);
    case tokComment: return colors.Comment;
    case tokReserve: return &m_fountain->Reserve();
    case tokAnk: return colors.Ank;
    case tokSingleQuotation: case tokDoubleQuotation: return colors.Str;
    default: return IsDBCSKind(m_token) ? colors.DBCS : nullptr;
  }
}

void TFountainParser::QuotationScan(unsigned char quote, bool escapes, bool doubling) {
  if (!m_isStartToken) {
    ++m_pos;
  } else if (m_remain == 1) {
    // The row goes on after a backslash that ended the previous row (an
    // escaped blank was skipped with the blanks).
    m_remain = 0;
    if (m_tokenStart == 0 && !AtEnd(m_pos)) m_pos += CharLen(m_pos);
  }
  for (;;) {
    const unsigned char c = At(m_pos);
    if (c == 0) return;
    if (c == quote) {
      if (doubling && At(m_pos + 1) == quote) {
        m_pos += 2;
        continue;
      }
      ++m_pos;
      return;
    }
    if (escapes && c == '\\') {
      ++m_pos;
      if (!AtEnd(m_pos)) m_pos += CharLen(m_pos);
      continue;
    }
    m_pos += CharLen(m_pos);
  }
}

void TFountainParser::SingleQuotationProc() {
  m_token = tokSingleQuotation;
  QuotationScan('\'', QuoteEscapes());
}

void TFountainParser::DoubleQuotationProc() {
  m_token = tokDoubleQuotation;
  QuotationScan('"', QuoteEscapes());
}

void TFountainParser::ContinueTokenProc() {
  const std::uint8_t kind = m_wrappedToken;
  m_isStartToken = false;
  CallMethod();
  if (m_token != tokEof) m_token = kind;
}

void TFountainParser::ReserveWordProc() {
  m_isStartToken = false;
  CallMethod();
  if (m_token != tokEof) m_token = tokReserve;
}

// ---- double-byte and kana -----------------------------------------------------------

void TFountainParser::DBSymbolProc() {
  const unsigned char lead = At(m_pos);
  const unsigned char trail = At(m_pos + 1);
  m_token = tokDBSymbol;
  if (CharLen(m_pos) == 1) {
    m_token = tokSymbol;  // a lead byte without its trail is one byte
    ++m_pos;
    return;
  }
  const bool symbol = lead == 0x81 || (lead >= 0x84 && lead <= 0x87) ||
                      (lead == 0x83 && trail >= 0x97 && trail <= 0xF0) ||
                      (lead == 0x82 && ((trail >= 0x40 && trail <= 0x4E) || (trail >= 0x59 && trail <= 0x5F) ||
                                        (trail >= 0x7A && trail <= 0x80) || (trail >= 0x9B && trail <= 0x9E) ||
                                        trail >= 0xF2));
  if (symbol) m_pos += 2;
}

void TFountainParser::DBProc() {
  const unsigned char lead = At(m_pos);
  if (CharLen(m_pos) == 1) {
    m_token = tokSymbol;
    ++m_pos;
    return;
  }
  const unsigned char trail = At(m_pos + 1);
  auto pairIn = [this](int p, unsigned char l, unsigned char lo, unsigned char hi) {
    return At(p) == l && At(p + 1) >= lo && At(p + 1) <= hi;
  };
  auto extras = [this](int p, unsigned char a, unsigned char b) {
    return At(p) == 0x81 && (At(p + 1) == a || At(p + 1) == b);
  };
  m_pos += 2;
  if (lead == 0x82) {
    if (trail >= 0x4F && trail <= 0x58) {
      m_token = tokDBDigit;
      while (pairIn(m_pos, 0x82, 0x4F, 0x58) || extras(m_pos, 0x43, 0x44)) m_pos += 2;
    } else if ((trail >= 0x60 && trail <= 0x79) || (trail >= 0x81 && trail <= 0x9A)) {
      m_token = tokDBLatin;
      while (pairIn(m_pos, 0x82, 0x60, 0x79) || pairIn(m_pos, 0x82, 0x81, 0x9A)) m_pos += 2;
    } else if (trail >= 0x9F && trail <= 0xF1) {
      m_token = tokDBHiragana;
      while (pairIn(m_pos, 0x82, 0x9F, 0xF1) || extras(m_pos, 0x5B, 0x7C)) m_pos += 2;
    } else {
      m_token = tokDBSymbol;
    }
    return;
  }
  if (trail >= 0x40 && trail <= 0x96) {
    m_token = tokDBKatakana;
    while (pairIn(m_pos, 0x83, 0x40, 0x96) || extras(m_pos, 0x5B, 0x7C)) m_pos += 2;
  } else {
    m_token = tokDBSymbol;
  }
}

void TFountainParser::DBKanjiProc() {
  m_token = tokDBKanji;
  for (;;) {
    const unsigned char c = At(m_pos);
    if (!((c >= 0x88 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC))) return;
    if (CharLen(m_pos) == 1) {
      // A lead byte without its trail ends the run as one byte.
      if (m_pos == m_tokenStart) ++m_pos;
      return;
    }
    m_pos += 2;
  }
}

void TFountainParser::KanaSymbolProc() {
  m_token = tokKanaSymbol;
  ++m_pos;
}

void TFountainParser::KanaProc() {
  m_token = tokKana;
  while (At(m_pos) >= 0xA6 && At(m_pos) <= 0xDF) ++m_pos;
}

// ---- words ------------------------------------------------------------------------

bool TFountainParser::IsReserveWord() const {
  if (m_isStartToken || m_token == tokEof || m_token == tokBracket || m_token == tokComment) return false;
  return m_fountain->ReserveWordList().Contains(TokenView());
}

std::uint8_t TFountainParser::WrappedTokenKind(std::uint8_t kind) const {
  return IsReserveWord() ? tokReserve : kind;
}

bool TFountainParser::IsKeyWord(std::string_view word) {
  if (word.empty()) return false;
  auto upper = [](unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; };
  int p = m_pos;
  for (char w : word) {
    if (AtEnd(p) || upper(At(p)) != upper(static_cast<unsigned char>(w))) return false;
    ++p;
  }
  if (IsWordByte(At(p))) return false;
  m_pos = p;
  return true;
}

// ---- the state after a row ------------------------------------------------------------

bool TFountainParser::RowPrologue(int index, const TRowAttributeStringList& list, TRowAttributeData& data) {
  if (!EolToken()[data.Token]) return false;
  // The carried token fills the whole row and ends with the logical line.
  if (list.GetRows(index) != raWrapped) data.Token = 0;
  data.WrappedByte = 0;
  return true;
}

bool TFountainParser::EndsInsideEscape(int from, int to) const {
  int backslashes = 0;
  for (int p = from; p < to && !AtEnd(p); p += CharLen(p)) backslashes = At(p) == '\\' ? backslashes + 1 : 0;
  return backslashes % 2 == 1;
}

bool TFountainParser::QuoteRules(std::uint8_t kind, unsigned char& quote, bool& doubling, bool& escapes) const {
  if (kind != tokSingleQuotation && kind != tokDoubleQuotation) return false;
  quote = kind == tokSingleQuotation ? '\'' : '"';
  doubling = true;
  escapes = QuoteEscapes();
  return true;
}

bool TFountainParser::QuoteCutInside(std::uint8_t kind, int rowLen) const {
  unsigned char quote = 0;
  bool doubling = false, escapes = false;
  if (!QuoteRules(kind, quote, doubling, escapes)) return false;
  int p = m_straddleStart;
  if (!m_isStartToken) ++p;  // the opening quote
  else if (m_rowStartRemain == 1 && p == 0) p += CharLen(p);
  while (p < rowLen && !AtEnd(p)) {
    const unsigned char c = At(p);
    if (c == quote) {
      // The string goes on past the row, so this quote is doubled.
      if (p + 1 >= rowLen) return doubling;
      p += 2;
    } else if (escapes && c == '\\') {
      if (p + 1 >= rowLen) return true;
      p += 1 + CharLen(p + 1);
    } else {
      p += CharLen(p);
    }
  }
  return false;
}

void TFountainParser::RowEpilogue(TRowAttributeData& data, std::uint8_t straddle, int rowLen) {
  // Remain keeps whether the rest of a cut string starts with a character
  // that belongs to an escape or a doubled quote.
  data.Remain = QuoteCutInside(straddle, rowLen) ? 1 : 0;
}

void TFountainParser::LastTokenBracket(int index, const TRowAttributeStringList& list, TRowAttributeData& data) {
  if (index < 0 || index >= list.GetCount()) return;
  const TRowAttribute row = list.GetRows(index);
  data.Row = row;
  m_rowStartRemain = data.Remain;
  if (RowPrologue(index, list, data)) return;
  const std::string& text = list.Get(index);
  const int rowLen = static_cast<int>(text.size());
  if (!ScanBlankRows() && IsBlankRow(text)) {
    // Nothing starts here; what was carried in goes on, but no token
    // outlives the end of the logical line.
    if (row != raWrapped) {
      data.Token = 0;
      data.WrappedByte = 0;
    }
    Start(text, {}, data);
    RowEpilogue(data, 0, rowLen);
    return;
  }
  const bool joined = row == raWrapped && index + 1 < list.GetCount();
  const bool nextWrapped = joined && list.GetRows(index + 1) == raWrapped;
  Start(text, joined ? std::string_view(list.Get(index + 1)) : std::string_view(), data);

  std::uint8_t kind = 0;
  int drawBracket = -1, element = data.Element;
  int tokStart = 0, tokEnd = 0;
  bool stopped = false;
  while (NextToken() != tokEof) {
    // A token cut at the row end goes on as what was scanned; the language
    // re-labels its rest on the next row the same way.
    kind = m_scannedKind;
    data.Bracket = m_bracketIndex;
    if (kind == tokBracket) drawBracket = m_drawBracketIndex;
    element = m_elementIndex;
    tokStart = m_tokenStart;
    tokEnd = m_pos;
    if (tokEnd <= rowLen) {
      data.Element = element;
      data.PrevToken = m_prevToken;
      AfterRowToken(data);
      continue;
    }
    stopped = true;
    break;
  }
  data.WrappedByte = 0;
  data.Token = 0;
  std::uint8_t straddle = 0;
  if (stopped && tokStart >= rowLen) {
    // The next row begins a token of its own.
    data.Bracket = -1;
  } else if (stopped) {
    straddle = kind;
    m_straddleStart = tokStart;
    data.Element = element;
    AfterRowToken(data);
    const int part = tokEnd - rowLen;
    if (kind == tokBracket) {
      if (data.Bracket == -1) {
        // The bracket closes in the next row, which still starts inside it.
        data.Bracket = drawBracket;
        const TFountainBracketCollection& brackets = m_fountain->Brackets();
        if (drawBracket >= 0 && drawBracket < brackets.Count() &&
            part < static_cast<int>(brackets.Item(drawBracket).RightBracket().size())) {
          if (part <= kMaxStored) {
            data.Token = tokBracket;
            data.WrappedByte = part;
          } else {
            data.Bracket = -1;  // a closing string too long to store: the next row starts outside
          }
        }
      }
    } else {
      data.Token = WrappedTokenKind(kind);
      const bool reachesEnd = tokEnd >= m_len && nextWrapped;
      // Tokens longer than the stored byte count re-enter through their
      // procedure as well.
      if (!ReentersWrappedToken(kind) && !reachesEnd && part <= kMaxStored) data.WrappedByte = part;
    }
  }
  RowEpilogue(data, straddle, rowLen);
  data.Element = std::clamp(data.Element, 0, kMaxStored);
  data.Remain = std::clamp(data.Remain, 0, kMaxStored);
}

}  // namespace nuv
