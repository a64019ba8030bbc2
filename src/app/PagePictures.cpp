// Drawing of the page pictures with QPainter, so no image files are needed.
#include "app/PagePictures.h"

#include <QPainter>
#include <QPainterPath>

#include "outline/PagePictures.h"

namespace nuv {

namespace {

constexpr int kSize = 16;

QPixmap Blank() {
  QPixmap p(kSize, kSize);
  p.fill(Qt::transparent);
  return p;
}

// A transparent 16 x 16 picture painted by `paint` with antialiasing.
template <typename F>
QPixmap Drawn(F paint) {
  QPixmap p = Blank();
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  paint(g);
  return p;
}

// A round status mark with a symbol inside.
QPixmap StatusMark(QColor fill, QColor line, void (*symbol)(QPainter&)) {
  return Drawn([&](QPainter& g) {
    g.setPen(QPen(line, 1.2));
    g.setBrush(fill);
    g.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    if (symbol) symbol(g);
  });
}

QPixmap Memo() {
  return Drawn([&](QPainter& g) {
    g.setPen(QPen(QColor(70, 90, 130), 1));
    g.setBrush(QColor(255, 250, 205));
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(10.5, 1.5);
    page.lineTo(13.5, 4.5);
    page.lineTo(13.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    g.drawPath(page);
    for (int y = 6; y <= 12; y += 3) g.drawLine(QPointF(5.5, y + 0.5), QPointF(11.5, y + 0.5));
  });
}

QPixmap Folder() {
  return Drawn([&](QPainter& g) {
    g.setPen(QPen(QColor(150, 110, 20), 1));
    g.setBrush(QColor(245, 200, 80));
    g.drawRect(QRectF(1.5, 4.5, 13, 9));
    g.drawRect(QRectF(1.5, 2.5, 5, 2));
  });
}

QPixmap Label(QColor color) {
  return Drawn([&](QPainter& g) {
    g.setPen(QPen(color.darker(150), 1));
    g.setBrush(color);
    QPainterPath tag;
    tag.moveTo(2.5, 3.5);
    tag.lineTo(10.5, 3.5);
    tag.lineTo(14.5, 8);
    tag.lineTo(10.5, 12.5);
    tag.lineTo(2.5, 12.5);
    tag.closeSubpath();
    g.drawPath(tag);
    g.setBrush(Qt::white);
    g.drawEllipse(QRectF(4, 6.5, 3, 3));
  });
}

QPixmap Overlay() {
  return Drawn([&](QPainter& g) {
    g.setPen(QPen(Qt::white, 1));
    g.setBrush(QColor(20, 110, 220));
    g.drawRect(QRectF(0.5, 8.5, 7, 7));
    g.setPen(QPen(Qt::white, 1.4));
    g.drawLine(QPointF(2, 14), QPointF(6, 10));
    g.drawLine(QPointF(3.5, 10), QPointF(6, 10));
    g.drawLine(QPointF(6, 10), QPointF(6, 12.5));
  });
}

QPixmap Trash(bool full) {
  return Drawn([&](QPainter& g) {
    g.setPen(QPen(QColor(90, 90, 90), 1));
    g.setBrush(QColor(200, 200, 200));
    g.drawRect(QRectF(3.5, 4.5, 9, 10));
    g.drawLine(QPointF(2, 3.5), QPointF(14, 3.5));
    g.drawLine(QPointF(6.5, 2), QPointF(9.5, 2));
    if (full) {
      g.setBrush(QColor(240, 240, 240));
      g.drawRect(QRectF(5, 0.5, 6, 4));
      g.setPen(QPen(QColor(90, 90, 90), 1));
      for (int x = 6; x <= 10; x += 2) g.drawLine(QPointF(x + 0.5, 6.5), QPointF(x + 0.5, 12.5));
    }
  });
}

QPixmap Greyed(const QPixmap& source) {
  QImage image = source.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int grey = qGray(line[x]);
      line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) / 2);
    }
  }
  return QPixmap::fromImage(image);
}

}  // namespace

TPagePictures::TPagePictures() {
  m_pictures.resize(pic::kCount);
  m_pictures[pic::kNotStarted] = StatusMark(Qt::white, QColor(120, 120, 120), nullptr);
  m_pictures[pic::kWorking] = StatusMark(QColor(255, 200, 120), QColor(200, 120, 0), [](QPainter& g) {
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(230, 120, 0));
    g.drawPie(QRectF(3, 3, 10, 10), 90 * 16, 180 * 16);
  });
  m_pictures[pic::kDone] = StatusMark(QColor(150, 220, 150), QColor(40, 140, 40), [](QPainter& g) {
    g.setPen(QPen(QColor(20, 110, 20), 2));
    g.drawPolyline(QPolygonF({QPointF(4.5, 8), QPointF(7, 11), QPointF(11.5, 5)}));
  });
  m_pictures[pic::kPending] = StatusMark(QColor(255, 240, 150), QColor(180, 150, 0), [](QPainter& g) {
    g.setPen(QPen(QColor(140, 110, 0), 2));
    g.drawLine(QPointF(6.5, 5), QPointF(6.5, 11));
    g.drawLine(QPointF(9.5, 5), QPointF(9.5, 11));
  });
  m_pictures[pic::kCancelled] = StatusMark(QColor(255, 180, 180), QColor(190, 40, 40), [](QPainter& g) {
    g.setPen(QPen(QColor(170, 20, 20), 2));
    g.drawLine(QPointF(5, 5), QPointF(11, 11));
    g.drawLine(QPointF(11, 5), QPointF(5, 11));
  });
  m_pictures[pic::kMemo] = Memo();
  m_pictures[pic::kFolder] = Folder();
  const QColor labelColors[8] = {QColor(170, 170, 170), QColor(220, 40, 40),  QColor(240, 140, 30),
                                 QColor(60, 160, 60),   QColor(200, 30, 160), QColor(240, 200, 0),
                                 QColor(60, 150, 220),  QColor(120, 60, 200)};
  for (int i = 0; i < 8; ++i) m_pictures[static_cast<std::size_t>(pic::kLabel1 + i)] = Label(labelColors[i]);
  m_pictures[pic::kBlankLabel] = Blank();
  m_pictures[pic::kDirectLink] = Overlay();
  m_pictures[pic::kTrashEmpty] = Trash(false);
  m_pictures[pic::kTrashFull] = Trash(true);
}

const QPixmap& TPagePictures::Picture(int index) const {
  static const QPixmap empty;
  if (index < 0 || index >= pic::kCount) return empty;
  return m_pictures[static_cast<std::size_t>(index)];
}

QPixmap TPagePictures::PagePixmap(int imageIndex, int stateIndex, int overlayIndex, bool cut) const {
  const bool hasState = pic::IsLabelPicture(stateIndex);
  const quint32 key = (static_cast<quint32>(imageIndex & 0xFF) << 16) | (static_cast<quint32>(stateIndex & 0xFF) << 8) |
                      (overlayIndex == 0 ? 2u : 0u) | (cut ? 1u : 0u);
  auto it = m_composed.find(key);
  if (it != m_composed.end()) return *it;
  QPixmap out(hasState ? 2 * kSize + 2 : kSize, kSize);
  out.fill(Qt::transparent);
  {
    QPainter g(&out);
    int x = 0;
    if (hasState) {
      g.drawPixmap(0, 0, Picture(stateIndex));
      x = kSize + 2;
    }
    g.drawPixmap(x, 0, Picture(imageIndex));
    if (overlayIndex == 0) g.drawPixmap(x, 0, Picture(pic::kDirectLink));
  }
  if (cut) out = Greyed(out);
  m_composed.insert(key, out);
  return out;
}

}  // namespace nuv
