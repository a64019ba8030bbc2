// Drawing the drag cursors.
#include "app/DragCursors.h"

#include <QPainter>
#include <QPixmap>

namespace nuv {

namespace {

// An arrow with a small page below it and a sign telling where the page goes.
QCursor DragCursor(int sign) {
  QPixmap p(32, 32);
  p.fill(Qt::transparent);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  const QPolygonF arrow({QPointF(1, 1), QPointF(1, 16), QPointF(5, 12), QPointF(8, 18), QPointF(10, 17),
                         QPointF(7, 11), QPointF(12, 11)});
  g.setPen(QPen(Qt::white, 1));
  g.setBrush(Qt::black);
  g.drawPolygon(arrow);
  g.setPen(QPen(Qt::black, 1));
  g.setBrush(QColor(255, 255, 230));
  g.drawRect(QRectF(12.5, 16.5, 12, 10));
  g.setPen(QPen(QColor(20, 90, 200), 2));
  switch (sign) {
    case 0:  // before the row: a bar above the page
      g.drawLine(QPointF(11, 14), QPointF(27, 14));
      break;
    case 1:  // onto the title: an arrow into the page
      g.drawLine(QPointF(18.5, 19), QPointF(18.5, 25));
      g.drawLine(QPointF(15.5, 22), QPointF(18.5, 25));
      g.drawLine(QPointF(21.5, 22), QPointF(18.5, 25));
      break;
    default:  // to the end: a bar below the page
      g.drawLine(QPointF(11, 29.5), QPointF(27, 29.5));
      break;
  }
  return QCursor(p, 1, 1);
}

}  // namespace

TDragCursors::TDragCursors() : onRow(DragCursor(0)), onTitle(DragCursor(1)), onNothing(DragCursor(2)) {}

}  // namespace nuv
