// C/C++ and Java colouring.
#include "fountain/CppFountain.h"

#include "base/AsciiCase.h"

namespace nuv {

TCppFountain::TCppFountain() {
  WireColors({&Ank, &Comment, &DBCS, &Int, &Str, &Symbol, &PreProcessor});
  for (std::string_view e : {".c", ".cpp", ".h", ".hpp"}) AddFileExt(e);
  Brackets().Add("/*", "*/", TFountainColor());
  AddReserveWords({"asm", "auto", "break", "case", "catch", "char", "class", "const", "continue", "default",
                   "delete", "do", "double", "else", "enum", "extern", "float", "for", "friend", "goto", "if",
                   "inline", "int", "long", "new", "operator", "private", "protected", "public", "register",
                   "return", "short", "signed", "sizeof", "static", "struct", "switch", "template", "this",
                   "throw", "try", "typedef", "union", "unsigned", "virtual", "void", "volatile", "while"});
}

void TCppFountain::VisitOwnColors(const TFountainColorVisitor& visit) {
  visit("Ank", Ank);
  visit("Comment", Comment);
  visit("DBCS", DBCS);
  visit("Int", Int);
  visit("Str", Str);
  visit("Symbol", Symbol);
  visit("PreProcessor", PreProcessor);
}

std::unique_ptr<TFountainParser> TCppFountain::NewParser() { return std::make_unique<TCppFountainParser>(this); }

TJavaFountain::TJavaFountain() {
  WireColors({&Ank, &Comment, &DBCS, &Int, &Str, &Symbol});
  for (std::string_view e : {".class", ".java"}) AddFileExt(e);
  Brackets().Add("/*", "*/", TFountainColor());
  AddReserveWords({"abstract", "boolean", "break", "byte", "case", "catch", "char", "class", "const", "continue",
                   "default", "do", "double", "else", "extends", "final", "finally", "float", "for", "goto", "if",
                   "implements", "import", "instanceof", "int", "interface", "long", "native", "new", "package",
                   "private", "protected", "public", "return", "short", "static", "super", "switch",
                   "synchronized", "this", "throw", "throws", "transient", "try", "void", "volatile", "while"});
}

void TJavaFountain::VisitOwnColors(const TFountainColorVisitor& visit) {
  visit("Ank", Ank);
  visit("Comment", Comment);
  visit("DBCS", DBCS);
  visit("Int", Int);
  visit("Str", Str);
  visit("Symbol", Symbol);
}

std::unique_ptr<TFountainParser> TJavaFountain::NewParser() { return std::make_unique<TJavaFountainParser>(this); }

// ---- shared -------------------------------------------------------------------------------

TCLikeFountainParser::TCLikeFountainParser(TFountain* fountain) : TFountainParser(fountain) {
  SetMethod('0', &TCLikeFountainParser::ZeroProc);
  SetMethod('/', &TCLikeFountainParser::DoubleSlashProc);
  SetMethod('"', &TCLikeFountainParser::DoubleQuotationProc);
  SetMethod('\'', &TCLikeFountainParser::SingleQuotationProc);
  SetTokenMethod(tokCHex, &TCLikeFountainParser::CHexProc);
}

void TCLikeFountainParser::ZeroProc() {
  if (At(m_pos + 1) == 'x' || At(m_pos + 1) == 'X') {
    m_pos += 2;
    CHexProc();
  } else {
    IntegerProc();
  }
}

void TCLikeFountainParser::CHexProc() {
  m_token = tokCHex;
  while (IsHexDigit(At(m_pos))) ++m_pos;
}

// ---- C/C++ --------------------------------------------------------------------------------

TCppFountainParser::TCppFountainParser(TCppFountain* fountain) : TCLikeFountainParser(fountain), m_cpp(*fountain) {
  SetMethod(';', &TCppFountainParser::PropertyCancelProc);
  SetMethod('#', &TCppFountainParser::PreProcessorProc);
  SetTokenMethod(tokPreProcessor, &TCppFountainParser::PreProcessorProc);
}

TTokenSet TCppFountainParser::IncludeTabToken() const {
  // A preprocessor line holds blanks like a comment.
  return TFountainParser::IncludeTabToken() | MakeTokenSet({tokPreProcessor});
}

void TCppFountainParser::AnkProc() {
  TFountainParser::AnkProc();
  const std::string_view w = TokenView();
  if (m_elementIndex == 0) {
    if (AsciiEqualNoCase(w, "property")) m_elementIndex = 1;
  } else if (AsciiEqualNoCase(w, "index") || AsciiEqualNoCase(w, "read") || AsciiEqualNoCase(w, "write")) {
    m_token = tokReserve;
  } else if (AsciiEqualNoCase(w, "private") || AsciiEqualNoCase(w, "protected") || AsciiEqualNoCase(w, "public") ||
             AsciiEqualNoCase(w, "published")) {
    m_elementIndex = 0;
  }
}

void TCppFountainParser::PropertyCancelProc() {
  m_elementIndex = 0;
  SymbolProc();
}

void TCppFountainParser::PreProcessorProc() {
  m_token = tokPreProcessor;
  m_pos = m_len;
}

const TFountainColor* TCppFountainParser::TokenToFountainColor() const {
  if (IsReserveWord()) return &m_cpp.Reserve();
  if (m_token == tokCHex) return &m_cpp.Int;
  if (m_token == tokPreProcessor) return &m_cpp.PreProcessor;
  return CommonColor({&m_cpp.Ank, &m_cpp.Comment, &m_cpp.DBCS, &m_cpp.Int, &m_cpp.Str, &m_cpp.Symbol});
}

// ---- Java ---------------------------------------------------------------------------------

TJavaFountainParser::TJavaFountainParser(TJavaFountain* fountain) : TCLikeFountainParser(fountain), m_java(*fountain) {}

const TFountainColor* TJavaFountainParser::TokenToFountainColor() const {
  if (IsReserveWord()) return &m_java.Reserve();
  if (m_token == tokCHex) return &m_java.Int;
  return CommonColor({&m_java.Ank, &m_java.Comment, &m_java.DBCS, &m_java.Int, &m_java.Str, &m_java.Symbol});
}

std::string TCLikeFountainParser::KindName(std::uint8_t kind) const {
  return KindNameFrom(kind, {{tokCHex, "CHex"}});
}

std::string TCppFountainParser::KindName(std::uint8_t kind) const {
  return kind == tokPreProcessor ? "PreProcessor" : TCLikeFountainParser::KindName(kind);
}

}  // namespace nuv
