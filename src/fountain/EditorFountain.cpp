// The configurable fountain, its parser and the reserved-word files.
#include "fountain/EditorFountain.h"

#include "base/FileIo.h"
#include "base/FixedText.h"

#include <vector>

namespace nuv {

NUV_FIXED_TEXT(kKagiOpen, "「");
NUV_FIXED_TEXT(kKagiClose, "」");

TEditorColors::TEditorColors(TEditorFountain& owner) : m_owner(owner) {
  Select.SetBkColor(clNavy);
  Select.SetColor(clWhite);
}

TFountainColor& TEditorColors::Reserve() { return m_owner.Reserve(); }

void TEditorColors::Visit(const TFountainColorVisitor& visit) {
  visit("Ank", Ank);
  visit("Comment", Comment);
  visit("DBCS", DBCS);
  visit("Hit", Hit);
  visit("Int", Int);
  visit("Mail", Mail);
  visit("Reserve", Reserve());
  visit("Select", Select);
  visit("Str", Str);
  visit("Symbol", Symbol);
  visit("Url", Url);
}

void TEditorColors::Assign(const TEditorColors& source) {
  if (&source == this) return;
  m_owner.ChangeList().BeginUpdate();
  for (auto [to, from] : {std::pair{&Ank, &source.Ank}, {&Comment, &source.Comment}, {&DBCS, &source.DBCS},
                          {&Hit, &source.Hit}, {&Int, &source.Int}, {&Mail, &source.Mail}, {&Select, &source.Select},
                          {&Str, &source.Str}, {&Symbol, &source.Symbol}, {&Url, &source.Url}}) {
    to->Assign(*from);
  }
  Reserve().Assign(source.m_owner.Reserve());
  m_owner.ChangeList().EndUpdate();
}

TEditorFountain::TEditorFountain() {
  m_colors.Visit([this](std::string_view name, TFountainColor& c) {
    if (name != "Reserve") WireColor(c);
  });
}

void TEditorFountain::VisitOwnColors(const TFountainColorVisitor& visit) {
  m_colors.Visit([&](std::string_view name, TFountainColor& c) {
    if (name != "Reserve") visit(name, c);
  });
}

void TEditorFountain::SetCommenter(std::string v) {
  if (v == m_commenter) return;
  m_commenter = std::move(v);
  NotifyChanged();
}

void TEditorFountain::SetControlCode(bool v) {
  if (v == m_controlCode) return;
  m_controlCode = v;
  NotifyChanged();
}

void TEditorFountain::SetHexPrefix(std::string v) {
  if (v == m_hexPrefix) return;
  m_hexPrefix = std::move(v);
  NotifyChanged();
}

void TEditorFountain::SetMail(bool v) {
  if (v == m_mail) return;
  m_mail = v;
  NotifyChanged();
}

void TEditorFountain::SetQuotation(std::string_view v) {
  std::string first(v.substr(0, v.empty() ? 0 : CharLength(v, 0)));
  if (first == m_quotation) return;
  m_quotation = std::move(first);
  NotifyChanged();
}

void TEditorFountain::SetUrl(bool v) {
  if (v == m_url) return;
  m_url = v;
  NotifyChanged();
}

void TEditorFountain::InitPageEditorDefaults() {
  ChangeList().BeginUpdate();
  SetCommenter("//");
  SetControlCode(false);
  SetHexPrefix("0x");
  SetMail(true);
  SetQuotation("\"");
  SetUrl(true);
  TFountainBracketCollection& b = Brackets();
  b.BeginUpdate();
  b.Clear();
  b.Add("/*", "*/", TFountainColor(clGreen, clNone, 0));
  b.Add("{*", "*}", TFountainColor(clRed, clNone, 0));
  b.Add("{!", "!}", TFountainColor(clTeal, clNone, 0));
  b.Add(kKagiOpen(), kKagiClose(), TFountainColor(clWindowText, clNone, 0));
  b.Add("<node:", ">", TFountainColor(clMaroon, clNone, 0));
  b.Add("<line:", ">", TFountainColor(clMaroon, clNone, 0));
  b.Add("<file@", ">", TFountainColor(clBlue, clNone, fsUnderline));
  b.Add("<node@", ">", TFountainColor(clMaroon, clNone, 0));
  b.EndUpdate();
  ChangeList().EndUpdate();
}

std::unique_ptr<TFountainParser> TEditorFountain::NewParser() { return std::make_unique<TEditorParser>(this); }

// ---- parser ---------------------------------------------------------------------------

TEditorParser::TEditorParser(TEditorFountain* fountain) : TFountainParser(fountain), m_editorFountain(*fountain) {
  SetTokenMethod(tokQuotation, &TEditorParser::QuotationProc);
  SetTokenMethod(tokControlCode, &TEditorParser::ControlCodeProc);
  SetTokenMethod(tokControlCodeHex, &TEditorParser::ControlCodeHexProc);
  const std::string& q = fountain->Quotation();
  // A quotation character that is half of a double-byte character could not
  // be told from a trail byte, so only a single-byte one counts.
  if (q.size() == 1 && q[0] != 0) m_quote = static_cast<unsigned char>(q[0]);
  for (char c : fountain->HexPrefix()) m_hexPrefixUpper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

void TEditorParser::NormalTokenProc() {
  const unsigned char c = At(m_pos);
  if (m_bracketIndex == -1 && IsBracketStart(c) && IsBracketProc()) {
    BracketProc();
  } else if (m_editorFountain.Mail() && IsMailProc()) {
    MailProc();
  } else if (m_editorFountain.Url() && IsUrlProc()) {
    UrlProc();
  } else if (!m_editorFountain.Commenter().empty() && TextStartsWith(m_pos, m_editorFountain.Commenter())) {
    CommenterProc();
  } else if (m_quote != 0 && c == m_quote) {
    QuotationProc();
  } else if (m_editorFountain.ControlCode() && c == '#' && At(m_pos + 1) == '$') {
    ControlCodeHexProc();
  } else if (m_editorFountain.ControlCode() && c == '#') {
    ControlCodeProc();
  } else if (IsHexPrefixProc()) {
    HexProc();
  } else {
    CallMethod();
  }
}

void TEditorParser::QuotationProc() {
  if (m_quote == 0) {
    // A string carried in from rules that had one: go on as plain text.
    SymbolProc();
    return;
  }
  m_token = tokQuotation;
  QuotationScan(m_quote, false);
}

bool TEditorParser::QuoteRules(std::uint8_t kind, unsigned char& quote, bool& doubling, bool& escapes) const {
  if (kind != tokQuotation || m_quote == 0) return false;
  quote = m_quote;
  doubling = true;
  escapes = false;
  return true;
}

void TEditorParser::ControlCodeProc() {
  m_token = tokControlCode;
  if (!m_isStartToken && At(m_pos) == '#') ++m_pos;
  while (IsDigit(At(m_pos))) ++m_pos;
}

void TEditorParser::ControlCodeHexProc() {
  m_token = tokControlCodeHex;
  if (!m_isStartToken && At(m_pos) == '#' && At(m_pos + 1) == '$') m_pos += 2;
  while (IsHexDigit(At(m_pos))) ++m_pos;
}

bool TEditorParser::IsHexPrefixProc() {
  const std::string& prefix = m_hexPrefixUpper;
  if (prefix.empty()) return false;
  int p = m_pos;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (AtEnd(p)) return false;
    const int len = CharLen(p);
    unsigned char c = At(p);
    if (len == 1 && c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 32);
    if (c != static_cast<unsigned char>(prefix[i])) return false;
    if (len == 2) {
      if (i + 1 >= prefix.size() || At(p + 1) != static_cast<unsigned char>(prefix[i + 1])) return false;
      ++i;
    }
    p += len;
  }
  m_pos = p;
  return true;
}

const TFountainColor* TEditorParser::TokenToFountainColor() const {
  TEditorColors& colors = m_editorFountain.Colors();
  if (IsReserveWord()) return &colors.Reserve();
  switch (m_token) {
    case tokSymbol: return &colors.Symbol;
    case tokInteger: case tokFloat: case tokHex: return &colors.Int;
    case tokBracket: return BracketColor(m_drawBracketIndex);
    case tokComment: return &colors.Comment;
    case tokReserve: return &colors.Reserve();
    case tokAnk: return &colors.Ank;
    case tokDBSymbol: case tokDBDigit: case tokDBLatin: case tokDBHiragana: case tokDBKatakana: case tokDBKanji:
    case tokKanaSymbol: case tokKana: return &colors.DBCS;
    case tokUrl: return &colors.Url;
    case tokMail: return &colors.Mail;
    case tokQuotation: case tokControlCode: case tokControlCodeHex: return &colors.Str;
    default: return nullptr;
  }
}

// ---- reserved-word files ------------------------------------------------------------------

void ApplyReserveWordText(std::string_view text, TEditorFountain& fountain) {
  std::vector<std::string_view> lines;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t j = i;
    while (j < text.size() && text[j] != '\r' && text[j] != '\n') ++j;
    lines.push_back(text.substr(i, j - i));
    if (j < text.size() && text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n') ++j;
    i = j + 1;
  }
  std::size_t first = 0;
  fountain.ChangeList().BeginUpdate();
  if (first < lines.size() && lines[first].substr(0, 10) == "Quotation=") fountain.SetQuotation(lines[first++].substr(10));
  if (first < lines.size() && lines[first].substr(0, 10) == "Commenter=") {
    fountain.SetCommenter(std::string(lines[first++].substr(10)));
  }
  TSortedWordList words;
  for (; first < lines.size(); ++first) words.Add(lines[first]);
  fountain.SetReserveWordList(words);
  fountain.ChangeList().EndUpdate();
}

bool LoadReserveWordFile(const std::string& fileName, TEditorFountain& fountain) {
  std::string text;
  if (ReadWholeFile(fileName, text) != TReadResult::Ok) {
    fountain.SetReserveWordList(TSortedWordList());
    return false;
  }
  ApplyReserveWordText(text, fountain);
  return true;
}

std::string TEditorParser::KindName(std::uint8_t kind) const {
  return KindNameFrom(kind, {{tokQuotation, "Quotation"}, {tokControlCode, "ControlCode"},
                             {tokControlCodeHex, "ControlCodeHex"}});
}

}  // namespace nuv
