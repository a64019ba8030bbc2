// The colour of one class of tokens, and the bracket items (multi-row spans
// with their own colour) that a fountain keeps in a collection of at most 14.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/NotifyPersistent.h"

namespace nuv {

// Colours are 0x00BBGGRR, or 0x80000000 plus a system colour index.
using TColor = std::int32_t;
constexpr TColor clNone = 0x1FFFFFFF;  // the editor's own colour
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clWindowText = static_cast<TColor>(0x80000008);

// Font styles as a bit set; the first three bits match the settings store.
using TFontStyles = std::uint8_t;
constexpr TFontStyles fsBold = 1 << 0;
constexpr TFontStyles fsItalic = 1 << 1;
constexpr TFontStyles fsUnderline = 1 << 2;
constexpr TFontStyles fsStrikeOut = 1 << 3;

class TFountainColor : public TNotifyPersistent {
 public:
  TFountainColor() = default;
  TFountainColor(TColor color, TColor bkColor, TFontStyles style) : m_bkColor(bkColor), m_color(color), m_style(style) {}

  TColor BkColor() const { return m_bkColor; }
  TColor Color() const { return m_color; }
  TFontStyles Style() const { return m_style; }
  void SetBkColor(TColor v);
  void SetColor(TColor v);
  void SetStyle(TFontStyles v);
  // Copies all three values and notifies once.
  void Assign(const TFountainColor& source);
  bool SameAs(const TFountainColor& o) const {
    return m_bkColor == o.m_bkColor && m_color == o.m_color && m_style == o.m_style;
  }

 private:
  TColor m_bkColor = clNone;
  TColor m_color = clNone;
  TFontStyles m_style = 0;
};

// An item of a notifying collection that owns one colour; a change of the
// colour is a change of the item.
class TFountainColorItem : public TNotifyPersistent {
 public:
  TFountainColorItem();
  TFountainColor& ItemColor() { return m_itemColor; }
  const TFountainColor& ItemColor() const { return m_itemColor; }
  void SetItemColor(const TFountainColor& c) { m_itemColor.Assign(c); }

 private:
  TFountainColor m_itemColor;
};

class TFountainBracketItem : public TFountainColorItem {
 public:
  const std::string& LeftBracket() const { return m_leftBracket; }
  const std::string& RightBracket() const { return m_rightBracket; }
  void SetLeftBracket(std::string v);
  void SetRightBracket(std::string v);
  void Assign(const TFountainBracketItem& source);

 private:
  std::string m_leftBracket;
  std::string m_rightBracket;
};

// The brackets of a fountain. The row attributes keep a bracket index in four
// bits, so the collection holds at most kMaxBrackets items.
class TFountainBracketCollection : private TNotifyCollection {
 public:
  static constexpr int kMaxBrackets = 14;

  using TNotifyCollection::TNotifyCollection;
  using TNotifyCollection::BeginUpdate;
  using TNotifyCollection::Clear;
  using TNotifyCollection::Delete;
  using TNotifyCollection::EndUpdate;
  using TNotifyCollection::SetOnChange;

  int Count() const { return static_cast<int>(TNotifyCollection::Count()); }
  TFountainBracketItem& Item(int index) const {
    return static_cast<TFountainBracketItem&>(TNotifyCollection::Item(static_cast<std::size_t>(index)));
  }
  // A new empty item; raises ENuvError when the collection is full.
  TFountainBracketItem& Add();
  TFountainBracketItem& Add(std::string left, std::string right, const TFountainColor& color);
  // Replaces the items by copies of the source's, notifying once.
  void Assign(const TFountainBracketCollection& source);
};

}  // namespace nuv
