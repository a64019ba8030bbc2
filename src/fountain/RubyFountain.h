// The Ruby fountain: variables by their sigils, constants, symbols, method,
// class and module names after def, class and module, string and regular-
// expression literals with their delimiters, here-documents and =begin
// documentation.
#pragma once

#include "fountain/FountainParser.h"

namespace nuv {

class TRubyFountain : public TFountain {
 public:
  TRubyFountain();
  TFountainColor Ank, Comment, Int, Str, Symbol, GlobalVar, InstanceVar, ClassVar, Constant, RubySymbol, Regexp;
  TFountainColor Definition;
  std::unique_ptr<TFountainParser> NewParser() override;

 protected:
  void VisitOwnColors(const TFountainColorVisitor& visit) override;
};

// ElementIndex: 0 code; 1 inside =begin ... =end; 2 after def; 3 after class
// or module; 4 here-document, 5 one opened with "<<-" (its terminator may be
// indented); 6 and 7 the same two after a "#" in the here-document; 10 and
// above, inside a literal closed by that byte. PrevToken tells string
// literals (58) from regular expressions (60); 59 and 61 mark a literal cut
// by the wrap right after a backslash.
class TRubyFountainParser : public TFountainParser {
 public:
  static constexpr std::uint8_t tokGlobalVar = 51;
  static constexpr std::uint8_t tokClassVar = 52;
  static constexpr std::uint8_t tokInstanceVar = 53;
  static constexpr std::uint8_t tokConstant = 54;
  static constexpr std::uint8_t tokRubySymbol = 55;
  static constexpr std::uint8_t tokMethodName = 56;
  static constexpr std::uint8_t tokClassName = 57;
  static constexpr std::uint8_t tokStringLiteral = 58;
  static constexpr std::uint8_t tokStringEscaped = 59;
  static constexpr std::uint8_t tokRegexpLiteral = 60;
  static constexpr std::uint8_t tokRegexpEscaped = 61;
  static constexpr std::uint8_t tokHereDocument = 62;
  static constexpr int kRd = 1, kDef = 2, kClass = 3, kHere = 4, kHereIndent = 5, kLiteral = 10;

  explicit TRubyFountainParser(TRubyFountain* fountain);
  bool IsReserveWord() const override;
  const TFountainColor* TokenToFountainColor() const override;
  std::string KindName(std::uint8_t kind) const override;
  TTokenSet IncludeTabToken() const override;

 protected:
  void NormalTokenProc() override;
  void AnkProc() override;
  void RDProc();
  void MethodDefineProc();
  void ModuleClassDefineProc();
  void HereDocumentProc();
  void DollarProc();
  void AtMarkProc();
  void ClassVarProc();
  void InstanceVarProc();
  void ConstantProc();
  void ColonProc();
  void EqualProc();
  void PercentProc();
  void DoubleQuotationProc1();
  void SingleQuotationProc1();
  void SlashProc();
  void AngleBracketProc();
  void StringLiteralProc();
  void RegexpLiteralProc();

  bool RowPrologue(int index, const TRowAttributeStringList& list, TRowAttributeData& data) override;
  void RowEpilogue(TRowAttributeData& data, std::uint8_t straddle, int rowLen) override;

 private:
  void OpenLiteral(int len, std::uint8_t kind, unsigned char delimiter);
  void LiteralScan(std::uint8_t kind, bool escapedFirst);
  bool AtLineStart() const { return m_pos == 0 && m_prevRowAttribute != raWrapped; }

  TRubyFountain& m_ruby;
  int m_literalClose = 0;  // the closing delimiter of the last literal
};

}  // namespace nuv
