// The HTML fountain: tags with their element, attributes and values,
// character entities, quoted text, comments, URLs and mail addresses; text
// outside tags stays uncoloured.
#pragma once

#include "fountain/FountainParser.h"

namespace nuv {

// Token kinds of tags, shared by the HTML parser and the HTML inside Perl
// here-documents.
constexpr std::uint8_t tokTagStart = 50;
constexpr std::uint8_t tokTagEnd = 51;
constexpr std::uint8_t tokTagElement = 52;
constexpr std::uint8_t tokTagAttribute = 53;
constexpr std::uint8_t tokTagEqual = 54;
constexpr std::uint8_t tokTagAttributeValue = 55;
constexpr std::uint8_t tokAmpersand = 56;

// The re-labelling of a token inside a tag by the token before it; returns
// the new kind.
std::uint8_t TagTokenKind(std::uint8_t token, std::uint8_t prevToken);

class THTMLFountain : public TFountain {
 public:
  THTMLFountain();
  TFountainColor Ampersand, Mail, Str, TagAttribute, TagAttributeValue, TagColor, TagElement, Url;
  std::unique_ptr<TFountainParser> NewParser() override;

 protected:
  void VisitOwnColors(const TFountainColorVisitor& visit) override;
};

class THTMLFountainParser : public TFountainParser {
 public:
  // ElementIndex: 1 inside a tag, 0 outside.
  explicit THTMLFountainParser(THTMLFountain* fountain);
  int NextToken() override;
  const TFountainColor* TokenToFountainColor() const override;

 protected:
  void NormalTokenProc() override;
  void AnkProc() override;
  void SingleQuotationProc() override;
  bool QuoteRules(std::uint8_t kind, unsigned char& quote, bool& doubling, bool& escapes) const override;
  void AmpersandProc();
  void TagStartProc();
  void TagEndProc();
  void TagAttributeDelimiterProc();
  void SlashProc();
  void TagElementProc();
  void TagAttributeProc();
  void TagAttributeValueProc();
  bool InTag() const { return m_elementIndex == 1; }

 private:
  THTMLFountain& m_html;
};

}  // namespace nuv
