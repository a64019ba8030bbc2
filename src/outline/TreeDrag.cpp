// Drag and drop rules of the tree.
#include "outline/TreeDrag.h"

#include "outline/PagePictures.h"
#include "outline/TrashRules.h"

namespace nuv {

bool CanDrop(const TTreeNode* dragged, const TTreeNode* target) {
  return dragged && dragged != target && !IsTrashPage(dragged);
}

bool DropPage(TOutlineTree& tree, TTreeNode* dragged, TTreeNode* target, TDropSpot spot) {
  if (!CanDrop(dragged, target)) return false;
  TTreeNode* fromTrash = IsTrashPage(dragged->Parent()) ? dragged->Parent() : nullptr;
  bool moved = false;
  switch (spot) {
    case TDropSpot::OnTitle: moved = target && tree.MoveTo(dragged, target, TNodeAttachMode::naAddChild); break;
    case TDropSpot::OnRow: moved = target && tree.MoveTo(dragged, target, TNodeAttachMode::naInsert); break;
    case TDropSpot::Nowhere: moved = tree.MoveTo(dragged, nullptr, TNodeAttachMode::naAdd); break;
  }
  if (moved && fromTrash && !fromTrash->HasChildren()) UpdateTrashPicture(tree, fromTrash);
  return moved;
}

TScrollDirection AutoScrollDirection(int clientWidth, int clientHeight, int rowTop, int rowBottom, int rowHeight,
                                     int x) {
  if (clientHeight - 2 * rowHeight < rowBottom) return TScrollDirection::Down;
  if (rowTop < 2 * rowHeight) return TScrollDirection::Up;
  if (x < 20) return TScrollDirection::Left;
  if (clientWidth - 20 < x) return TScrollDirection::Right;
  return TScrollDirection::None;
}

}  // namespace nuv
