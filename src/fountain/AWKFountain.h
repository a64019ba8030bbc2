// The AWK fountain: comments from "#", double-quoted strings, reserved words
// and the built-in variables as constant words.
#pragma once

#include "fountain/FountainParser.h"

namespace nuv {

class TAWKFountain : public TFountain {
 public:
  TAWKFountain();
  TFountainColor Ank, Comment, DBCS, Int, Str, Symbol, Constant;
  const TSortedWordList& ConstantWordList() const { return m_constantWordList; }
  void SetConstantWordList(const TSortedWordList& list);
  std::unique_ptr<TFountainParser> NewParser() override;

 protected:
  void VisitOwnColors(const TFountainColorVisitor& visit) override;

 private:
  TSortedWordList m_constantWordList;
};

class TAWKFountainParser : public TFountainParser {
 public:
  static constexpr std::uint8_t tokConstantWord = 50;
  explicit TAWKFountainParser(TAWKFountain* fountain);
  const TFountainColor* TokenToFountainColor() const override;
  std::string KindName(std::uint8_t kind) const override;
  bool IsConstantWord() const;

 protected:
  bool QuoteEscapes() const override { return true; }
  std::uint8_t WrappedTokenKind(std::uint8_t kind) const override;
  void ConstantWordProc();

 private:
  TAWKFountain& m_awk;
};

}  // namespace nuv
