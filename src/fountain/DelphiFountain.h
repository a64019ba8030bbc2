// The Delphi fountain: "{ }" and "(* *)" brackets, "//" comments, strings in
// single quotes, "#" character codes, "$" hexadecimal numbers, property
// declarations and asm blocks.
#pragma once

#include "fountain/FountainParser.h"

namespace nuv {

class TDelphiFountain : public TFountain {
 public:
  TDelphiFountain();
  TFountainColor Ank, AsmBlock, Comment, DBCS, Int, Str, Symbol;
  std::unique_ptr<TFountainParser> NewParser() override;

 protected:
  void VisitOwnColors(const TFountainColorVisitor& visit) override;
};

class TDelphiFountainParser : public TFountainParser {
 public:
  static constexpr std::uint8_t tokControlCode = 50;
  static constexpr std::uint8_t tokControlCodeHex = 51;
  static constexpr std::uint8_t tokAsmBlock = 52;
  // ElementIndex: 0 code, 1 inside a property declaration, 2 inside an asm block.
  explicit TDelphiFountainParser(TDelphiFountain* fountain);
  int NextToken() override;
  bool IsReserveWord() const override;
  const TFountainColor* TokenToFountainColor() const override;
  std::string KindName(std::uint8_t kind) const override;

 protected:
  void AnkProc() override;
  void CharCodeProc();
  void ControlCodeProc();
  void ControlCodeHexProc();
  void HexPrefixProc();
  void PropertyCancelProc();

 private:
  TDelphiFountain& m_delphi;
};

}  // namespace nuv
