// Accessibility of the page tree: the view is a tree whose children are its
// rows, each named after its page's title.
#pragma once

class QWidget;

namespace nuv {

class TOutlineView;

// Makes QAccessible build the tree's interface for every TOutlineView (once per program).
void InstallOutlineAccessible();
// The rows changed: interfaces of rows already handed out go.
void NotifyOutlineRowsChanged(TOutlineView* view);
// The current row changed while the tree has the focus.
void NotifyOutlineFocus(TOutlineView* view, int row);

}  // namespace nuv
