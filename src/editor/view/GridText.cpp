// Positioned glyph runs on the column grid, with cached code and glyph tables.
#include "editor/view/GridText.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <memory>

#include "base/Codec.h"
#include "base/Sjis.h"

namespace nuv {

namespace {

constexpr const char* kFallbackFamily = "IPAGothic";

// Shift JIS code (one byte, or lead << 8 | trail) to UTF-16, built once.
const std::vector<char16_t>& DecodeTable() {
  static const std::vector<char16_t> table = [] {
    std::vector<char16_t> t(65536, u'\0');
    char pair[2];
    for (int b = 0; b < 256; ++b) {
      pair[0] = static_cast<char>(b);
      const std::u16string one = DecodeCp932(std::string_view(pair, 1));
      t[static_cast<std::size_t>(b)] = one.size() == 1 ? one[0] : u'\0';
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
      for (int trail = 0x40; trail <= 0xFC; ++trail) {
        if (!IsTrailByte(static_cast<unsigned char>(trail))) continue;
        pair[0] = static_cast<char>(lead);
        pair[1] = static_cast<char>(trail);
        const std::u16string two = DecodeCp932(std::string_view(pair, 2));
        t[static_cast<std::size_t>(lead << 8 | trail)] = two.size() == 1 ? two[0] : u'\x30FB';  // middle dot
      }
    }
    return t;
  }();
  return table;
}

QFont Styled(QFont font, unsigned style) {
  font.setBold(style & 1);
  font.setItalic(style & 2);
  font.setUnderline(false);  // the editor draws its own dotted underline
  font.setStrikeOut(false);
  return font;
}

}  // namespace

TGridText::TGridText() { SetFont(QFont(QString::fromLatin1(kFallbackFamily), 10)); }

char16_t TGridText::Decode(std::string_view ch) {
  const auto& table = DecodeTable();
  if (ch.empty()) return u'\0';
  const auto b0 = static_cast<unsigned char>(ch[0]);
  if (ch.size() >= 2) return table[static_cast<std::size_t>(b0 << 8 | static_cast<unsigned char>(ch[1]))];
  return table[b0];
}

void TGridText::SetFont(const QFont& font) {
  m_font = font;
  const QFontMetrics fm(font);
  m_metrics.Height = fm.ascent() + fm.descent();
  m_metrics.ExternalLeading = std::max(0, fm.leading());
  m_metrics.AveCharWidth = std::max(1, fm.horizontalAdvance(QLatin1Char('0')));
  m_ascent = fm.ascent();
  QFont fallback(QString::fromLatin1(kFallbackFamily));
  fallback.setPixelSize(std::max(1, QFontInfo(font).pixelSize()));
  for (unsigned style = 0; style < 4; ++style) {
    m_faces[style].raw = QRawFont::fromFont(Styled(font, style));
    m_faces[style].glyphs.assign(65536, kUnknown);
    m_fallback[style].raw = QRawFont::fromFont(Styled(fallback, style));
    m_fallback[style].glyphs.assign(65536, kUnknown);
  }
}

quint32 TGridText::Glyph(const TFace& face, char16_t ch) const {
  quint32& slot = face.glyphs[ch];
  if (slot == kUnknown) {
    const QChar c(ch);
    quint32 index = 0;
    int count = 1;
    if (!face.raw.isValid() || !face.raw.glyphIndexesForChars(&c, 1, &index, &count) || count != 1) index = 0;
    slot = index;
  }
  return slot;
}

void TGridText::Draw(QPainter& painter, std::string_view text, int fromCol, int toCol, int x, int y, int columnWidth,
                     const QColor& color, unsigned style) const {
  style &= 3;
  const TFace& face = m_faces[style];
  const TFace& fallback = m_fallback[style];
  m_positions.clear();
  m_indexes.clear();
  m_fbPositions.clear();
  m_fbIndexes.clear();
  const std::size_t size = text.size();
  for (std::size_t i = 0; i < size;) {
    const std::size_t len = CharLength(text, i);
    const int col = static_cast<int>(i);
    i += len;
    if (col + static_cast<int>(len) <= fromCol) continue;
    if (col >= toCol) break;
    const auto b = static_cast<unsigned char>(text[col]);
    if (len == 1 && (b <= 0x20 || b == 0x7F)) continue;
    const char16_t ch = Decode(text.substr(static_cast<std::size_t>(col), len));
    if (ch == u'\0' || ch == u' ' || ch == u'\x3000') continue;
    const QPointF at(x + col * columnWidth, y);
    if (const quint32 g = Glyph(face, ch)) {
      m_indexes.push_back(g);
      m_positions.push_back(at);
    } else if (const quint32 fb = Glyph(fallback, ch)) {
      m_fbIndexes.push_back(fb);
      m_fbPositions.push_back(at);
    }
  }
  painter.setPen(color);
  auto run = [&painter](const QRawFont& raw, const std::vector<quint32>& indexes, const std::vector<QPointF>& positions) {
    if (indexes.empty()) return;
    QGlyphRun glyphs;
    glyphs.setRawFont(raw);
    glyphs.setRawData(indexes.data(), positions.data(), static_cast<int>(indexes.size()));
    painter.drawGlyphRun(QPointF(0, 0), glyphs);
  };
  run(face.raw, m_indexes, m_positions);
  run(fallback.raw, m_fbIndexes, m_fbPositions);
}

}  // namespace nuv
