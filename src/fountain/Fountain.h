// A fountain: the colouring rules of one language. It owns the colour of
// each token class, the brackets, the reserved words and the extensions, and
// makes the parsers that tokenize rows for the editor.
#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "editor/EditorParser.h"
#include "fountain/FileExtComponent.h"
#include "fountain/FountainColor.h"
#include "fountain/SortedWordList.h"

namespace nuv {

class TFountainParser;

enum TFountainColorOperation { coBkColor = 1, coColor = 2, coStyle = 4 };
using TFountainColorOperations = int;  // a set of TFountainColorOperation bits

// Called for each colour of a fountain with the name the settings use.
using TFountainColorVisitor = std::function<void(std::string_view name, TFountainColor& color)>;

class TFountain : public TFileExtComponent, public IEditorFountain {
 public:
  TFountain();
  ~TFountain() override;
  TFountain(const TFountain&) = delete;
  TFountain& operator=(const TFountain&) = delete;

  TFountainBracketCollection& Brackets() { return m_brackets; }
  const TFountainBracketCollection& Brackets() const { return m_brackets; }
  void SetBrackets(const TFountainBracketCollection& b) { m_brackets.Assign(b); }
  TFountainColor& Reserve() { return m_reserve; }
  const TFountainColor& Reserve() const { return m_reserve; }
  void SetReserve(const TFountainColor& c) { m_reserve.Assign(c); }
  const TSortedWordList& ReserveWordList() const { return m_reserveWordList; }
  // Copies the list and tells every listener.
  void SetReserveWordList(const TSortedWordList& list);

  // Visits every colour in the order the fountain publishes them, then the
  // colour of each bracket ("Brackets[i]").
  void VisitColors(const TFountainColorVisitor& visit);
  // True when any colour of the fountain has fsItalic.
  bool HasItalicFontStyle();
  // Sets the chosen parts of every colour of the fountain from `color`.
  void SameFountainColor(const TFountainColor& color, TFountainColorOperations operations);

  std::unique_ptr<IEditorParser> CreateParser() override;
  // The same parser with its concrete type, for tools and tests.
  virtual std::unique_ptr<TFountainParser> NewParser() = 0;
  TNotifyEventList& ChangeList() override { return m_changeList; }
  TNotifyEventList& FreeNotifyList() override { return m_freeList; }
  // Tells every listener that the rules changed.
  void NotifyChanged() { m_changeList.Changed(); }

 protected:
  // Wires a colour owned by a derived fountain to the change list.
  void WireColor(TFountainColor& color);
  void WireColors(std::initializer_list<TFountainColor*> colors) {
    for (TFountainColor* c : colors) WireColor(*c);
  }
  // The fountain's own colours, after Reserve, in their published order.
  virtual void VisitOwnColors(const TFountainColorVisitor& visit) { (void)visit; }
  void AddReserveWords(std::initializer_list<std::string_view> words);

 private:
  TNotifyEventList m_changeList{this};
  TNotifyEventList m_freeList{this};
  TFountainBracketCollection m_brackets;
  TFountainColor m_reserve;
  TSortedWordList m_reserveWordList;
};

}  // namespace nuv
