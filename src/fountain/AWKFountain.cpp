// AWK colouring.
#include "fountain/AWKFountain.h"

namespace nuv {

TAWKFountain::TAWKFountain() {
  WireColors({&Ank, &Comment, &DBCS, &Int, &Str, &Symbol, &Constant});
  AddFileExt(".awk");
  AddReserveWords({"atan2", "begin", "break", "close", "continue", "cos", "delete", "do", "else", "end", "exit",
                   "exp", "file", "for", "getline", "gsub", "if", "in", "index", "int", "jindex", "jlength",
                   "jsubstr", "length", "log", "match", "next", "print", "printf", "rand", "return", "sin", "split",
                   "sprintf", "sqrt", "srand", "strftime", "sub", "substr", "system", "systime", "tolower",
                   "toupper", "while"});
  for (std::string_view w : {"ARGC", "ARGIND", "ARGV", "CONVFMT", "ENVIRON", "ERRNO", "FIELDWIDTHS", "FILENAME", "FNR",
                             "FS", "IGNORECASE", "NF", "NR", "OFS", "OMFT", "ORS", "RLENGTH", "RS", "RSTART", "SUBSEP"}) {
    m_constantWordList.Add(w);
  }
}

void TAWKFountain::SetConstantWordList(const TSortedWordList& list) {
  m_constantWordList = list;
  NotifyChanged();
}

void TAWKFountain::VisitOwnColors(const TFountainColorVisitor& visit) {
  visit("Ank", Ank);
  visit("Comment", Comment);
  visit("DBCS", DBCS);
  visit("Int", Int);
  visit("Str", Str);
  visit("Symbol", Symbol);
  visit("Constant", Constant);
}

std::unique_ptr<TFountainParser> TAWKFountain::NewParser() { return std::make_unique<TAWKFountainParser>(this); }

TAWKFountainParser::TAWKFountainParser(TAWKFountain* fountain) : TFountainParser(fountain), m_awk(*fountain) {
  SetMethod('#', &TAWKFountainParser::CommenterProc);
  SetMethod('"', &TAWKFountainParser::DoubleQuotationProc);
  SetTokenMethod(tokConstantWord, &TAWKFountainParser::ConstantWordProc);
}

bool TAWKFountainParser::IsConstantWord() const {
  if (m_isStartToken || m_token == tokEof || m_token == tokBracket || m_token == tokComment) return false;
  return m_awk.ConstantWordList().Contains(TokenView());
}

void TAWKFountainParser::ConstantWordProc() {
  m_isStartToken = false;
  CallMethod();
  if (m_token != tokEof) m_token = tokConstantWord;
}

std::uint8_t TAWKFountainParser::WrappedTokenKind(std::uint8_t kind) const {
  if (IsReserveWord()) return tokReserve;
  return IsConstantWord() ? tokConstantWord : kind;
}

const TFountainColor* TAWKFountainParser::TokenToFountainColor() const {
  if (IsReserveWord()) return &m_awk.Reserve();
  if (IsConstantWord() || m_token == tokConstantWord) return &m_awk.Constant;
  if (m_token == tokSingleQuotation) return nullptr;
  return CommonColor({&m_awk.Ank, &m_awk.Comment, &m_awk.DBCS, &m_awk.Int, &m_awk.Str, &m_awk.Symbol});
}

std::string TAWKFountainParser::KindName(std::uint8_t kind) const {
  return KindNameFrom(kind, {{tokConstantWord, "ConstantWord"}});
}

}  // namespace nuv
