// The COBOL fountain: the sequence area (the first six columns), comment
// lines marked in the indicator column, hyphenated words, and verbs coloured
// apart from the other reserved words.
#pragma once

#include "fountain/FountainParser.h"

namespace nuv {

class TCOBOLFountain : public TFountain {
 public:
  TCOBOLFountain();
  TFountainColor Ank, Comment, DBCS, Int, Sequence, Str, Symbol, Verb;
  const TSortedWordList& VerbList() const { return m_verbList; }
  void SetVerbList(const TSortedWordList& list);
  std::unique_ptr<TFountainParser> NewParser() override;

 protected:
  void VisitOwnColors(const TFountainColorVisitor& visit) override;

 private:
  TSortedWordList m_verbList;
};

class TCOBOLFountainParser : public TFountainParser {
 public:
  static constexpr std::uint8_t tokSequence = 60;
  static constexpr int kIndicatorColumn = 6;
  explicit TCOBOLFountainParser(TCOBOLFountain* fountain);
  const TFountainColor* TokenToFountainColor() const override;
  std::string KindName(std::uint8_t kind) const override;

 protected:
  void IntegerProc() override;
  void AnkProc() override;
  void SequenceProc();
  void StarProc();

 private:
  TCOBOLFountain& m_cobol;
};

}  // namespace nuv
