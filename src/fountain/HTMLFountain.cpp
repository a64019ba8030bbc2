// HTML colouring.
#include "fountain/HTMLFountain.h"

namespace nuv {

std::uint8_t TagTokenKind(std::uint8_t token, std::uint8_t prevToken) {
  // The "<" that opens the tag keeps its kind whatever came before it.
  if (token == tokTagStart) return token;
  if (prevToken == tokTagStart) return token == tokAnk ? tokTagElement : token;
  if (prevToken == tokTagElement || prevToken == tokTagAttributeValue || prevToken == tokSingleQuotation ||
      prevToken == tokDoubleQuotation) {
    return tokTagAttribute;
  }
  if (prevToken == tokTagAttribute && token != tokTagEqual) return tokTagAttribute;
  return token;
}

THTMLFountain::THTMLFountain() {
  WireColors({&Ampersand, &Mail, &Str, &TagAttribute, &TagAttributeValue, &TagColor, &TagElement, &Url});
  for (std::string_view e : {".htm", ".html"}) AddFileExt(e);
  Brackets().Add("<!--", "-->", TFountainColor(clGreen, clNone, 0));
}

void THTMLFountain::VisitOwnColors(const TFountainColorVisitor& visit) {
  visit("Ampersand", Ampersand);
  visit("Mail", Mail);
  visit("Str", Str);
  visit("TagAttribute", TagAttribute);
  visit("TagAttributeValue", TagAttributeValue);
  visit("TagColor", TagColor);
  visit("TagElement", TagElement);
  visit("Url", Url);
}

std::unique_ptr<TFountainParser> THTMLFountain::NewParser() { return std::make_unique<THTMLFountainParser>(this); }

THTMLFountainParser::THTMLFountainParser(THTMLFountain* fountain) : TFountainParser(fountain), m_html(*fountain) {
  SetMethod('"', &THTMLFountainParser::DoubleQuotationProc);
  SetMethod('\'', &THTMLFountainParser::SingleQuotationProc);
  SetMethod('&', &THTMLFountainParser::AmpersandProc);
  SetMethod('<', &THTMLFountainParser::TagStartProc);
  SetMethod('>', &THTMLFountainParser::TagEndProc);
  SetMethod('=', &THTMLFountainParser::TagAttributeDelimiterProc);
  SetMethod('/', &THTMLFountainParser::SlashProc);
  SetTokenMethod(tokTagElement, &THTMLFountainParser::TagElementProc);
  SetTokenMethod(tokTagAttribute, &THTMLFountainParser::TagAttributeProc);
  SetTokenMethod(tokTagAttributeValue, &THTMLFountainParser::TagAttributeValueProc);
  SetTokenMethod(tokAmpersand, &THTMLFountainParser::AmpersandProc);
}

int THTMLFountainParser::NextToken() {
  ScanToken();
  if (m_token == tokEof) return m_token;
  if (InTag()) m_token = TagTokenKind(m_token, m_prevToken);
  m_prevToken = m_token;
  return m_token;
}

void THTMLFountainParser::NormalTokenProc() {
  if (m_bracketIndex == -1 && IsBracketStart(At(m_pos)) && IsBracketProc()) {
    BracketProc();
  } else if (IsUrlProc()) {
    UrlProc();
  } else if (IsMailProc()) {
    MailProc();
  } else if (InTag() && m_prevToken == tokTagEqual) {
    TagAttributeValueProc();
  } else {
    CallMethod();
  }
}

void THTMLFountainParser::AnkProc() {
  TFountainParser::AnkProc();
  if (At(m_pos) == '\'') ++m_pos;
}

void THTMLFountainParser::SingleQuotationProc() {
  m_token = tokSingleQuotation;
  QuotationScan('\'', false, false);
}

bool THTMLFountainParser::QuoteRules(std::uint8_t kind, unsigned char& quote, bool& doubling, bool& escapes) const {
  if (!TFountainParser::QuoteRules(kind, quote, doubling, escapes)) return false;
  doubling = kind == tokDoubleQuotation;
  return true;
}

void THTMLFountainParser::AmpersandProc() {
  m_token = tokAmpersand;
  EntityScan();
}

void THTMLFountainParser::TagStartProc() {
  m_token = tokTagStart;
  ++m_pos;
  m_elementIndex = 1;
}

void THTMLFountainParser::TagEndProc() {
  m_token = tokTagEnd;
  ++m_pos;
  m_elementIndex = 0;
}

void THTMLFountainParser::TagAttributeDelimiterProc() {
  if (InTag() && m_prevToken == tokTagAttribute) {
    m_token = tokTagEqual;
    ++m_pos;
  } else {
    SymbolProc();
  }
}

void THTMLFountainParser::SlashProc() {
  if (InTag() && m_prevToken == tokTagStart) {
    m_token = tokTagElement;
    ++m_pos;
    while (IsLetter(At(m_pos)) || IsDigit(At(m_pos))) ++m_pos;
  } else {
    SymbolProc();
  }
}

const TFountainColor* THTMLFountainParser::TokenToFountainColor() const {
  if (IsReserveWord()) return &m_html.Reserve();
  switch (m_token) {
    case tokBracket: return BracketColor(m_drawBracketIndex);
    case tokUrl: return &m_html.Url;
    case tokMail: return &m_html.Mail;
    case tokSingleQuotation: case tokDoubleQuotation: return &m_html.Str;
    case tokTagStart: case tokTagEnd: case tokTagEqual: return &m_html.TagColor;
    case tokTagElement: return &m_html.TagElement;
    case tokTagAttribute: return &m_html.TagAttribute;
    case tokTagAttributeValue: return &m_html.TagAttributeValue;
    case tokAmpersand: return &m_html.Ampersand;
    default: return nullptr;
  }
}

std::string THTMLFountainParser::KindName(std::uint8_t kind) const {
  const std::string_view tag = TagKindName(kind);
  return tag.empty() ? TFountainParser::KindName(kind) : std::string(tag);
}

}  // namespace nuv
