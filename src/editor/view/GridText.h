// Drawing Shift JIS text on the editor's column grid: every byte takes one
// column, so glyphs are placed one by one (a positioned glyph run) whatever
// their own advance; characters the font lacks come from IPAGothic.
#pragma once

#include <QColor>
#include <QFont>
#include <QRawFont>
#include <array>
#include <string_view>
#include <vector>

#include "editor/EditorViewOptions.h"

class QPainter;

namespace nuv {

class TGridText {
 public:
  TGridText();
  // The font of the text; styles are derived from it.
  void SetFont(const QFont& font);
  const QFont& Font() const { return m_font; }
  TFontMetrics Metrics() const { return m_metrics; }
  int Ascent() const { return m_ascent; }

  // Draws the characters of `text` whose columns lie in [fromCol, toCol):
  // column c at x + c * columnWidth, baseline y. Tabs and control bytes
  // draw nothing. `style` holds the bold (1) and italic (2) bits.
  void Draw(QPainter& painter, std::string_view text, int fromCol, int toCol, int x, int y, int columnWidth,
            const QColor& color, unsigned style) const;

  // The UTF-16 unit of one Shift JIS character (one or two bytes).
  static char16_t Decode(std::string_view ch);

 private:
  struct TFace {
    QRawFont raw;
    mutable std::vector<quint32> glyphs;  // per UTF-16 unit; kUnknown until asked
  };
  static constexpr quint32 kUnknown = 0xFFFFFFFF;
  quint32 Glyph(const TFace& face, char16_t ch) const;

  QFont m_font;
  TFontMetrics m_metrics;
  int m_ascent = 12;
  std::array<TFace, 4> m_faces;     // normal, bold, italic, bold italic
  std::array<TFace, 4> m_fallback;  // the same of IPAGothic
  mutable std::vector<QPointF> m_positions;
  mutable std::vector<quint32> m_indexes;
  mutable std::vector<QPointF> m_fbPositions;
  mutable std::vector<quint32> m_fbIndexes;
};

}  // namespace nuv
