// The page tree's view: the pages shown below expanded parents, one row of
// uniform height each, laid out only where they are on screen; the keys of
// the tree, Ctrl+click on a page's icon, in-place title editing, and dragging
// a page with the drop highlight and the autoscroll timer. What a key, click
// or drop does is the window's. Expansion lives in the pages themselves.
#pragma once

#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QPersistentModelIndex>
#include <QTimer>
#include <memory>

#include "app/DragCursors.h"
#include "outline/TreeDrag.h"

namespace nuv {

class TOutlineModel;
class TShownRows;
class TTreeNode;

class TOutlineView : public QAbstractItemView {
  Q_OBJECT
 public:
  explicit TOutlineView(QWidget* parent = nullptr);
  ~TOutlineView() override;

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

  // The rows: the pages shown, in tree order.
  int RowCount() const;
  TTreeNode* PageAt(int row) const;
  int RowOf(const TTreeNode* page) const;  // -1 when a collapsed parent hides it
  int RowHeight() const;
  int Indentation() const;

  // Expansion, kept by the pages. A change the user makes is reported by
  // expanded() or collapsed(); setExpanded also takes a change the tree made.
  void setExpanded(const QModelIndex& index, bool expanded);
  bool isExpanded(const QModelIndex& index) const;
  void expand(const QModelIndex& index) { setExpanded(index, true); }
  void collapse(const QModelIndex& index) { setExpanded(index, false); }
  // Every row has the height of the first; there is no header.
  void setUniformRowHeights(bool) {}
  void setHeaderHidden(bool) {}

  void setModel(QAbstractItemModel* model) override;
  QRect visualRect(const QModelIndex& index) const override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
  QModelIndex indexAt(const QPoint& point) const override;
  void keyboardSearch(const QString& search) override;
  void reset() override;
  void doItemsLayout() override;

 signals:
  void expanded(const QModelIndex& index);
  void collapsed(const QModelIndex& index);
  void AddBelowRequested();
  void DeleteRequested();
  void IconCtrlClicked(const QModelIndex& index, bool onIcon);
  void EditingStarted();
  void EditingEnded();
  void DropRequested(TTreeNode* target, TDropSpot spot);

 protected:
  QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
  int horizontalOffset() const override;
  int verticalOffset() const override;
  bool isIndexHidden(const QModelIndex& index) const override;
  void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
  QRegion visualRegionForSelection(const QItemSelection& selection) const override;
  void updateGeometries() override;
  void scrollContentsBy(int dx, int dy) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void rowsInserted(const QModelIndex& parent, int start, int end) override;
  void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
  void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                   const QList<int>& roles = QList<int>()) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  void startDrag(Qt::DropActions supportedActions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // One row: its background, branch lines and expander, then the page
  // through the delegate and the drop highlight over it.
  void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
  void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const;

 private:
  TOutlineModel* Outline() const { return m_outline; }
  TShownRows& Rows() const;
  // The structure or the expansion changed: the rows are placed again when next asked.
  void RowsChanged();
  // Repaints and places the scroll bars once the events at hand are handled.
  void QueueLayout();
  // The first row, then how many rows fit in the viewport.
  int FirstRow() const;
  int RowsPerPage() const;
  QRect RowRect(int row) const;  // the whole row, branches included, in viewport coordinates
  QRect ItemRect(const TTreeNode* page, const QRect& row) const;  // the page's part of its row
  bool OnExpander(const QPoint& viewportPoint, const QModelIndex& index) const;
  // Expands or collapses a page for the user, who hears of it through expanded() and collapsed().
  void Toggle(const QModelIndex& index);
  void ExpandSubtree(TTreeNode* page);
  void SetDropHighlight(const QModelIndex& index);
  void UpdateAutoScroll(const QPoint& point, const QModelIndex& under);

  TOutlineModel* m_outline = nullptr;
  mutable std::unique_ptr<TShownRows> m_rows;
  mutable int m_rowHeight = 0;  // 0: measured again when next asked
  bool m_geometryQueued = false;
  bool m_resetting = false;
  TDragCursors m_cursors;
  QTimer m_scrollTimer;
  TScrollDirection m_direction = TScrollDirection::None;
  QPersistentModelIndex m_dropHighlight;
  bool m_readOnly = false;
  bool m_dragging = false;
  QString m_typed;  // the letters of the type-ahead search
  QElapsedTimer m_lastKey;
};

// The MIME type of a page dragged inside the tree.
inline constexpr const char* kPageDragMime = "application/x-nuv-page-drag";

}  // namespace nuv
