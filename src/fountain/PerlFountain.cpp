// Perl colouring. Constructs that span tokens (strings, q-like quotes,
// patterns, s and tr) open with one token that sets ElementIndex to their
// closing delimiter; every token inside then takes the opening token's kind,
// and the symbol procedure closes the construct (counting nested brackets).
#include "fountain/PerlFountain.h"

namespace nuv {

TPerlFountain::TPerlFountain() {
  WireColors({&Ampersand, &Ank, &BackQuotation, &Comment, &DBCS, &DoubleQuotation, &Here, &Int, &LiteralQuotation,
              &Pattern, &PerlVar, &SingleQuotation, &Symbol, &TagAttribute, &TagAttributeValue, &TagColor,
              &TagElement});
  for (std::string_view e : {".cgi", ".pl", ".pm", ".pod"}) AddFileExt(e);
  AddReserveWords({"cmp", "do", "else", "elsif", "eq", "for", "foreach", "ge", "gt", "if", "le", "lt", "ne",
                   "package", "require", "return", "sub", "unless", "until", "use", "while"});
}

void TPerlFountain::SetHereHtml(bool v) {
  if (v == m_hereHtml) return;
  m_hereHtml = v;
  NotifyChanged();
}

void TPerlFountain::VisitOwnColors(const TFountainColorVisitor& visit) {
  visit("Ampersand", Ampersand);
  visit("Ank", Ank);
  visit("BackQuotation", BackQuotation);
  visit("Comment", Comment);
  visit("DBCS", DBCS);
  visit("DoubleQuotation", DoubleQuotation);
  visit("Here", Here);
  visit("Int", Int);
  visit("LiteralQuotation", LiteralQuotation);
  visit("Pattern", Pattern);
  visit("PerlVar", PerlVar);
  visit("SingleQuotation", SingleQuotation);
  visit("Symbol", Symbol);
  visit("TagAttribute", TagAttribute);
  visit("TagAttributeValue", TagAttributeValue);
  visit("TagColor", TagColor);
  visit("TagElement", TagElement);
}

std::unique_ptr<TFountainParser> TPerlFountain::NewParser() { return std::make_unique<TPerlFountainParser>(this); }

// ---- parser --------------------------------------------------------------------------------

namespace {
using P = TPerlFountainParser;
bool IsElementToken(std::uint8_t k) {
  return k == tokDoubleQuotation || (k >= P::tokLiteralQuotation && k <= P::tokTranslitTo);
}
bool IsBracketDelimiter(int c) {
  return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' || c == '}';
}
}  // namespace

bool TPerlFountainParser::IsDelimiter(int c) {
  return (c >= 33 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 94) || c == 96 || (c >= 123 && c <= 126);
}

int TPerlFountainParser::ReverseDelimiter(int c) {
  switch (c) {
    case '(': return ')';
    case ')': return '(';
    case '<': return '>';
    case '>': return '<';
    case '[': return ']';
    case ']': return '[';
    case '{': return '}';
    case '}': return '{';
    default: return c;
  }
}

std::string TPerlFountainParser::HereEndStr(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == '"' || text[i] == '\'' || text[i] == '`')) ++i;
  std::size_t j = i;
  while (j < text.size() && IsWordByte(static_cast<unsigned char>(text[j]))) ++j;
  return std::string(text.substr(i, j - i));
}

TPerlFountainParser::TPerlFountainParser(TPerlFountain* fountain) : TFountainParser(fountain), m_perl(*fountain) {
  SetMethod('"', &P::DoubleQuotationProc);
  SetMethod('#', &P::CommenterProc);
  SetMethod('$', &P::DollerProc);
  SetMethod('%', &P::PercentProc);
  SetMethod('&', &P::AmpersandProc);
  SetMethod('\'', &P::SingleQuotationProc);
  SetMethod('/', &P::SlashProc);
  SetMethod('<', &P::AngleBracketProc);
  SetMethod('=', &P::EqualProc);
  SetMethod('>', &P::TagEndProc);
  SetMethod('@', &P::AtmarkProc);
  SetMethod('\\', &P::BackSlashProc);
  SetMethod('`', &P::BackQuotationProc);
  SetMethod('m', &P::PatternMatchProc);
  SetMethod('q', &P::LiteralQuotationProc);
  SetMethod('s', &P::SubstituteProc);
  SetMethod('t', &P::TranslitarateProc);
  SetMethod('y', &P::TranslitarateYProc);
  SetTokenMethod(tokTagElement, &P::TagElementProc);
  SetTokenMethod(tokTagAttribute, &P::TagAttributeProc);
  SetTokenMethod(tokTagAttributeValue, &P::TagAttributeValueProc);
  SetTokenMethod(tokAmpersand, &P::AmpersandProc);
  SetTokenMethod(tokBackQuotation, &P::BackQuotationProc);
}

TTokenSet TPerlFountainParser::IncludeTabToken() const {
  // The here-document text holds blanks like a comment.
  return MakeTokenSet({tokComment, tokSingleQuotation, tokBackQuotation, tokHere});
}

int TPerlFountainParser::NextToken() {
  ScanToken();
  UpdateToken();
  if (m_token != tokEof) m_prevToken = m_token;
  return m_token;
}

void TPerlFountainParser::UpdateToken() {
  if (m_token == tokEof) return;
  if (InConstruct()) {
    if (!IsElementToken(m_token) && IsElementToken(m_prevToken)) m_token = m_prevToken;
  } else if (InTag()) {
    m_token = TagTokenKind(m_token, m_prevToken);
  } else if (m_elementIndex == kHereDocument) {
    if (m_token != tokTagEnd && m_token != tokAmpersand) m_token = tokHere;
  } else if (m_elementIndex == kPod) {
    m_token = tokComment;
  }
}

void TPerlFountainParser::NormalTokenProc() {
  if (m_bracketIndex == -1 && IsBracketStart(At(m_pos)) && IsBracketProc()) {
    BracketProc();
  } else if (InTag() && m_prevToken == tokTagEqual) {
    TagAttributeValueProc();
  } else {
    CallMethod();
  }
}

void TPerlFountainParser::OpenConstruct(int len, std::uint8_t kind) {
  const unsigned char delimiter = At(m_pos + len - 1);
  m_pos += len;
  m_token = kind;
  m_elementIndex = ReverseDelimiter(delimiter);
  m_remain = 1;
}

void TPerlFountainParser::Modifiers(const char* letters) {
  for (;;) {
    const unsigned char c = At(m_pos);
    bool found = false;
    for (const char* l = letters; *l; ++l) found = found || c == static_cast<unsigned char>(*l);
    if (!found || c == 0) return;
    ++m_pos;
  }
}

void TPerlFountainParser::SymbolProc() {
  const int c = At(m_pos);
  if (m_elementIndex == kBetweenParts && (c == '(' || c == '<' || c == '[' || c == '{')) {
    m_elementIndex = ReverseDelimiter(c);
    m_remain = 1;
    ++m_pos;
    m_token = m_prevToken != tokEof ? m_prevToken : tokSymbol;
    return;
  }
  if (IsDelimiter(m_elementIndex) && c != 0) {
    if (IsBracketDelimiter(m_elementIndex) && c == ReverseDelimiter(m_elementIndex)) {
      // Nesting deeper than the stored counter can hold is not counted, so
      // the state after the row is always what the row attributes keep.
      if (m_remain < kMaxStored) ++m_remain;
      FrameworkSymbol();
      return;
    }
    if (c == m_elementIndex && --m_remain <= 0) {
      ++m_pos;
      switch (m_prevToken) {
        case tokSubstitute:
        case tokTranslitFrom:
          if (IsBracketDelimiter(m_elementIndex)) m_elementIndex = kBetweenParts;
          m_remain = 1;
          m_token = m_prevToken == tokSubstitute ? tokReplacement : tokTranslitTo;
          return;
        case tokReplacement:
          m_elementIndex = 0;
          m_remain = 0;
          m_token = tokReplacement;
          Modifiers("egimosx");
          return;
        case tokTranslitTo:
          m_elementIndex = 0;
          m_remain = 0;
          m_token = tokTranslitTo;
          Modifiers("cds");
          return;
        default:
          m_elementIndex = 0;
          m_remain = 0;
          m_token = m_prevToken != tokEof ? m_prevToken : tokSymbol;
          if (m_prevToken == tokPattern) Modifiers("imosx");
          return;
      }
    }
  }
  FrameworkSymbol();
}

void TPerlFountainParser::CommenterProc() {
  if (InCode()) {
    TFountainParser::CommenterProc();
  } else {
    SymbolProc();
  }
}

void TPerlFountainParser::IntegerProc() {
  if (At(m_pos) == '0' && At(m_pos + 1) == 'x') {
    m_pos += 2;
    HexProc();
  } else {
    TFountainParser::IntegerProc();
  }
}

void TPerlFountainParser::SingleQuotationProc() {
  if (!InCode() && !InTag()) {
    SymbolProc();
    return;
  }
  m_token = tokSingleQuotation;
  QuotationScan('\'', false, false);
}

void TPerlFountainParser::DoubleQuotationProc() {
  if (InTag()) {
    m_token = tokDoubleQuotation;
    QuotationScan('"', false, true);
  } else if (InCode() && !m_isStartToken) {
    m_token = tokDoubleQuotation;
    ++m_pos;
    m_elementIndex = '"';
    m_remain = 1;
  } else {
    SymbolProc();
  }
}

void TPerlFountainParser::AmpersandProc() {
  if (m_elementIndex == kHereDocument && m_perl.HereHtml()) {
    m_token = tokAmpersand;
    EntityScan();
  } else if (m_elementIndex != '&' && IsWordByte(At(m_pos + 1))) {
    m_token = tokAnk;
    ++m_pos;
    SkipWord();
    if (At(m_pos) == '\'') ++m_pos;
  } else {
    SymbolProc();
  }
}

void TPerlFountainParser::AngleBracketProc() {
  if (InCode() && At(m_pos + 1) == '<') {
    const unsigned char next = At(m_pos + 2);
    if (next != 0 && next != '<' && At(m_len - 1) == ';') {
      // An empty terminator would end the here-document at the first empty
      // line, and "<<=" or "<< 2" are shifts: neither opens one.
      std::string terminator = HereEndStr(std::string_view(m_buf).substr(static_cast<std::size_t>(m_pos + 2),
                                                                         static_cast<std::size_t>(m_len - m_pos - 2)));
      if (!terminator.empty()) {
        m_dataStr = std::move(terminator);
        m_pos = m_len;
        m_token = tokHere;
        m_elementIndex = kHereDocument;
        m_remain = 0;
        return;
      }
    }
  }
  if (m_elementIndex == kHereDocument && m_perl.HereHtml()) {
    m_token = tokTagStart;
    ++m_pos;
    m_remain = 1;
    return;
  }
  SymbolProc();
}

void TPerlFountainParser::AtmarkProc() {
  if (InCode() && IsWordByte(At(m_pos + 1))) {
    m_token = tokArray;
    ++m_pos;
    SkipWord();
  } else {
    SymbolProc();
  }
}

void TPerlFountainParser::PercentProc() {
  if (InCode() && IsWordByte(At(m_pos + 1))) {
    m_token = tokHash;
    ++m_pos;
    SkipWord();
  } else {
    SymbolProc();
  }
}

void TPerlFountainParser::BackQuotationProc() {
  if (!InCode() && !m_isStartToken) {
    SymbolProc();
    return;
  }
  m_token = tokBackQuotation;
  if (!m_isStartToken) ++m_pos;
  while (!AtEnd(m_pos)) {
    if (At(m_pos) == '`') {
      ++m_pos;
      return;
    }
    m_pos += CharLen(m_pos);
  }
}

void TPerlFountainParser::BackSlashProc() {
  const unsigned char n = At(m_pos + 1);
  if (n < 33 || n > 126) {
    SymbolProc();
    return;
  }
  m_token = tokEscape;
  m_pos += 2;
  if (n == '0') {
    while (At(m_pos) >= '0' && At(m_pos) <= '7') ++m_pos;
  } else if (n == 'x') {
    while (IsHexDigit(At(m_pos))) ++m_pos;
  }
}

void TPerlFountainParser::DollerProc() {
  if (!InCode()) {
    SymbolProc();
    return;
  }
  const unsigned char n = At(m_pos + 1);
  if (n == '$' || IsWordByte(n)) {
    m_token = tokScalar;
    ++m_pos;
    // Further sigils ($$name); stepping over other bytes could cut a
    // character in two.
    while (At(m_pos) == '$') ++m_pos;
    if (IsDigit(At(m_pos))) {
      while (IsDigit(At(m_pos))) ++m_pos;
    } else {
      SkipWord();
    }
  } else if ((n >= '!' && n <= '/') || (n >= ':' && n <= '@') || (n >= '[' && n <= '`') || n == '|' || n == '~') {
    m_token = tokScalar;
    m_pos += 2;
  } else {
    SymbolProc();
  }
}

void TPerlFountainParser::LiteralQuotationProc() {
  const unsigned char c1 = At(m_pos + 1);
  if (InCode() && IsDelimiter(c1)) {
    OpenConstruct(2, tokLiteralQuotation);
  } else if (InCode() && (c1 == 'q' || c1 == 'w' || c1 == 'x' || c1 == 'r') && IsDelimiter(At(m_pos + 2))) {
    OpenConstruct(3, c1 == 'r' ? tokPattern : tokLiteralQuotation);
  } else {
    TFountainParser::AnkProc();
  }
}

void TPerlFountainParser::PatternMatchProc() {
  if (InCode() && IsDelimiter(At(m_pos + 1))) {
    OpenConstruct(2, tokPattern);
  } else {
    TFountainParser::AnkProc();
  }
}

void TPerlFountainParser::SubstituteProc() {
  if (InCode() && IsDelimiter(At(m_pos + 1))) {
    OpenConstruct(2, tokSubstitute);
  } else {
    TFountainParser::AnkProc();
  }
}

void TPerlFountainParser::TranslitarateProc() {
  if (InCode() && At(m_pos + 1) == 'r' && IsDelimiter(At(m_pos + 2))) {
    OpenConstruct(3, tokTranslitFrom);
  } else {
    TFountainParser::AnkProc();
  }
}

void TPerlFountainParser::TranslitarateYProc() {
  if (InCode() && IsDelimiter(At(m_pos + 1))) {
    OpenConstruct(2, tokTranslitFrom);
  } else {
    TFountainParser::AnkProc();
  }
}

void TPerlFountainParser::SlashProc() {
  if (InCode()) {
    if (At(m_pos + 1) != ' ') {
      m_token = tokPattern;
      ++m_pos;
      m_elementIndex = '/';
      m_remain = 1;
    } else {
      SymbolProc();
    }
  } else if (InTag() && m_prevToken == tokTagStart) {
    m_token = tokTagElement;
    ++m_pos;
    while (IsLetter(At(m_pos)) || IsDigit(At(m_pos))) ++m_pos;
  } else {
    SymbolProc();
  }
}

void TPerlFountainParser::EqualProc() {
  if (InTag() && m_prevToken == tokTagAttribute) {
    m_token = tokTagEqual;
    ++m_pos;
    return;
  }
  if (m_pos == 0 && m_prevRowAttribute != raWrapped && (InCode() || m_elementIndex == kPod)) {
    const int start = m_pos;
    ++m_pos;
    if (InCode()) {
      for (std::string_view w : {"head1", "head2", "over", "item", "back", "for", "begin", "end", "pod"}) {
        if (IsKeyWord(w)) {
          m_elementIndex = kPod;
          m_token = tokComment;
          m_pos = m_len;
          return;
        }
      }
    } else if (IsKeyWord("cut")) {
      m_elementIndex = 0;
      m_token = tokComment;
      m_pos = m_len;
      return;
    }
    m_pos = start;
  }
  SymbolProc();
}

void TPerlFountainParser::TagEndProc() {
  if (InTag()) {
    m_token = tokTagEnd;
    ++m_pos;
    m_remain = 0;
  } else {
    SymbolProc();
  }
}

bool TPerlFountainParser::IsReserveWord() const { return InCode() && TFountainParser::IsReserveWord(); }

// ---- the state after a row -------------------------------------------------------------------

bool TPerlFountainParser::RowPrologue(int index, const TRowAttributeStringList& list, TRowAttributeData& data) {
  m_lastKind = data.PrevToken;
  if (data.Element == kHereDocument && data.PrevRow != raWrapped && list.GetRows(index) != raWrapped &&
      !data.DataStr.empty() && list.Get(index) == data.DataStr) {
    data.Element = 0;
    data.DataStr.clear();
    return true;
  }
  return TFountainParser::RowPrologue(index, list, data);
}

void TPerlFountainParser::AfterRowToken(TRowAttributeData& data) {
  data.Remain = m_remain;
  m_lastKind = m_token;
}

bool TPerlFountainParser::ReentersWrappedToken(std::uint8_t kind) const {
  return IncludeTabToken()[kind] || (kind == tokDoubleQuotation && InTag());
}

void TPerlFountainParser::RowEpilogue(TRowAttributeData& data, std::uint8_t straddle, int) {
  data.DataStr = m_dataStr;
  // A double-quoted string ends with its logical line.
  if (straddle == 0 && m_lastKind == tokDoubleQuotation && data.Element == '"' && data.Row != raWrapped) {
    data.Element = 0;
    data.Remain = 0;
  }
}

const TFountainColor* TPerlFountainParser::TokenToFountainColor() const {
  const TPerlFountain& f = m_perl;
  if (IsReserveWord()) return &f.Reserve();
  switch (m_token) {
    case tokSingleQuotation: return &f.SingleQuotation;
    case tokDoubleQuotation: return &f.DoubleQuotation;
    case tokTagStart: case tokTagEnd: case tokTagEqual: return &f.TagColor;
    case tokTagElement: return &f.TagElement;
    case tokTagAttribute: return &f.TagAttribute;
    case tokTagAttributeValue: return &f.TagAttributeValue;
    case tokAmpersand: return &f.Ampersand;
    case tokScalar: case tokArray: case tokHash: return &f.PerlVar;
    case tokBackQuotation: return &f.BackQuotation;
    case tokLiteralQuotation: return &f.LiteralQuotation;
    case tokPattern: case tokSubstitute: case tokReplacement: case tokTranslitFrom: case tokTranslitTo: return &f.Pattern;
    case tokHere: return &f.Here;
    default: return CommonColor({&f.Ank, &f.Comment, &f.DBCS, &f.Int, nullptr, &f.Symbol});
  }
}

std::string TPerlFountainParser::KindName(std::uint8_t kind) const {
  const std::string_view tag = TagKindName(kind);
  if (!tag.empty()) return std::string(tag);
  return KindNameFrom(kind, {{tokScalar, "Scalar"}, {tokArray, "Array"}, {tokHash, "Hash"},
                             {tokBackQuotation, "BackQuotation"}, {tokEscape, "Escape"},
                             {tokLiteralQuotation, "LiteralQuotation"}, {tokPattern, "Pattern"},
                             {tokSubstitute, "Substitute"}, {tokReplacement, "Replacement"},
                             {tokTranslitFrom, "TranslitFrom"}, {tokTranslitTo, "TranslitTo"}, {tokHere, "Here"}});
}

}  // namespace nuv
