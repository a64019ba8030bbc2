// The HTML fountain: tags with their element, attributes and values,
// character entities, quoted text, comments, URLs and mail addresses; text
// outside tags stays uncoloured.
#pragma once

#include "fountain/FountainParser.h"
#include "fountain/TagTokens.h"

namespace nuv {

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
  std::string KindName(std::uint8_t kind) const override;

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
  bool InTag() const { return m_elementIndex == 1; }

 private:
  THTMLFountain& m_html;
};

}  // namespace nuv
