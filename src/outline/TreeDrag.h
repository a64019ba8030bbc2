// The rules of dragging a page inside the tree: what may be dropped where,
// what the drop does, and which way the tree scrolls while a drag waits.
#pragma once

#include "outline/OutlineTree.h"

namespace nuv {

enum class TDropSpot {
  OnTitle,  // on a page's title: the page becomes its last child
  OnRow,    // elsewhere on a page's row: the page goes before it
  Nowhere,  // below the last row: the page becomes the last root page
};

enum class TScrollDirection { None = 0, Up = 1, Down = 2, Left = 3, Right = 4 };

// A drop is refused on the dragged page itself, and the trash page is never dragged.
bool CanDrop(const TTreeNode* dragged, const TTreeNode* target);
// Moves the page; false when the target lies inside the dragged page. A drag
// that takes the last page out of the trash shows the empty trash.
bool DropPage(TOutlineTree& tree, TTreeNode* dragged, TTreeNode* target, TDropSpot spot);
// The autoscroll direction for a pointer at x over the row [rowTop, rowBottom)
// of height rowHeight, in a tree client of clientWidth x clientHeight.
TScrollDirection AutoScrollDirection(int clientWidth, int clientHeight, int rowTop, int rowBottom, int rowHeight,
                                     int x);

}  // namespace nuv
