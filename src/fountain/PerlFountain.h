// The Perl fountain: variables, strings, quote-like constructs, patterns,
// substitutions and transliterations with their delimiters, here-documents
// (optionally holding HTML tags) and POD.
#pragma once

#include "fountain/FountainParser.h"
#include "fountain/HTMLFountain.h"

namespace nuv {

class TPerlFountain : public TFountain {
 public:
  TPerlFountain();
  TFountainColor Ampersand, Ank, BackQuotation, Comment, DBCS, DoubleQuotation, Here;
  TFountainColor Int, LiteralQuotation, Pattern, PerlVar, SingleQuotation, Symbol, TagAttribute;
  TFountainColor TagAttributeValue, TagColor, TagElement;
  // Whether here-documents may hold HTML that is coloured as tags.
  bool HereHtml() const { return m_hereHtml; }
  void SetHereHtml(bool v);
  std::unique_ptr<TFountainParser> NewParser() override;

 protected:
  void VisitOwnColors(const TFountainColorVisitor& visit) override;

 private:
  bool m_hereHtml = true;
};

// State: ElementIndex 0 code, 2 between the two bracketed parts of s or tr,
// 3 here-document, 4 POD, a delimiter byte (34 for a double-quoted string)
// inside a construct closed by that byte; Remain the nesting depth of a
// bracket delimiter, or 1 inside a tag of a here-document; DataStr the
// terminator of the open here-document.
class TPerlFountainParser : public TFountainParser {
 public:
  static constexpr std::uint8_t tokScalar = 60;
  static constexpr std::uint8_t tokArray = 61;
  static constexpr std::uint8_t tokHash = 62;
  static constexpr std::uint8_t tokBackQuotation = 63;
  static constexpr std::uint8_t tokEscape = 64;
  static constexpr std::uint8_t tokLiteralQuotation = 65;
  static constexpr std::uint8_t tokPattern = 66;
  static constexpr std::uint8_t tokSubstitute = 67;
  static constexpr std::uint8_t tokReplacement = 68;
  static constexpr std::uint8_t tokTranslitFrom = 69;
  static constexpr std::uint8_t tokTranslitTo = 70;
  static constexpr std::uint8_t tokHere = 71;
  static constexpr int kBetweenParts = 2;
  static constexpr int kHereDocument = 3;
  static constexpr int kPod = 4;

  explicit TPerlFountainParser(TPerlFountain* fountain);
  int NextToken() override;
  bool IsReserveWord() const override;
  const TFountainColor* TokenToFountainColor() const override;
  std::string KindName(std::uint8_t kind) const override;
  TTokenSet IncludeTabToken() const override;
  static bool IsDelimiter(int c);
  static int ReverseDelimiter(int c);
  // The terminator named after "<<" at `text`: quotes skipped, then a word.
  static std::string HereEndStr(std::string_view text);

 protected:
  void NormalTokenProc() override;
  void CommenterProc() override;
  void IntegerProc() override;
  void SymbolProc() override;
  void SingleQuotationProc() override;
  void DoubleQuotationProc() override;
  void AmpersandProc();
  void AngleBracketProc();
  void AtmarkProc();
  void BackQuotationProc();
  void BackSlashProc();
  void DollerProc();
  void LiteralQuotationProc();
  void PatternMatchProc();
  void PercentProc();
  void SlashProc();
  void SubstituteProc();
  void EqualProc();
  void TagEndProc();
  void TranslitarateProc();
  void TranslitarateYProc();

  bool RowPrologue(int index, const TRowAttributeStringList& list, TRowAttributeData& data) override;
  void AfterRowToken(TRowAttributeData& data) override;
  bool ReentersWrappedToken(std::uint8_t kind) const override;
  void RowEpilogue(TRowAttributeData& data, std::uint8_t straddle, int rowLen) override;

 private:
  bool InCode() const { return m_elementIndex == 0; }
  bool InTag() const { return m_elementIndex == kHereDocument && m_remain == 1; }
  bool InConstruct() const { return m_elementIndex == kBetweenParts || IsDelimiter(m_elementIndex); }
  void UpdateToken();
  // Opens a construct whose first `len` bytes end with its delimiter.
  void OpenConstruct(int len, std::uint8_t kind);
  void Modifiers(const char* letters);
  void FrameworkSymbol() { TFountainParser::SymbolProc(); }

  TPerlFountain& m_perl;
  std::uint8_t m_lastKind = 0;  // the kind of the row's last token, for RowEpilogue
};

}  // namespace nuv
