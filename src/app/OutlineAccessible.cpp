// Accessibility of the page tree.
//
// Qt builds no item interface for a QAbstractItemView subclass of its own,
// so the tree gives one: the view's interface lists the rows shown, and a
// row's interface is made when asked for and dropped when the rows change.
// Nothing is kept for rows nobody asked about.
#include "app/OutlineAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWindow>

#include "app/OutlineModel.h"
#include "app/OutlineView.h"
#include "app/QtText.h"

namespace nuv {

namespace {

class TOutlineAccessible;

// The interface of each view that has one.
QHash<const QObject*, TOutlineAccessible*>& Interfaces() {
  static QHash<const QObject*, TOutlineAccessible*> interfaces;
  return interfaces;
}

class TRowAccessible : public QAccessibleInterface {
 public:
  TRowAccessible(TOutlineView* view, TTreeNode* page) : m_view(view), m_page(page) {}
  bool isValid() const override { return m_view && m_view->RowOf(m_page) >= 0; }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_view); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name && isValid() ? ToQString(m_page->Text()) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!isValid()) return QRect();
    const QRect r = m_view->visualRect(Index());
    return QRect(m_view->viewport()->mapToGlobal(r.topLeft()), r.size());
  }
  QAccessible::Role role() const override { return QAccessible::TreeItem; }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid()) {
      s.invalid = true;
      return s;
    }
    const QModelIndex index = Index();
    s.selectable = true;
    s.focusable = true;
    s.selected = m_view->selectionModel() && m_view->selectionModel()->isSelected(index);
    s.focused = m_view->hasFocus() && m_view->currentIndex() == index;
    s.expandable = m_page->HasChildren();
    s.expanded = m_page->HasChildren() && m_page->Expanded();
    s.collapsed = m_page->HasChildren() && !m_page->Expanded();
    s.offscreen = !m_view->viewport()->rect().intersects(m_view->visualRect(index));
    return s;
  }
  TTreeNode* Page() const { return m_page; }

 private:
  QModelIndex Index() const { return static_cast<TOutlineModel*>(m_view->model())->IndexOf(m_page); }

  QPointer<TOutlineView> m_view;
  TTreeNode* m_page;
};

class TOutlineAccessible : public QAccessibleWidget {
 public:
  explicit TOutlineAccessible(TOutlineView* view) : QAccessibleWidget(view, QAccessible::Tree), m_view(view) {
    Interfaces().insert(view, this);
  }
  // Qt may delete the interface after the view is gone: the entry goes by the address kept.
  ~TOutlineAccessible() override {
    Interfaces().remove(m_view);
    DropRows();
  }

  int childCount() const override { return View()->RowCount(); }
  QAccessibleInterface* child(int index) const override {
    TTreeNode* page = View()->PageAt(index);
    if (!page) return nullptr;
    if (const auto id = m_rows.value(page))
      if (QAccessibleInterface* known = QAccessible::accessibleInterface(id)) return known;
    auto* row = new TRowAccessible(View(), page);
    m_rows.insert(page, QAccessible::registerAccessibleInterface(row));
    return row;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto* row = dynamic_cast<const TRowAccessible*>(child);
    return row ? View()->RowOf(row->Page()) : -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint at = View()->viewport()->mapFromGlobal(QPoint(x, y));
    if (!View()->viewport()->rect().contains(at)) return QAccessibleWidget::childAt(x, y);
    const QModelIndex index = View()->indexAt(at);
    return index.isValid() ? child(View()->RowOf(static_cast<TTreeNode*>(index.internalPointer()))) : nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    const QModelIndex current = View()->currentIndex();
    if (!View()->hasFocus() || !current.isValid()) return nullptr;
    return child(View()->RowOf(static_cast<TTreeNode*>(current.internalPointer())));
  }

  void DropRows() {
    for (const QAccessible::Id id : std::as_const(m_rows)) QAccessible::deleteAccessibleInterface(id);
    m_rows.clear();
  }

 private:
  TOutlineView* View() const { return static_cast<TOutlineView*>(widget()); }

  const QObject* m_view;
  mutable QHash<TTreeNode*, QAccessible::Id> m_rows;
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className == QLatin1String(TOutlineView::staticMetaObject.className()))
    if (auto* view = qobject_cast<TOutlineView*>(object)) return new TOutlineAccessible(view);
  return nullptr;
}

}  // namespace

void InstallOutlineAccessible() {
  static const bool installed = [] {
    QAccessible::installFactory(Factory);
    return true;
  }();
  (void)installed;
}

void NotifyOutlineRowsChanged(TOutlineView* view) {
  TOutlineAccessible* iface = Interfaces().value(view);
  if (!iface) return;
  iface->DropRows();
  if (QAccessible::isActive()) {
    QAccessibleEvent event(view, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&event);
  }
}

void NotifyOutlineFocus(TOutlineView* view, int row) {
  if (row < 0) return;
  QAccessibleEvent event(view, QAccessible::Focus);
  event.setChild(row);
  QAccessible::updateAccessibility(&event);
}

}  // namespace nuv
