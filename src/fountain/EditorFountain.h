// The configurable fountain of the editor's own view: its rules are settings
// (quotation character, line-comment opener, hexadecimal prefix, control
// codes, mail and URL detection) and its reserved words come from a
// reserved-word file.
#pragma once

#include <string>
#include <string_view>

#include "fountain/FountainParser.h"

namespace nuv {

class TEditorFountain;

// The colour set of the view. Reserve is the fountain's own reserved-word
// colour; Select and Hit are painted by the editor, not by the parser.
class TEditorColors : public TNotifyPersistent {
 public:
  explicit TEditorColors(TEditorFountain& owner);
  TFountainColor Ank, Comment, DBCS, Hit, Int, Mail, Select, Str, Symbol, Url;
  TFountainColor& Reserve();
  void Assign(const TEditorColors& source);
  // Every member in its published order, Reserve included.
  void Visit(const TFountainColorVisitor& visit);

 private:
  TEditorFountain& m_owner;
};

class TEditorFountain : public TFountain {
 public:
  TEditorFountain();

  TEditorColors& Colors() { return m_colors; }
  const std::string& Commenter() const { return m_commenter; }
  bool ControlCode() const { return m_controlCode; }
  const std::string& HexPrefix() const { return m_hexPrefix; }
  bool Mail() const { return m_mail; }
  // Only the first character counts.
  const std::string& Quotation() const { return m_quotation; }
  bool Url() const { return m_url; }
  void SetCommenter(std::string v);
  void SetControlCode(bool v);
  void SetHexPrefix(std::string v);
  void SetMail(bool v);
  void SetQuotation(std::string_view v);
  void SetUrl(bool v);

  // The settings the main window's page editor starts with (before the
  // settings store overwrites colours and brackets).
  void InitPageEditorDefaults();

  std::unique_ptr<TFountainParser> NewParser() override;

 protected:
  void VisitOwnColors(const TFountainColorVisitor& visit) override;

 private:
  TEditorColors m_colors{*this};
  std::string m_commenter;
  bool m_controlCode = false;
  std::string m_hexPrefix;
  bool m_mail = false;
  std::string m_quotation;
  bool m_url = false;
};

class TEditorParser : public TFountainParser {
 public:
  explicit TEditorParser(TEditorFountain* fountain);
  const TFountainColor* TokenToFountainColor() const override;
  std::string KindName(std::uint8_t kind) const override;

 protected:
  void NormalTokenProc() override;
  void QuotationProc();
  void ControlCodeProc();
  void ControlCodeHexProc();
  bool IsHexPrefixProc();
  bool QuoteRules(std::uint8_t kind, unsigned char& quote, bool& doubling, bool& escapes) const override;

 private:
  TEditorFountain& m_editorFountain;
  unsigned char m_quote = 0;  // 0: no strings
  std::string m_hexPrefixUpper;
};

// Reads a reserved-word file into the fountain: the list is cleared; a first
// line "Quotation=..." sets the quotation, then a first line
// "Commenter=..." the commenter; every other line is a word. A missing file
// leaves the list empty. True when the file was read.
bool LoadReserveWordFile(const std::string& fileName, TEditorFountain& fountain);
// The same from text already in memory.
void ApplyReserveWordText(std::string_view text, TEditorFountain& fountain);

}  // namespace nuv
