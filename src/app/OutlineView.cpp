// The page tree's view.
#include "app/OutlineView.h"

#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>

#include "app/OutlineModel.h"

namespace nuv {

namespace {
constexpr int kAutoScrollMs = 300;

Qt::DropAction ActionFor(TDropSpot spot) {
  switch (spot) {
    case TDropSpot::OnTitle: return Qt::LinkAction;
    case TDropSpot::OnRow: return Qt::MoveAction;
    case TDropSpot::Nowhere: break;
  }
  return Qt::CopyAction;
}
}  // namespace

TOutlineView::TOutlineView(QWidget* parent) : QTreeView(parent) {
  setObjectName("tvnuv");
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(false);
  setDragDropMode(QAbstractItemView::DragDrop);
  // F2 is the rename command of the window; a click on the selected title renames too.
  setEditTriggers(QAbstractItemView::SelectedClicked);
  m_scrollTimer.setInterval(kAutoScrollMs);
  connect(&m_scrollTimer, &QTimer::timeout, this, [this] {
    if (!AutoScrollTick()) m_scrollTimer.stop();
  });
}

TOutlineModel* TOutlineView::Outline() const { return qobject_cast<TOutlineModel*>(model()); }

TOutlineView::THit TOutlineView::HitTest(const QPoint& point) const {
  THit hit;
  hit.index = indexAt(point);
  if (!hit.index.isValid()) return hit;
  const QRect rect = visualRect(hit.index);
  const QPixmap picture = hit.index.data(Qt::DecorationRole).value<QPixmap>();
  const int iconRight = rect.left() + picture.width() + 4;
  const int textRight = iconRight + fontMetrics().horizontalAdvance(hit.index.data(Qt::DisplayRole).toString()) + 6;
  // The mark picture is the square at the right end of the decoration; a
  // label picture left of it is not the page's icon.
  const int markLeft = rect.left() + picture.width() - picture.height();
  hit.onIcon = point.x() >= markLeft && point.x() < iconRight;
  hit.onTitle = point.x() >= iconRight && point.x() < textRight;
  return hit;
}

bool TOutlineView::EditCurrent() {
  if (m_readOnly || !currentIndex().isValid()) return false;
  return edit(currentIndex(), QAbstractItemView::AllEditTriggers, nullptr);
}

bool TOutlineView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  if (m_readOnly && trigger != QAbstractItemView::NoEditTriggers) return false;
  const bool started = QTreeView::edit(index, trigger, event);
  if (started && IsEditing()) emit EditingStarted();
  return started;
}

void TOutlineView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  QTreeView::closeEditor(editor, hint);
  emit EditingEnded();
}

void TOutlineView::keyPressEvent(QKeyEvent* event) {
  if (!IsEditing() && event->modifiers() == Qt::NoModifier) {
    switch (event->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        emit AddBelowRequested();
        return;
      case Qt::Key_Space: {
        // Space walks the pages in tree order, expanding nothing.
        const TTreeNode* current = Outline()->NodeOf(currentIndex());
        if (current && current->GetNext()) setCurrentIndex(Outline()->IndexOf(current->GetNext()));
        return;
      }
      case Qt::Key_Delete:
        return;  // the delete runs when the key is released
      default:
        break;
    }
  }
  QTreeView::keyPressEvent(event);
}

void TOutlineView::keyReleaseEvent(QKeyEvent* event) {
  if (!IsEditing() && !event->isAutoRepeat() && event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
    emit DeleteRequested();
    return;
  }
  QTreeView::keyReleaseEvent(event);
}

void TOutlineView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier)) {
    const THit hit = HitTest(event->position().toPoint());
    emit IconCtrlClicked(hit.index, hit.onIcon);
    return;
  }
  QTreeView::mousePressEvent(event);
}

void TOutlineView::startDrag(Qt::DropActions) {
  const QModelIndex dragged = currentIndex();
  // Read-only is about titles (compatibility mode, the trash page): pages
  // still move, and the trash itself is refused by the drop rule.
  if (!dragged.isValid()) return;
  auto* data = new QMimeData;
  data->setData(kPageDragMime, QByteArray::number(static_cast<qulonglong>(Outline()->NodeOf(dragged)->Id())));
  QDrag drag(this);
  drag.setMimeData(data);
  drag.setDragCursor(m_cursors.onRow.pixmap(), Qt::MoveAction);
  drag.setDragCursor(m_cursors.onTitle.pixmap(), Qt::LinkAction);
  drag.setDragCursor(m_cursors.onNothing.pixmap(), Qt::CopyAction);
  m_dragging = true;
  drag.exec(Qt::MoveAction | Qt::LinkAction | Qt::CopyAction, Qt::MoveAction);
  // The end of the drag: the timer stops, the highlight goes.
  m_dragging = false;
  m_scrollTimer.stop();
  SetDropHighlight(QModelIndex());
}

void TOutlineView::dragEnterEvent(QDragEnterEvent* event) {
  if (!event->mimeData()->hasFormat(kPageDragMime)) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
}

void TOutlineView::dragMoveEvent(QDragMoveEvent* event) {
  if (!event->mimeData()->hasFormat(kPageDragMime)) {
    event->ignore();
    return;
  }
  const QPoint point = event->position().toPoint();
  const THit hit = HitTest(point);
  TTreeNode* dragged = Outline()->NodeOf(currentIndex());
  TTreeNode* target = Outline()->NodeOf(hit.index);
  if (!CanDrop(dragged, target)) {
    SetDropHighlight(QModelIndex());
    event->ignore();
    return;
  }
  const TDropSpot spot = !hit.index.isValid() ? TDropSpot::Nowhere : (hit.onTitle ? TDropSpot::OnTitle : TDropSpot::OnRow);
  event->setDropAction(ActionFor(spot));
  event->accept();
  SetDropHighlight(hit.index);
  UpdateAutoScroll(point, hit.index);
}

void TOutlineView::dragLeaveEvent(QDragLeaveEvent* event) {
  SetDropHighlight(QModelIndex());
  m_direction = TScrollDirection::None;
  m_scrollTimer.stop();
  QTreeView::dragLeaveEvent(event);
}

void TOutlineView::dropEvent(QDropEvent* event) {
  if (!event->mimeData()->hasFormat(kPageDragMime)) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::IgnoreAction);  // the page moves in the tree, nothing is copied
  event->accept();
  DropAt(event->position().toPoint());
}

void TOutlineView::DropAt(const QPoint& point) {
  m_scrollTimer.stop();
  SetDropHighlight(QModelIndex());
  const THit hit = HitTest(point);
  const TDropSpot spot = !hit.index.isValid() ? TDropSpot::Nowhere : (hit.onTitle ? TDropSpot::OnTitle : TDropSpot::OnRow);
  emit DropRequested(Outline()->NodeOf(hit.index), spot);
}

void TOutlineView::SetDropHighlight(const QModelIndex& index) {
  if (QModelIndex(m_dropHighlight) == index) return;
  const QModelIndex old = m_dropHighlight;
  m_dropHighlight = index;
  if (old.isValid()) viewport()->update(visualRect(old));
  if (index.isValid()) viewport()->update(visualRect(index));
}

void TOutlineView::UpdateAutoScroll(const QPoint& point, const QModelIndex& under) {
  m_direction = TScrollDirection::None;
  if (under.isValid()) {
    const QRect row = visualRect(under);
    m_direction = AutoScrollDirection(viewport()->width(), viewport()->height(), row.top(), row.bottom() + 1,
                                      row.height(), point.x());
  }
  if (m_direction == TScrollDirection::None)
    m_scrollTimer.stop();
  else if (!m_scrollTimer.isActive())
    m_scrollTimer.start();
}

bool TOutlineView::AutoScrollTick() {
  if (!m_dropHighlight.isValid()) return false;
  QScrollBar* vertical = verticalScrollBar();
  QScrollBar* horizontal = horizontalScrollBar();
  switch (m_direction) {
    case TScrollDirection::Up:
      if (vertical->value() <= vertical->minimum()) return false;
      vertical->triggerAction(QAbstractSlider::SliderSingleStepSub);
      break;
    case TScrollDirection::Down:
      if (vertical->value() >= vertical->maximum()) return false;
      vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
      break;
    case TScrollDirection::Left:
      horizontal->triggerAction(QAbstractSlider::SliderSingleStepSub);
      viewport()->update();
      return true;
    case TScrollDirection::Right:
      horizontal->triggerAction(QAbstractSlider::SliderSingleStepAdd);
      viewport()->update();
      return true;
    case TScrollDirection::None:
      return false;
  }
  // The highlight follows the page now under the pointer.
  SetDropHighlight(indexAt(viewport()->mapFromGlobal(QCursor::pos())));
  viewport()->update();
  return true;
}

void TOutlineView::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QTreeView::drawRow(painter, option, index);
  if (index == QModelIndex(m_dropHighlight)) {
    QColor highlight = palette().color(QPalette::Highlight);
    highlight.setAlpha(90);
    painter->fillRect(visualRect(index), highlight);
  }
}

}  // namespace nuv
