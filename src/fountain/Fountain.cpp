// The fountain base: every owned colour and the brackets notify the change list.
#include "fountain/Fountain.h"

#include <string>

#include "fountain/FountainParser.h"

namespace nuv {

TFountain::TFountain() {
  m_brackets.SetOnChange([this] { m_changeList.Changed(); });
  WireColor(m_reserve);
}

// Editors that still show the fountain fall back to their own.
TFountain::~TFountain() { m_freeList.Changed(); }

std::unique_ptr<IEditorParser> TFountain::CreateParser() { return NewParser(); }

void TFountain::WireColor(TFountainColor& color) {
  color.OnChange = [this](TNotifyPersistent&) { m_changeList.Changed(); };
}

void TFountain::SetReserveWordList(const TSortedWordList& list) {
  m_reserveWordList = list;
  m_changeList.Changed();
}

void TFountain::AddReserveWords(std::initializer_list<std::string_view> words) {
  for (std::string_view w : words) m_reserveWordList.Add(w);
}

void TFountain::VisitColors(const TFountainColorVisitor& visit) {
  visit("Reserve", m_reserve);
  VisitOwnColors(visit);
  for (int i = 0; i < m_brackets.Count(); ++i) {
    visit("Brackets[" + std::to_string(i) + "]", m_brackets.Item(i).ItemColor());
  }
}

bool TFountain::HasItalicFontStyle() {
  bool found = false;
  VisitColors([&](std::string_view, TFountainColor& c) { found = found || (c.Style() & fsItalic) != 0; });
  return found;
}

void TFountain::SameFountainColor(const TFountainColor& color, TFountainColorOperations operations) {
  m_changeList.BeginUpdate();
  VisitColors([&](std::string_view, TFountainColor& c) {
    if (operations & coBkColor) c.SetBkColor(color.BkColor());
    if (operations & coColor) c.SetColor(color.Color());
    if (operations & coStyle) c.SetStyle(color.Style());
  });
  m_changeList.EndUpdate();
}

}  // namespace nuv
