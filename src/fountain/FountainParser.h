// The tokenizer framework: a parser scans one row at a time and delivers
// tokens (kind, byte position, length), carrying its state from row to row
// through the editor's row attributes.
//
// How it works. Each token start is one look-up in a table of parse
// procedures indexed by the token's first byte (MethodTable); a token that
// continues from the previous row is one look-up by its kind
// (TokenMethodTable). Language parsers replace entries of both tables. The
// row is copied with a terminating 0 after it, so every procedure stops at
// that byte; a procedure steps over characters, never over half of one.
// LastTokenBracket scans a row (with the next row appended when the row is
// wrapped, so a token cut by the wrap is seen whole) and stores the state at
// the start of the next row: open bracket, language element state, counter,
// the kind of a token that goes on into the next row and how many of its
// bytes lie there.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/Sjis.h"
#include "editor/EditorParser.h"
#include "fountain/Fountain.h"

namespace nuv {

// Token kinds of the framework (0 to 25) and of the configurable fountain (26 to 28).
constexpr std::uint8_t tokEof = 0;
constexpr std::uint8_t tokSymbol = 1;
constexpr std::uint8_t tokInteger = 3;
constexpr std::uint8_t tokFloat = 4;
constexpr std::uint8_t tokBracket = 6;
constexpr std::uint8_t tokComment = 7;
constexpr std::uint8_t tokReserve = 8;
constexpr std::uint8_t tokTab = 9;
constexpr std::uint8_t tokAnk = 11;
constexpr std::uint8_t tokDBSymbol = 12;
constexpr std::uint8_t tokDBDigit = 14;
constexpr std::uint8_t tokDBLatin = 15;
constexpr std::uint8_t tokDBHiragana = 16;
constexpr std::uint8_t tokDBKatakana = 17;
constexpr std::uint8_t tokDBKanji = 18;
constexpr std::uint8_t tokKanaSymbol = 19;
constexpr std::uint8_t tokKana = 20;
constexpr std::uint8_t tokUrl = 21;
constexpr std::uint8_t tokMail = 22;
constexpr std::uint8_t tokHex = 23;
constexpr std::uint8_t tokSingleQuotation = 24;
constexpr std::uint8_t tokDoubleQuotation = 25;
constexpr std::uint8_t tokQuotation = 26;
constexpr std::uint8_t tokControlCode = 27;
constexpr std::uint8_t tokControlCodeHex = 28;

using TTokenSet = std::bitset<256>;
TTokenSet MakeTokenSet(std::initializer_list<int> kinds);

class TFountainParser : public IEditorParser {
 public:
  using TParseProc = void (TFountainParser::*)();

  // Raises ENuvError when `fountain` is null.
  explicit TFountainParser(TFountain* fountain);

  void NewData(std::string_view s, const TRowAttributeData& data) override;
  int NextToken() override;
  int SourcePos() const override { return m_tokenStart; }
  int TokenLength() const override { return m_pos - m_tokenStart; }
  std::string TokenString() const override;
  void LastTokenBracket(int index, const TRowAttributeStringList& list, TRowAttributeData& data) override;

  virtual bool IsReserveWord() const;
  // The readable name of a token kind ("Comment", "DoubleQuotation"), for
  // dumps; the decimal code for a kind this parser never produces.
  virtual std::string KindName(std::uint8_t kind) const;
  virtual TTokenSet IncludeTabToken() const { return MakeTokenSet({tokComment, tokSingleQuotation, tokDoubleQuotation}); }
  virtual TTokenSet EolToken() const { return MakeTokenSet({tokComment}); }

  // The kind a token of this kind and text carries into the next row when
  // the wrap cuts it (a reserved word becomes tokReserve): the same for the
  // whole token and for its rest on the next row.
  std::uint8_t EffectiveKind() const { return WrappedTokenKind(m_token); }
  TFountain& Fountain() const { return *m_fountain; }
  std::uint8_t Token() const { return m_token; }
  // The scan state, as LastTokenBracket stores it.
  int BracketIndex() const { return m_bracketIndex; }
  int DrawBracketIndex() const { return m_drawBracketIndex; }
  int ElementIndex() const { return m_elementIndex; }
  int Remain() const { return m_remain; }
  std::uint8_t PrevToken() const { return m_prevToken; }
  const std::string& DataStr() const { return m_dataStr; }
  // The colour of the bracket item `index`, or null.
  const TFountainColor* BracketColor(int index) const;

  static constexpr int kMaxStored = 255;  // the row attributes keep 8 bits

 protected:
  struct TKindName {
    std::uint8_t Kind;
    const char* Name;
  };
  // The name from `own`, else the framework's.
  std::string KindNameFrom(std::uint8_t kind, std::initializer_list<TKindName> own) const;
  // Fills both tables with the framework's procedures.
  void InitMethodTable();
  template <class T>
  void SetMethod(unsigned char c, void (T::*proc)()) { m_methodTable[c] = static_cast<TParseProc>(proc); }
  template <class T>
  void SetTokenMethod(std::uint8_t kind, void (T::*proc)()) { m_tokenMethodTable[kind] = static_cast<TParseProc>(proc); }
  void CallMethod() { (this->*m_methodTable[At(m_pos)])(); }

  // Bytes; the copy ends with two 0 bytes, so At(m_pos + 1) is always valid
  // while At(m_pos) is not 0.
  unsigned char At(int i) const { return m_s[i]; }
  bool AtEnd(int i) const { return m_s[i] == 0; }
  // 2 for a lead byte with a valid trail byte, else 1.
  int CharLen(int i) const { return (IsLeadByte(m_s[i]) && IsTrailByte(m_s[i + 1])) ? 2 : 1; }
  static bool IsWordByte(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
  }
  static bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
  static bool IsLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
  static bool IsHexDigit(unsigned char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
  }
  void SkipWord() { while (IsWordByte(At(m_pos))) ++m_pos; }
  std::string_view TokenView() const {
    return std::string_view(m_buf.data() + m_tokenStart, static_cast<std::size_t>(m_pos - m_tokenStart));
  }
  // Scans one token; NextToken of a language parser wraps it.
  void ScanToken();
  bool IsKeyWord(std::string_view word);
  bool TextStartsWith(int pos, std::string_view s) const;

  // Framework procedures.
  virtual void NormalTokenProc();
  virtual void StartTokenProc();
  bool IsBracketProc();
  bool IsBracketStart(unsigned char c) const { return m_bracketFirst[c]; }
  virtual void BracketProc();
  bool IsMailProc();
  void MailProc();
  bool IsUrlProc();
  void UrlProc();
  void EofProc() { m_token = tokEof; }
  void TabProc();
  virtual void CommenterProc();
  void HexProc();
  virtual void IntegerProc();
  virtual void AnkProc();
  void DBSymbolProc();
  void DBProc();
  void DBKanjiProc();
  void KanaSymbolProc();
  void KanaProc();
  virtual void SymbolProc();
  virtual void SingleQuotationProc();
  virtual void DoubleQuotationProc();
  // Continues a token of a kind without a procedure of its own: scans it
  // afresh and keeps the carried kind.
  void ContinueTokenProc();
  void ReserveWordProc();
  // Scans to the closing `quote` (a doubled one stays inside; with
  // `escapes`, a backslash takes the next character with it).
  void QuotationScan(unsigned char quote, bool escapes, bool doubling = true);
  // HTML pieces shared by the HTML parser and Perl's HTML here-documents: a
  // character entity ("&", then "#", digits and letters, then ";"), and an
  // unquoted attribute value (false when there is none here).
  void EntityScan();
  bool UnquotedValueScan();
  // The parts of a tag: the element name, an attribute name, and its value
  // (quoted values go through the language's quotation procedures).
  void TagElementProc();
  void TagAttributeProc();
  void TagAttributeValueProc();
  // "//" starts a comment to the row end; any other slash is a symbol.
  void DoubleSlashProc();
  // Colours shared by most languages; null for kinds they do not know.
  struct TCommonColors {
    const TFountainColor* Ank = nullptr;
    const TFountainColor* Comment = nullptr;
    const TFountainColor* DBCS = nullptr;
    const TFountainColor* Int = nullptr;
    const TFountainColor* Str = nullptr;
    const TFountainColor* Symbol = nullptr;
  };
  // Symbol, numbers (hex included), bracket, comment, word, double-byte
  // kinds and both quotation kinds.
  const TFountainColor* CommonColor(const TCommonColors& colors) const;
  static bool IsDBCSKind(std::uint8_t k) { return k == tokDBSymbol || (k >= tokDBDigit && k <= tokKana); }
  // True when the characters from `from` up to `to` end in an odd run of
  // backslashes: the character after `to` is escaped.
  bool EndsInsideEscape(int from, int to) const;
  // The rules of the quotation kind `kind`; false for other kinds.
  virtual bool QuoteRules(std::uint8_t kind, unsigned char& quote, bool& doubling, bool& escapes) const;
  // True when a quotation token cut at `rowLen` is cut inside an escape or
  // between the two quotes of a doubled one: its rest then starts with a
  // character that belongs to what came before.
  bool QuoteCutInside(std::uint8_t kind, int rowLen) const;
  // Whether a backslash escapes the next character in quoted strings (the
  // row state then keeps, in Remain, that a string cut by the wrap goes on
  // with an escaped character).
  virtual bool QuoteEscapes() const { return false; }

  // LastTokenBracket hooks of the languages.
  // Handles the row before the framework's steps; true when done.
  virtual bool RowPrologue(int index, const TRowAttributeStringList& list, TRowAttributeData& data);
  virtual bool ScanBlankRows() const { return false; }
  // After a token that starts inside the row.
  virtual void AfterRowToken(TRowAttributeData& data) { (void)data; }
  // The kind stored for a token cut by the wrap.
  virtual std::uint8_t WrappedTokenKind(std::uint8_t kind) const;
  // True when a token of `kind` cut by the wrap re-enters through its
  // procedure instead of a byte count.
  virtual bool ReentersWrappedToken(std::uint8_t kind) const { return IncludeTabToken()[kind]; }
  // After the scan of the row: `straddle` is the token cut at the row end
  // (kind 0 when none), `rowLen` the row's length.
  virtual void RowEpilogue(TRowAttributeData& data, std::uint8_t straddle, int rowLen);

  void Start(std::string_view a, std::string_view b, const TRowAttributeData& data);

  TFountain* m_fountain;
  std::array<TParseProc, 256> m_methodTable{};
  std::array<TParseProc, 256> m_tokenMethodTable{};
  std::string m_buf;
  const unsigned char* m_s = nullptr;
  int m_len = 0;
  bool m_hadNul = false;
  std::string m_original;  // the text as given, when NUL bytes were replaced

  int m_tokenStart = 0;
  int m_pos = 0;
  std::uint8_t m_token = 0;
  std::uint8_t m_scannedKind = 0;  // the kind before a language re-labelled it
  std::uint8_t m_prevToken = 0;
  bool m_isStartToken = false;
  TRowAttribute m_rowAttribute = raCrlf;
  TRowAttribute m_prevRowAttribute = raCrlf;
  int m_bracketIndex = -1;
  int m_drawBracketIndex = -2;
  int m_elementIndex = 0;
  int m_wrappedByte = 0;
  int m_remain = 0;
  std::uint8_t m_wrappedToken = 0;
  std::string m_dataStr;
  int m_straddleStart = 0;  // where the token cut at the row end starts, for RowEpilogue
  int m_rowStartRemain = 0;  // Remain at the start of the row LastTokenBracket scans

 private:
  std::bitset<256> m_bracketFirst;  // first bytes of the usable left brackets
  int m_mailFailEnd = -1;           // no mail address starts before this position
};

}  // namespace nuv
