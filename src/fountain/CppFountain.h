// The C/C++ and Java fountains: "/*" brackets, "//" comments, strings with
// backslash escapes, hexadecimal numbers; C/C++ adds preprocessor lines and
// the property declarations of C++Builder.
#pragma once

#include "fountain/FountainParser.h"

namespace nuv {

class TCppFountain : public TFountain {
 public:
  TCppFountain();
  TFountainColor Ank, Comment, DBCS, Int, Str, Symbol, PreProcessor;
  std::unique_ptr<TFountainParser> NewParser() override;

 protected:
  void VisitOwnColors(const TFountainColorVisitor& visit) override;
};

class TJavaFountain : public TFountain {
 public:
  TJavaFountain();
  TFountainColor Ank, Comment, DBCS, Int, Str, Symbol;
  std::unique_ptr<TFountainParser> NewParser() override;

 protected:
  void VisitOwnColors(const TFountainColorVisitor& visit) override;
};

// What C/C++ and Java share: "0x" numbers as kind 50, "//" comments and
// strings whose backslash escapes the next character.
class TCLikeFountainParser : public TFountainParser {
 public:
  std::string KindName(std::uint8_t kind) const override;
  static constexpr std::uint8_t tokCHex = 50;

 protected:
  explicit TCLikeFountainParser(TFountain* fountain);
  bool QuoteEscapes() const override { return true; }
  void ZeroProc();
  void CHexProc();
};

class TCppFountainParser : public TCLikeFountainParser {
 public:
  static constexpr std::uint8_t tokPreProcessor = 51;
  explicit TCppFountainParser(TCppFountain* fountain);
  const TFountainColor* TokenToFountainColor() const override;
  std::string KindName(std::uint8_t kind) const override;
  TTokenSet IncludeTabToken() const override;

 protected:
  void AnkProc() override;
  void PropertyCancelProc();
  void PreProcessorProc();

 private:
  TCppFountain& m_cpp;
};

class TJavaFountainParser : public TCLikeFountainParser {
 public:
  explicit TJavaFountainParser(TJavaFountain* fountain);
  const TFountainColor* TokenToFountainColor() const override;

 private:
  TJavaFountain& m_java;
};

}  // namespace nuv
