// The contract between the editor and a tokenizer (a fountain and its
// parser), and the null fountain the editor uses when none is set.
//
// The editor keeps each row's tokenizer start state in the row attributes.
// To (re)compute them it asks a parser for the state after a row
// (LastTokenBracket); to colour a row or find word starts it feeds the row
// text with its start state (NewData) and reads tokens (NextToken) until 0.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "base/NotifyPersistent.h"
#include "editor/RowAttributeStringList.h"

namespace nuv {

class TFountainColor;  // the colour record of a token class, owned by the fountains

// Token kind 1: a byte that starts no other token; word starts skip it.
constexpr int kTokSymbol = 1;

class IEditorParser {
 public:
  virtual ~IEditorParser() = default;
  // `data` holds the state at the start of row `index` of `strings`; replace
  // it with the state at the start of the next row.
  virtual void LastTokenBracket(int index, const TRowAttributeStringList& strings, TRowAttributeData& data) = 0;
  // Begins tokenizing `s` (which the parser copies) in the state `data`.
  virtual void NewData(std::string_view s, const TRowAttributeData& data) = 0;
  // The next token's kind; 0 at the end.
  virtual int NextToken() = 0;
  virtual int SourcePos() const = 0;
  virtual int TokenLength() const = 0;
  virtual std::string TokenString() const = 0;
  // The colour of the current token, or null for the editor's defaults.
  virtual const TFountainColor* TokenToFountainColor() const { return nullptr; }
};

class IEditorFountain {
 public:
  virtual ~IEditorFountain() = default;
  // A parser for one pass; the caller owns it.
  virtual std::unique_ptr<IEditorParser> CreateParser() = 0;
  // Every editor that shows the fountain registers here to hear of changes.
  virtual TNotifyEventList& ChangeList() = 0;
  // Every editor that uses the fountain hears here when it goes away, so no
  // editor keeps a fountain that no longer exists.
  virtual TNotifyEventList& FreeNotifyList() = 0;
};

// Passes the state through unchanged and splits text into plain tokens by
// character class (words, digits, double-byte runs, single symbols), so that
// word movement works without a language.
class TNullParser : public IEditorParser {
 public:
  void LastTokenBracket(int, const TRowAttributeStringList&, TRowAttributeData&) override {}
  void NewData(std::string_view s, const TRowAttributeData& data) override;
  int NextToken() override;
  int SourcePos() const override { return static_cast<int>(m_start); }
  int TokenLength() const override { return static_cast<int>(m_pos - m_start); }
  std::string TokenString() const override { return m_text.substr(m_start, m_pos - m_start); }

 private:
  std::string m_text;
  std::size_t m_start = 0;
  std::size_t m_pos = 0;
};

class TNullFountain : public IEditorFountain {
 public:
  std::unique_ptr<IEditorParser> CreateParser() override { return std::make_unique<TNullParser>(); }
  TNotifyEventList& ChangeList() override { return m_changeList; }
  TNotifyEventList& FreeNotifyList() override { return m_freeList; }
  ~TNullFountain() override { m_freeList.Changed(); }

 private:
  TNotifyEventList m_changeList{this};
  TNotifyEventList m_freeList{this};
};

}  // namespace nuv
