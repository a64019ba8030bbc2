// Delphi colouring.
#include "fountain/DelphiFountain.h"

#include "base/AsciiCase.h"

namespace nuv {

TDelphiFountain::TDelphiFountain() {
  WireColors({&Ank, &AsmBlock, &Comment, &DBCS, &Int, &Str, &Symbol});
  for (std::string_view e : {".dpr", ".inc", ".pas"}) AddFileExt(e);
  Brackets().Add("{", "}", TFountainColor());
  Brackets().Add("(*", "*)", TFountainColor());
  AddReserveWords({"absolute", "abstract", "and", "array", "as", "asm", "assembler", "automated", "begin", "case",
                   "cdecl", "class", "const", "constructor", "default", "destructor", "dispid", "dispinterface",
                   "div", "do", "downto", "dynamic", "else", "end", "except", "export", "exports", "external",
                   "far", "file", "finalization", "finally", "for", "forward", "function", "goto", "if",
                   "implementation", "in", "inherited", "initialization", "inline", "interface", "is", "label",
                   "library", "message", "mod", "near", "nil", "nodefault", "not", "object", "of", "or", "out",
                   "overload", "override", "packed", "pascal", "private", "procedure", "program", "property",
                   "protected", "public", "published", "raise", "readonly", "record", "register", "repeat",
                   "resident", "resourcestring", "safecall", "set", "shl", "shr", "stdcall", "stored", "string",
                   "then", "threadvar", "to", "try", "type", "unit", "until", "uses", "var", "virtual", "while",
                   "with", "writeonly", "xor"});
}

void TDelphiFountain::VisitOwnColors(const TFountainColorVisitor& visit) {
  visit("Ank", Ank);
  visit("AsmBlock", AsmBlock);
  visit("Comment", Comment);
  visit("DBCS", DBCS);
  visit("Int", Int);
  visit("Str", Str);
  visit("Symbol", Symbol);
}

std::unique_ptr<TFountainParser> TDelphiFountain::NewParser() { return std::make_unique<TDelphiFountainParser>(this); }

TDelphiFountainParser::TDelphiFountainParser(TDelphiFountain* fountain) : TFountainParser(fountain), m_delphi(*fountain) {
  SetMethod('#', &TDelphiFountainParser::CharCodeProc);
  SetMethod('$', &TDelphiFountainParser::HexPrefixProc);
  SetMethod(';', &TDelphiFountainParser::PropertyCancelProc);
  SetMethod('/', &TDelphiFountainParser::DoubleSlashProc);
  SetMethod('\'', &TDelphiFountainParser::SingleQuotationProc);
  SetTokenMethod(tokControlCode, &TDelphiFountainParser::ControlCodeProc);
  SetTokenMethod(tokControlCodeHex, &TDelphiFountainParser::ControlCodeHexProc);
  SetTokenMethod(tokAsmBlock, &TDelphiFountainParser::AnkProc);
}

int TDelphiFountainParser::NextToken() {
  ScanToken();
  // Inside an asm block numbers and symbols belong to the block.
  if (m_elementIndex == 2 &&
      (m_token == tokSymbol || m_token == tokInteger || m_token == tokFloat || m_token == tokHex)) {
    m_token = tokAsmBlock;
  }
  return m_token;
}

void TDelphiFountainParser::AnkProc() {
  TFountainParser::AnkProc();
  const std::string_view w = TokenView();
  auto is = [&w](std::string_view s) { return AsciiEqualNoCase(w, s); };
  switch (m_elementIndex) {
    case 0:
      if (is("asm")) m_elementIndex = 2;
      else if (is("property")) m_elementIndex = 1;
      break;
    case 1:
      if (is("index") || is("read") || is("write")) {
        m_token = tokReserve;
      } else if (is("end") || is("function") || is("private") || is("procedure") || is("protected") ||
                 is("public") || is("published")) {
        m_elementIndex = 0;
      }
      break;
    case 2:
      if (is("end")) m_elementIndex = 0;
      else m_token = tokAsmBlock;
      break;
    default:
      break;
  }
}

void TDelphiFountainParser::CharCodeProc() {
  if (At(m_pos + 1) == '$') {
    m_pos += 2;
    ControlCodeHexProc();
  } else {
    ++m_pos;
    ControlCodeProc();
  }
}

void TDelphiFountainParser::ControlCodeProc() {
  m_token = tokControlCode;
  while (IsDigit(At(m_pos))) ++m_pos;
}

void TDelphiFountainParser::ControlCodeHexProc() {
  m_token = tokControlCodeHex;
  while (IsHexDigit(At(m_pos))) ++m_pos;
}

void TDelphiFountainParser::HexPrefixProc() {
  ++m_pos;
  HexProc();
}

void TDelphiFountainParser::PropertyCancelProc() {
  m_elementIndex = 0;
  SymbolProc();
}

bool TDelphiFountainParser::IsReserveWord() const {
  return m_token != tokAsmBlock && TFountainParser::IsReserveWord();
}

const TFountainColor* TDelphiFountainParser::TokenToFountainColor() const {
  if (IsReserveWord()) return &m_delphi.Reserve();
  switch (m_token) {
    case tokControlCode: case tokControlCodeHex: return &m_delphi.Str;
    case tokAsmBlock: return &m_delphi.AsmBlock;
    case tokDoubleQuotation: return nullptr;
    default: return CommonColor({&m_delphi.Ank, &m_delphi.Comment, &m_delphi.DBCS, &m_delphi.Int, &m_delphi.Str,
                                 &m_delphi.Symbol});
  }
}

std::string TDelphiFountainParser::KindName(std::uint8_t kind) const {
  return KindNameFrom(kind, {{tokControlCode, "ControlCode"}, {tokControlCodeHex, "ControlCodeHex"}, {tokAsmBlock, "AsmBlock"}});
}

}  // namespace nuv
