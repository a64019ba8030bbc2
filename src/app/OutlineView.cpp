// The page tree's view.
//
// The view keeps nothing per row: TShownRows numbers the pages shown, and a
// paint walks from the first row on screen to the last with
// TTreeNode::GetNextVisible. The vertical scroll bar counts rows. A model
// signal only drops the row numbering and queues one update of the scroll
// bars, so a burst of signals costs one walk of the shown pages, when the
// rows are next asked for.
#include "app/OutlineView.h"

#include <QAccessible>
#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>

#include "app/OutlineAccessible.h"
#include "app/OutlineModel.h"
#include "app/QtText.h"
#include "outline/ShownRows.h"

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

TOutlineView::TOutlineView(QWidget* parent) : QAbstractItemView(parent) {
  setObjectName("tvnuv");
  InstallOutlineAccessible();
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(false);
  setDragDropMode(QAbstractItemView::DragDrop);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // F2 is the rename command of the window; a click on the selected title renames too.
  setEditTriggers(QAbstractItemView::SelectedClicked);
  m_scrollTimer.setInterval(kAutoScrollMs);
  connect(&m_scrollTimer, &QTimer::timeout, this, [this] {
    if (!AutoScrollTick()) m_scrollTimer.stop();
  });
  connect(this, &QAbstractItemView::iconSizeChanged, this, [this] {
    m_rowHeight = 0;
    RowsChanged();
  });
}

TOutlineView::~TOutlineView() = default;

void TOutlineView::setModel(QAbstractItemModel* model) {
  m_outline = qobject_cast<TOutlineModel*>(model);
  m_rows = m_outline ? std::make_unique<TShownRows>(m_outline->Tree()) : nullptr;
  m_rowHeight = 0;
  if (model) {
    // Connected before the base view's own handlers, so the numbering is
    // dropped before anything asks for a row of the changed tree; pages
    // removed or replaced may be freed by then.
    connect(model, &QAbstractItemModel::rowsRemoved, this, &TOutlineView::RowsChanged);
    connect(model, &QAbstractItemModel::rowsAboutToBeMoved, this, &TOutlineView::RowsChanged);
    connect(model, &QAbstractItemModel::rowsMoved, this, &TOutlineView::RowsChanged);
    connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this, &TOutlineView::RowsChanged);
    connect(model, &QAbstractItemModel::layoutChanged, this, &TOutlineView::RowsChanged);
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
      m_resetting = true;
      RowsChanged();
    });
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
      m_resetting = false;
      RowsChanged();
    });
  }
  QAbstractItemView::setModel(model);
  RowsChanged();
}

TShownRows& TOutlineView::Rows() const {
  static TOutlineTree empty;
  if (!m_rows) m_rows = std::make_unique<TShownRows>(empty);
  return *m_rows;
}

void TOutlineView::RowsChanged() {
  if (m_rows) m_rows->Invalidate();
  NotifyOutlineRowsChanged(this);
  QueueLayout();
}

void TOutlineView::QueueLayout() {
  viewport()->update();
  if (m_geometryQueued) return;
  m_geometryQueued = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        m_geometryQueued = false;
        updateGeometries();
      },
      Qt::QueuedConnection);
}

// While the model resets, the pages may be gone: there are no rows.
int TOutlineView::RowCount() const { return m_resetting ? 0 : Rows().Count(); }

TTreeNode* TOutlineView::PageAt(int row) const { return m_resetting ? nullptr : Rows().At(row); }

int TOutlineView::RowOf(const TTreeNode* page) const { return m_resetting ? -1 : Rows().RowOf(page); }

int TOutlineView::Indentation() const { return style()->pixelMetric(QStyle::PM_TreeViewIndentation, nullptr, this); }

int TOutlineView::RowHeight() const {
  if (m_rowHeight > 0) return m_rowHeight;
  // Every row takes the height of the first page's row.
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  int height = std::max(fontMetrics().height(), iconSize().height());
  if (TTreeNode* first = m_outline ? m_outline->Tree().GetFirstNode() : nullptr)
    height = std::max(height, itemDelegate()->sizeHint(option, m_outline->IndexOf(first)).height());
  m_rowHeight = std::max(1, height);
  return m_rowHeight;
}

int TOutlineView::FirstRow() const { return verticalScrollBar()->value(); }

int TOutlineView::RowsPerPage() const { return std::max(1, viewport()->height() / RowHeight()); }

QRect TOutlineView::RowRect(int row) const {
  return QRect(0, (row - FirstRow()) * RowHeight(), viewport()->width(), RowHeight());
}

int TOutlineView::horizontalOffset() const { return horizontalScrollBar()->value(); }

int TOutlineView::verticalOffset() const { return FirstRow() * RowHeight(); }

bool TOutlineView::isIndexHidden(const QModelIndex&) const { return false; }

QRect TOutlineView::ItemRect(const TTreeNode* page, const QRect& row) const {
  const int x = (page->Level() + 1) * Indentation() - horizontalOffset();
  return QRect(x, row.top(), std::max(row.width() - x, 1), row.height());
}

QRect TOutlineView::visualRect(const QModelIndex& index) const {
  const TTreeNode* page = m_outline ? m_outline->NodeOf(index) : nullptr;
  const int row = RowOf(page);
  return row < 0 ? QRect() : ItemRect(page, RowRect(row));
}

QModelIndex TOutlineView::indexAt(const QPoint& point) const {
  if (!m_outline || point.y() < 0) return QModelIndex();
  return m_outline->IndexOf(PageAt(FirstRow() + point.y() / RowHeight()));
}

bool TOutlineView::OnExpander(const QPoint& point, const QModelIndex& index) const {
  const TTreeNode* page = m_outline->NodeOf(index);
  if (!page || !page->HasChildren()) return false;
  const int right = visualRect(index).left();
  return point.x() >= right - Indentation() && point.x() < right;
}

void TOutlineView::updateGeometries() {
  const int perPage = RowsPerPage();
  verticalScrollBar()->setSingleStep(1);
  verticalScrollBar()->setPageStep(perPage);
  verticalScrollBar()->setRange(0, std::max(0, RowCount() - perPage));
  horizontalScrollBar()->setRange(0, 0);
  QAbstractItemView::updateGeometries();
}

// Every change of the rows comes with a model signal that drops them: a
// layout the base view asks for only places the scroll bars again.
void TOutlineView::doItemsLayout() { QueueLayout(); }

void TOutlineView::reset() {
  m_rowHeight = 0;
  SetDropHighlight(QModelIndex());
  QAbstractItemView::reset();
  RowsChanged();
}

void TOutlineView::scrollContentsBy(int, int) {
  viewport()->update();
  updateEditorGeometries();
}

void TOutlineView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  TTreeNode* page = m_outline ? m_outline->NodeOf(index) : nullptr;
  if (!page) return;
  // A page under collapsed parents is shown by expanding them, as the user would.
  if (state() == NoState)
    for (TTreeNode* parent = page->Parent(); parent; parent = parent->Parent())
      if (!parent->Expanded()) setExpanded(m_outline->IndexOf(parent), true);
  const int row = RowOf(page);
  if (row < 0) return;
  updateGeometries();
  const int perPage = RowsPerPage();
  int first = FirstRow();
  switch (hint) {
    case EnsureVisible:
      if (row < first)
        first = row;
      else if (row >= first + perPage)
        first = row - perPage + 1;
      break;
    case PositionAtTop: first = row; break;
    case PositionAtBottom: first = row - perPage + 1; break;
    case PositionAtCenter: first = row - perPage / 2; break;
  }
  verticalScrollBar()->setValue(first);
}

void TOutlineView::setExpanded(const QModelIndex& index, bool expanded) {
  TTreeNode* page = m_outline ? m_outline->NodeOf(index) : nullptr;
  if (!page) return;
  // The tree tells the model, which tells this view again: that call finds nothing to change.
  const bool change = page->Expanded() != expanded;
  if (change) m_outline->Tree().SetExpanded(page, expanded);
  RowsChanged();
  if (!change) return;
  if (expanded)
    emit this->expanded(index);
  else
    emit collapsed(index);
}

bool TOutlineView::isExpanded(const QModelIndex& index) const {
  const TTreeNode* page = m_outline ? m_outline->NodeOf(index) : nullptr;
  return page && page->Expanded();
}

void TOutlineView::Toggle(const QModelIndex& index) { setExpanded(index, !isExpanded(index)); }

void TOutlineView::ExpandSubtree(TTreeNode* page) {
  const TTreeNode* end = NextAfterSubtree(page);
  for (TTreeNode* n = page; n && n != end; n = n->GetNext())
    if (n->HasChildren()) setExpanded(m_outline->IndexOf(n), true);
}

QModelIndex TOutlineView::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
  if (!m_outline) return QModelIndex();
  const TTreeNode* current = m_outline->NodeOf(currentIndex());
  if (!current) return m_outline->IndexOf(PageAt(0));
  // A page hidden by a collapsed parent moves as that parent.
  TTreeNode* at = const_cast<TTreeNode*>(TShownRows::ShownAncestor(current));
  const QModelIndex here = m_outline->IndexOf(at);
  auto orHere = [&](TTreeNode* page) { return page ? m_outline->IndexOf(page) : here; };
  const int last = RowCount() - 1;
  switch (action) {
    case MoveUp:
    case MovePrevious: return orHere(at->GetPrevVisible());
    case MoveDown:
    case MoveNext: return orHere(at->GetNextVisible());
    case MovePageUp: return orHere(PageAt(std::max(0, RowOf(at) - RowsPerPage())));
    case MovePageDown: return orHere(PageAt(std::min(last, RowOf(at) + RowsPerPage())));
    case MoveHome: return orHere(PageAt(0));
    case MoveEnd: return orHere(PageAt(last));
    case MoveLeft:
      if (at->Expanded() && at->HasChildren()) {
        Toggle(here);
        return here;
      }
      return orHere(at->Parent());
    case MoveRight:
      if (!at->HasChildren()) return here;
      if (!at->Expanded()) {
        Toggle(here);
        return here;
      }
      return orHere(at->GetFirstChild());
  }
  return here;
}

void TOutlineView::keyboardSearch(const QString& search) {
  // Typed letters gather while they come quickly; one letter typed again
  // steps to the next page starting with it.
  QString& typed = m_typed;
  if (search.isEmpty() || !m_lastKey.isValid() || m_lastKey.elapsed() > QApplication::keyboardInputInterval())
    typed = search;
  else
    typed += search;
  m_lastKey.restart();
  if (typed.isEmpty() || !m_outline) return;
  const bool sameKey = typed.count(typed.front()) == typed.size();
  const QString key = sameKey ? typed.left(1) : typed;
  const int count = RowCount();
  if (count == 0) return;
  const TTreeNode* current = m_outline->NodeOf(currentIndex());
  int row = current ? std::max(0, RowOf(TShownRows::ShownAncestor(current))) : 0;
  if (current && (typed.size() == 1 || sameKey)) ++row;
  TTreeNode* page = PageAt(row % count);
  for (int i = 0; i < count; ++i) {
    if (!page) page = PageAt(0);
    if (ToQString(page->Text()).startsWith(key, Qt::CaseInsensitive)) {
      setCurrentIndex(m_outline->IndexOf(page));
      return;
    }
    page = page->GetNextVisible();
  }
}

void TOutlineView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
  if (!m_outline || !selectionModel()) return;
  const QRect area = rect.normalized();
  const int first = FirstRow() + std::max(0, area.top()) / RowHeight();
  const int last = std::min(RowCount() - 1, FirstRow() + std::max(0, area.bottom()) / RowHeight());
  QItemSelection selection;
  TTreeNode* page = PageAt(first);
  for (int row = first; page && row <= last; ++row, page = page->GetNextVisible()) {
    const QModelIndex index = m_outline->IndexOf(page);
    selection.select(index, index);
  }
  selectionModel()->select(selection, command);
}

QRegion TOutlineView::visualRegionForSelection(const QItemSelection& selection) const {
  QRegion region;
  for (const QItemSelectionRange& range : selection)
    for (int row = range.top(); row <= range.bottom(); ++row) {
      const QRect rect = visualRect(m_outline->index(row, 0, range.parent()));
      if (rect.isValid()) region += QRect(0, rect.top(), viewport()->width(), rect.height());
    }
  return region;
}

void TOutlineView::rowsInserted(const QModelIndex& parent, int start, int end) {
  RowsChanged();
  QAbstractItemView::rowsInserted(parent, start, end);
}

void TOutlineView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
  RowsChanged();
  QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
}

void TOutlineView::dataChanged(const QModelIndex&, const QModelIndex&, const QList<int>&) {
  viewport()->update();
}

void TOutlineView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QAbstractItemView::currentChanged(current, previous);
  if (QAccessible::isActive() && hasFocus() && m_outline) NotifyOutlineFocus(this, RowOf(m_outline->NodeOf(current)));
}

void TOutlineView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    m_rowHeight = 0;
    RowsChanged();
  }
  QAbstractItemView::changeEvent(event);
}

// ---- Painting ----

void TOutlineView::paintEvent(QPaintEvent* event) {
  if (!m_outline) return;
  QPainter painter(viewport());
  const QRect area = event->rect();
  const int height = RowHeight();
  const int first = FirstRow() + std::max(0, area.top()) / height;
  const int last = FirstRow() + std::max(0, area.bottom()) / height;
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  TTreeNode* page = PageAt(first);
  for (int row = first; page && row <= last; ++row, page = page->GetNextVisible()) {
    option.rect = RowRect(row);
    drawRow(&painter, option, m_outline->IndexOf(page));
  }
}

void TOutlineView::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  const bool selected = selectionModel() && selectionModel()->isSelected(index);
  const bool current = index == currentIndex();
  if (selected) opt.state |= QStyle::State_Selected;
  if (current && hasFocus()) opt.state |= QStyle::State_HasFocus;
  if (!isActiveWindow()) opt.palette.setCurrentColorGroup(QPalette::Inactive);
  opt.viewItemPosition = QStyleOptionViewItem::OnlyOne;
  const QRect item = ItemRect(m_outline->NodeOf(index), option.rect);
  const QRect branches(option.rect.left(), option.rect.top(), std::max(0, item.left() - option.rect.left()),
                       option.rect.height());
  opt.showDecorationSelected = style()->styleHint(QStyle::SH_ItemView_ShowDecorationSelected, &opt, this);
  if (selected && opt.showDecorationSelected) {
    QStyleOptionViewItem panel = opt;
    panel.rect = branches;
    style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &panel, painter, this);
  }
  drawBranches(painter, branches, index);
  opt.rect = item;
  itemDelegate()->paint(painter, opt, index);
  if (index == QModelIndex(m_dropHighlight)) {
    QColor highlight = palette().color(QPalette::Highlight);
    highlight.setAlpha(90);
    painter->fillRect(item, highlight);
  }
}

void TOutlineView::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const {
  const TTreeNode* page = m_outline->NodeOf(index);
  if (!page) return;
  const int indent = Indentation();
  QStyleOptionViewItem opt;
  initViewItemOption(&opt);
  QStyle::State base = opt.state & (QStyle::State_Enabled | QStyle::State_Active);
  if (opt.showDecorationSelected && selectionModel() && selectionModel()->isSelected(index))
    base |= QStyle::State_Selected;
  // The page's own cell holds its expander; each cell to its left carries
  // the line of the ancestor at that level down to that ancestor's next
  // sibling. Cells right of the viewport (a very deep page) are not drawn.
  const int width = viewport()->width();
  int x = rect.right() + 1 - indent;
  opt.rect = QRect(x, rect.top(), indent, rect.height());
  opt.state = base | QStyle::State_Item;
  if (page->GetNextSibling()) opt.state |= QStyle::State_Sibling;
  if (page->HasChildren()) opt.state |= QStyle::State_Children;
  if (page->HasChildren() && page->Expanded()) opt.state |= QStyle::State_Open;
  if (x < width) style()->drawPrimitive(QStyle::PE_IndicatorBranch, &opt, painter, this);
  for (const TTreeNode* a = page->Parent(); a && x > rect.left(); a = a->Parent()) {
    x -= indent;
    if (x >= width) continue;
    opt.rect.moveLeft(x);
    opt.state = base;
    if (a->GetNextSibling()) opt.state |= QStyle::State_Sibling;
    style()->drawPrimitive(QStyle::PE_IndicatorBranch, &opt, painter, this);
  }
}

// ---- Keys and mouse ----

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
  const bool started = QAbstractItemView::edit(index, trigger, event);
  if (started && IsEditing()) emit EditingStarted();
  return started;
}

void TOutlineView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  QAbstractItemView::closeEditor(editor, hint);
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
  // '+' expands the current page, '-' collapses it and '*' expands its whole subtree.
  const QModelIndex current = currentIndex();
  if (!IsEditing() && current.isValid() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    switch (event->key()) {
      case Qt::Key_Plus: setExpanded(current, true); return;
      case Qt::Key_Minus: setExpanded(current, false); return;
      case Qt::Key_Asterisk: ExpandSubtree(Outline()->NodeOf(current)); return;
      default: break;
    }
  }
  QAbstractItemView::keyPressEvent(event);
}

void TOutlineView::keyReleaseEvent(QKeyEvent* event) {
  if (!IsEditing() && !event->isAutoRepeat() && event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
    emit DeleteRequested();
    return;
  }
  QAbstractItemView::keyReleaseEvent(event);
}

void TOutlineView::mousePressEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier)) {
    const THit hit = HitTest(point);
    emit IconCtrlClicked(hit.index, hit.onIcon);
    return;
  }
  // A click on the expander opens or closes the page and leaves the selection.
  const QModelIndex index = indexAt(point);
  if (event->button() == Qt::LeftButton && index.isValid() && OnExpander(point, index)) {
    Toggle(index);
    return;
  }
  QAbstractItemView::mousePressEvent(event);
}

void TOutlineView::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  const QPersistentModelIndex index = indexAt(point);
  if (event->button() != Qt::LeftButton || !index.isValid() || OnExpander(point, index)) {
    mousePressEvent(event);  // a second click on the expander toggles again
    return;
  }
  QAbstractItemView::mouseDoubleClickEvent(event);
  // A double click on a page with children opens or closes it, unless it started an edit.
  if (index.isValid() && state() == NoState && point.x() >= visualRect(index).left() &&
      Outline()->NodeOf(index)->HasChildren())
    Toggle(index);
}

// ---- Dragging a page ----

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
  QAbstractItemView::dragLeaveEvent(event);
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

}  // namespace nuv
