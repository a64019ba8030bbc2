// The page tree's view: the keys of the tree, Ctrl+click on a page's icon,
// in-place title editing, and dragging a page with the drop highlight and
// the autoscroll timer. What a key, click or drop does is the window's.
#pragma once

#include <QPersistentModelIndex>
#include <QTimer>
#include <QTreeView>

#include "app/DragCursors.h"
#include "outline/TreeDrag.h"

namespace nuv {

class TOutlineModel;
class TTreeNode;

class TOutlineView : public QTreeView {
  Q_OBJECT
 public:
  explicit TOutlineView(QWidget* parent = nullptr);

  struct THit {
    QModelIndex index;  // the row under the point, invalid below the last row
    bool onTitle = false;
    bool onIcon = false;
  };
  THit HitTest(const QPoint& viewportPoint) const;
  bool IsEditing() const { return state() == QAbstractItemView::EditingState; }
  // Starts the in-place title edit of the current page unless the tree is read-only.
  bool EditCurrent();
  // Read-only stops renaming in place; pages can still be dragged.
  void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
  bool ReadOnly() const { return m_readOnly; }
  TScrollDirection AutoScroll() const { return m_direction; }
  QModelIndex DropHighlight() const { return m_dropHighlight; }
  // One autoscroll step, as the 300 ms timer does it; false when nothing scrolled.
  bool AutoScrollTick();
  // For tests: the drop that dropping at a point would do.
  void DropAt(const QPoint& viewportPoint);

 signals:
  void AddBelowRequested();
  void DeleteRequested();
  void IconCtrlClicked(const QModelIndex& index, bool onIcon);
  void EditingStarted();
  void EditingEnded();
  void DropRequested(TTreeNode* target, TDropSpot spot);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  void startDrag(Qt::DropActions supportedActions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  TOutlineModel* Outline() const;
  void SetDropHighlight(const QModelIndex& index);
  void UpdateAutoScroll(const QPoint& point, const QModelIndex& under);

  TDragCursors m_cursors;
  QTimer m_scrollTimer;
  TScrollDirection m_direction = TScrollDirection::None;
  QPersistentModelIndex m_dropHighlight;
  bool m_readOnly = false;
  bool m_dragging = false;
};

// The MIME type of a page dragged inside the tree.
inline constexpr const char* kPageDragMime = "application/x-nuv-page-drag";

}  // namespace nuv
