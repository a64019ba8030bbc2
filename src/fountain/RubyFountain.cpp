// Ruby colouring.
#include "fountain/RubyFountain.h"

#include <cstring>

namespace nuv {

TRubyFountain::TRubyFountain() {
  WireColors({&Ank, &Comment, &Int, &Str, &Symbol, &GlobalVar, &InstanceVar, &ClassVar, &Constant, &RubySymbol,
              &Regexp, &Definition});
  for (std::string_view e : {".cgi", ".rb", ".wrb"}) AddFileExt(e);
  // The list ignores duplicates regardless of case, so of begin/BEGIN and
  // end/END only the first is kept.
  AddReserveWords({"alias", "and", "begin", "BEGIN", "break", "case", "class", "def", "defined", "do", "else",
                   "elsif", "end", "END", "ensure", "false", "for", "if", "in", "module", "next", "nil", "not",
                   "or", "redo", "rescue", "retry", "return", "self", "super", "then", "true", "undef", "unless",
                   "until", "when", "while", "yield"});
}

void TRubyFountain::VisitOwnColors(const TFountainColorVisitor& visit) {
  visit("Ank", Ank);
  visit("Comment", Comment);
  visit("Int", Int);
  visit("Str", Str);
  visit("Symbol", Symbol);
  visit("GlobalVar", GlobalVar);
  visit("InstanceVar", InstanceVar);
  visit("ClassVar", ClassVar);
  visit("Constant", Constant);
  visit("RubySymbol", RubySymbol);
  visit("Regexp", Regexp);
  visit("Definition", Definition);
}

std::unique_ptr<TFountainParser> TRubyFountain::NewParser() { return std::make_unique<TRubyFountainParser>(this); }

// ---- parser --------------------------------------------------------------------------------

namespace {
using R = TRubyFountainParser;
bool IsUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
bool InSet(const char* set, unsigned char c) { return c != 0 && std::strchr(set, c) != nullptr; }
bool IsMethodChar(unsigned char c) {
  return InSet("!$%&*+-/<=>?_|", c) || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsSymbolChar(unsigned char c) { return IsMethodChar(c) || c == '@'; }
int ClosingDelimiter(unsigned char c) {
  switch (c) {
    case '(': return ')';
    case '<': return '>';
    case '[': return ']';
    case '{': return '}';
    default: return c;
  }
}
}  // namespace

TRubyFountainParser::TRubyFountainParser(TRubyFountain* fountain) : TFountainParser(fountain), m_ruby(*fountain) {
  SetMethod('#', &R::CommenterProc);
  SetMethod('$', &R::DollarProc);
  SetMethod('@', &R::AtMarkProc);
  SetMethod(':', &R::ColonProc);
  SetMethod('=', &R::EqualProc);
  SetMethod('%', &R::PercentProc);
  SetMethod('"', &R::DoubleQuotationProc1);
  SetMethod('\'', &R::SingleQuotationProc1);
  SetMethod('/', &R::SlashProc);
  SetMethod('<', &R::AngleBracketProc);
  SetTokenMethod(tokGlobalVar, &R::DollarProc);
  SetTokenMethod(tokClassVar, &R::ClassVarProc);
  SetTokenMethod(tokInstanceVar, &R::InstanceVarProc);
  SetTokenMethod(tokConstant, &R::ConstantProc);
  SetTokenMethod(tokRubySymbol, &R::ColonProc);
  SetTokenMethod(tokMethodName, &R::MethodDefineProc);
  SetTokenMethod(tokClassName, &R::ModuleClassDefineProc);
  SetTokenMethod(tokStringLiteral, &R::StringLiteralProc);
  SetTokenMethod(tokStringEscaped, &R::StringLiteralProc);
  SetTokenMethod(tokRegexpLiteral, &R::RegexpLiteralProc);
  SetTokenMethod(tokRegexpEscaped, &R::RegexpLiteralProc);
  SetTokenMethod(tokHereDocument, &R::HereDocumentProc);
}

TTokenSet TRubyFountainParser::IncludeTabToken() const {
  return MakeTokenSet({tokComment, tokSingleQuotation, tokDoubleQuotation, tokStringLiteral, tokRegexpLiteral,
                       tokHereDocument});
}

void TRubyFountainParser::NormalTokenProc() {
  switch (m_elementIndex) {
    case kRd: RDProc(); return;
    case kDef: MethodDefineProc(); return;
    case kClass: ModuleClassDefineProc(); return;
    case kHere: case kHereIndent: HereDocumentProc(); return;
    case kHere + 2: case kHereIndent + 2:
      m_elementIndex -= 2;
      CommenterProc();
      return;
    default: break;
  }
  if (m_elementIndex >= kLiteral) {
    // A literal state without a literal kind goes on as a string.
    if (m_prevToken == tokRegexpLiteral || m_prevToken == tokRegexpEscaped) RegexpLiteralProc();
    else StringLiteralProc();
    return;
  }
  TFountainParser::NormalTokenProc();
}

void TRubyFountainParser::AnkProc() {
  TFountainParser::AnkProc();
  if (m_isStartToken) return;  // the rest of a word cut by the wrap keeps its kind
  const std::string_view w = TokenView();
  if (IsUpper(static_cast<unsigned char>(w[0]))) {
    m_token = tokConstant;
  } else if (w == "def") {
    m_token = tokReserve;
    m_elementIndex = kDef;
  } else if (w == "class" || w == "module") {
    m_token = tokReserve;
    m_elementIndex = kClass;
  }
}

void TRubyFountainParser::RDProc() {
  if (AtLineStart() && TextStartsWith(m_pos, "=end") && !IsWordByte(At(m_pos + 4))) m_elementIndex = 0;
  CommenterProc();
}

void TRubyFountainParser::MethodDefineProc() {
  if (m_elementIndex == kDef) m_elementIndex = 0;
  const int start = m_pos;
  while (IsMethodChar(At(m_pos))) ++m_pos;
  if (m_pos > start) {
    m_token = tokMethodName;
  } else if (!m_isStartToken) {
    NormalTokenProc();  // no name here: the code goes on
  }
}

void TRubyFountainParser::ModuleClassDefineProc() {
  if (m_elementIndex == kClass) m_elementIndex = 0;
  if (m_isStartToken || IsUpper(At(m_pos))) {
    m_token = tokClassName;
    SkipWord();
  } else {
    NormalTokenProc();  // "class << self" and the like
  }
}

void TRubyFountainParser::HereDocumentProc() {
  if (m_elementIndex == kHere + 2 || m_elementIndex == kHereIndent + 2) m_elementIndex -= 2;
  m_token = tokHereDocument;
  while (!AtEnd(m_pos)) {
    if (At(m_pos) == '#' && At(m_pos + 1) != '$' && At(m_pos + 1) != '@' && At(m_pos + 1) != '{') {
      if (m_pos == m_tokenStart) {
        CommenterProc();
      } else {
        m_elementIndex += 2;
      }
      return;
    }
    m_pos += CharLen(m_pos);
  }
}

void TRubyFountainParser::DollarProc() {
  if (m_isStartToken) {
    m_token = tokGlobalVar;
    SkipWord();
    return;
  }
  const unsigned char n = At(m_pos + 1);
  if (n == '-' && InSet("FIOadipvw", At(m_pos + 2))) {
    m_token = tokGlobalVar;
    m_pos += 3;
  } else if (IsWordByte(n)) {
    m_token = tokGlobalVar;
    ++m_pos;
    SkipWord();
  } else if (InSet("!\"$&'*+,./:;<=>?@\\`~", n)) {
    const unsigned char a = At(m_pos + 2);
    m_token = (a == 0 || a == ' ' || a == ')' || a == '.' || a == '=' || a == '[') ? tokGlobalVar : tokSymbol;
    m_pos += 2;
  } else {
    SymbolProc();
  }
}

void TRubyFountainParser::AtMarkProc() {
  if (At(m_pos + 1) == '@' && IsWordByte(At(m_pos + 2))) {
    m_pos += 2;
    ClassVarProc();
  } else if (IsWordByte(At(m_pos + 1))) {
    ++m_pos;
    InstanceVarProc();
  } else {
    SymbolProc();
  }
}

void TRubyFountainParser::ClassVarProc() {
  m_token = tokClassVar;
  SkipWord();
}

void TRubyFountainParser::InstanceVarProc() {
  m_token = tokInstanceVar;
  SkipWord();
}

void TRubyFountainParser::ConstantProc() {
  m_token = tokConstant;
  SkipWord();
}

void TRubyFountainParser::ColonProc() {
  if (m_isStartToken) {
    m_token = tokRubySymbol;
    while (IsSymbolChar(At(m_pos))) ++m_pos;
  } else if (At(m_pos + 1) == ':') {
    m_token = tokSymbol;
    m_pos += 2;
  } else if (IsWordByte(At(m_pos + 1))) {
    m_token = tokRubySymbol;
    ++m_pos;
    while (IsSymbolChar(At(m_pos))) ++m_pos;
  } else {
    SymbolProc();
  }
}

void TRubyFountainParser::EqualProc() {
  if (AtLineStart() && TextStartsWith(m_pos, "=begin") && !IsWordByte(At(m_pos + 6))) {
    m_elementIndex = kRd;
    CommenterProc();
  } else {
    SymbolProc();
  }
}

void TRubyFountainParser::OpenLiteral(int len, std::uint8_t kind, unsigned char delimiter) {
  m_pos += len;
  m_elementIndex = ClosingDelimiter(delimiter);
  m_prevToken = kind;
  LiteralScan(kind, false);
}

void TRubyFountainParser::LiteralScan(std::uint8_t kind, bool escapedFirst) {
  m_token = kind;
  m_prevToken = kind;
  const int close = m_elementIndex;
  m_literalClose = close;
  if (escapedFirst && m_tokenStart == 0 && !AtEnd(m_pos)) m_pos += CharLen(m_pos);
  while (!AtEnd(m_pos)) {
    const unsigned char c = At(m_pos);
    const int len = CharLen(m_pos);
    if (c == '\\') {
      ++m_pos;
      if (!AtEnd(m_pos)) m_pos += CharLen(m_pos);
      continue;
    }
    if (len == 1 && c == close) {
      ++m_pos;
      m_elementIndex = 0;
      return;
    }
    m_pos += len;
  }
}

void TRubyFountainParser::StringLiteralProc() {
  const bool escaped = m_prevToken == tokStringEscaped;
  if (m_elementIndex < kLiteral) m_elementIndex = m_literalClose >= kLiteral ? m_literalClose : '"';
  LiteralScan(tokStringLiteral, escaped);
}

void TRubyFountainParser::RegexpLiteralProc() {
  const bool escaped = m_prevToken == tokRegexpEscaped;
  if (m_elementIndex < kLiteral) m_elementIndex = m_literalClose >= kLiteral ? m_literalClose : '/';
  LiteralScan(tokRegexpLiteral, escaped);
}

void TRubyFountainParser::PercentProc() {
  const unsigned char c1 = At(m_pos + 1);
  const unsigned char d = At(m_pos + 2);
  // The delimiter must be a whole single-byte character above the
  // here-document states, so that it can be stored as the state itself.
  const bool usable = c1 != 0 && d > 9 && CharLen(m_pos + 2) == 1;
  if (usable && (c1 == 'Q' || c1 == 'q' || c1 == 'x')) {
    OpenLiteral(3, tokStringLiteral, d);
  } else if (usable && c1 == 'r' && !IsLetter(d) && !IsDigit(d)) {
    OpenLiteral(3, tokRegexpLiteral, d);
  } else {
    SymbolProc();
  }
}

void TRubyFountainParser::DoubleQuotationProc1() { OpenLiteral(1, tokStringLiteral, '"'); }

void TRubyFountainParser::SingleQuotationProc1() { OpenLiteral(1, tokStringLiteral, '\''); }

void TRubyFountainParser::SlashProc() {
  if (At(m_pos + 1) != 0 && At(m_pos + 1) != ' ') {
    OpenLiteral(1, tokRegexpLiteral, '/');
  } else {
    SymbolProc();
  }
}

void TRubyFountainParser::AngleBracketProc() {
  if (At(m_pos + 1) == '<' && At(m_pos + 2) != 0 && At(m_pos + 2) != '<') {
    int p = m_pos + 2;
    const bool indent = At(p) == '-';
    if (indent) ++p;
    const unsigned char c = At(p);
    std::string terminator;
    if (c == '"' || c == '\'' || c == '`') {
      const int start = ++p;
      while (!AtEnd(p) && At(p) != c) p += CharLen(p);
      if (At(p) == c) terminator.assign(m_buf, static_cast<std::size_t>(start), static_cast<std::size_t>(p - start));
    } else if (IsLetter(c) || IsDigit(c)) {
      const int start = p;
      while (IsWordByte(At(p))) ++p;
      terminator.assign(m_buf, static_cast<std::size_t>(start), static_cast<std::size_t>(p - start));
    }
    // An empty terminator would end at the first empty line: no here-document.
    if (!terminator.empty()) {
      m_dataStr = std::move(terminator);
      m_elementIndex = indent ? kHereIndent : kHere;
      m_token = tokHereDocument;
      m_pos = m_len;
      return;
    }
  }
  SymbolProc();
}

bool TRubyFountainParser::IsReserveWord() const {
  if (m_isStartToken || m_token == tokEof || m_token == tokBracket || m_token == tokComment) return false;
  if (m_elementIndex != 0 && m_elementIndex != 8 && m_elementIndex != 9) return false;
  return m_ruby.ReserveWordList().Contains(TokenView(), true);
}

// ---- the state after a row -------------------------------------------------------------------

bool TRubyFountainParser::RowPrologue(int index, const TRowAttributeStringList& list, TRowAttributeData& data) {
  if ((data.Element == kHere || data.Element == kHereIndent) && !data.DataStr.empty() &&
      list.GetRows(index) != raWrapped && data.PrevRow != raWrapped) {
    std::string_view text = list.Get(index);
    if (data.Element == kHereIndent) {
      while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    }
    if (text == data.DataStr) {
      data.Element = 0;
      data.DataStr.clear();
      return true;
    }
  }
  return TFountainParser::RowPrologue(index, list, data);
}

void TRubyFountainParser::RowEpilogue(TRowAttributeData& data, std::uint8_t straddle, int rowLen) {
  const bool hereOpen = data.Element >= kHere && data.Element <= kHereIndent + 2;
  data.DataStr = hereOpen ? m_dataStr : std::string();
  if (straddle != tokStringLiteral && straddle != tokRegexpLiteral) return;
  // The next row goes on inside the literal, which needs its delimiter and
  // whether the row ended inside an escape.
  data.Element = m_literalClose;
  data.PrevToken = static_cast<std::uint8_t>(straddle + (EndsInsideEscape(m_straddleStart, rowLen) ? 1 : 0));
}

const TFountainColor* TRubyFountainParser::TokenToFountainColor() const {
  const TRubyFountain& f = m_ruby;
  if (IsReserveWord()) return &f.Reserve();
  switch (m_token) {
    case tokGlobalVar: return &f.GlobalVar;
    case tokClassVar: return &f.ClassVar;
    case tokInstanceVar: return &f.InstanceVar;
    case tokConstant: return &f.Constant;
    case tokRubySymbol: return &f.RubySymbol;
    case tokMethodName: case tokClassName: return &f.Definition;
    case tokStringLiteral: case tokHereDocument: return &f.Str;
    case tokRegexpLiteral: return &f.Regexp;
    case tokSingleQuotation: case tokDoubleQuotation: return nullptr;
    default: return CommonColor({&f.Ank, &f.Comment, nullptr, &f.Int, nullptr, &f.Symbol});
  }
}

std::string TRubyFountainParser::KindName(std::uint8_t kind) const {
  return KindNameFrom(kind, {{tokGlobalVar, "GlobalVar"}, {tokClassVar, "ClassVar"},
                             {tokInstanceVar, "InstanceVar"}, {tokConstant, "Constant"},
                             {tokRubySymbol, "RubySymbol"}, {tokMethodName, "MethodName"},
                             {tokClassName, "ClassName"}, {tokStringLiteral, "StringLiteral"},
                             {tokStringEscaped, "StringEscaped"}, {tokRegexpLiteral, "RegexpLiteral"},
                             {tokRegexpEscaped, "RegexpEscaped"}, {tokHereDocument, "HereDocument"}});
}

}  // namespace nuv
