// Colour and bracket items: setters notify only on a real change.
#include "fountain/FountainColor.h"

#include "base/Error.h"

namespace nuv {

void TFountainColor::SetBkColor(TColor v) {
  if (v == m_bkColor) return;
  m_bkColor = v;
  Changed();
}

void TFountainColor::SetColor(TColor v) {
  if (v == m_color) return;
  m_color = v;
  Changed();
}

void TFountainColor::SetStyle(TFontStyles v) {
  if (v == m_style) return;
  m_style = v;
  Changed();
}

void TFountainColor::Assign(const TFountainColor& source) {
  if (&source == this) return;
  m_bkColor = source.m_bkColor;
  m_color = source.m_color;
  m_style = source.m_style;
  Changed();
}

TFountainColorItem::TFountainColorItem() {
  m_itemColor.OnChange = [this](TNotifyPersistent&) { Changed(); };
}

void TFountainBracketItem::SetLeftBracket(std::string v) {
  if (v == m_leftBracket) return;
  m_leftBracket = std::move(v);
  Changed();
}

void TFountainBracketItem::SetRightBracket(std::string v) {
  if (v == m_rightBracket) return;
  m_rightBracket = std::move(v);
  Changed();
}

void TFountainBracketItem::Assign(const TFountainBracketItem& source) {
  if (&source == this) return;
  BeginUpdate();
  SetLeftBracket(source.m_leftBracket);
  SetRightBracket(source.m_rightBracket);
  SetItemColor(source.ItemColor());
  EndUpdate();
}

TFountainBracketItem& TFountainBracketCollection::Add() {
  if (Count() >= kMaxBrackets) {
    throw ENuvError("TFountainBracketCollection\r\nYou can not add item over " + std::to_string(kMaxBrackets));
  }
  return static_cast<TFountainBracketItem&>(TNotifyCollection::Add(std::make_unique<TFountainBracketItem>()));
}

TFountainBracketItem& TFountainBracketCollection::Add(std::string left, std::string right, const TFountainColor& color) {
  BeginUpdate();
  TFountainBracketItem* item = nullptr;
  try {
    item = &Add();
  } catch (...) {
    EndUpdate();
    throw;
  }
  item->SetLeftBracket(std::move(left));
  item->SetRightBracket(std::move(right));
  item->SetItemColor(color);
  EndUpdate();
  return *item;
}

void TFountainBracketCollection::Assign(const TFountainBracketCollection& source) {
  if (&source == this) return;
  BeginUpdate();
  Clear();
  for (int i = 0; i < source.Count(); ++i) Add().Assign(source.Item(i));
  EndUpdate();
}

}  // namespace nuv
