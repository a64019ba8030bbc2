// Trash page and picture rules.
#include "outline/TrashRules.h"

#include "outline/FormatOptions.h"
#include "outline/OutlineTexts.h"
#include "outline/OutlineTree.h"
#include "outline/PagePictures.h"

namespace nuv {

bool IsTrashPage(const TTreeNode* node) {
  return node && !node->Parent() && pic::IsTrashMark(node->ImageIndex()) && node->Text() == texts::TrashTitle();
}

TTreeNode* FindTrashPage(const TOutlineTree& tree) {
  for (int i = 0; i < tree.RootCount(); ++i)
    if (pic::IsTrashMark(tree.RootPage(i)->ImageIndex())) return tree.RootPage(i);
  return nullptr;
}

bool IsInTrash(const TTreeNode* node) { return node && IsTrashPage(node->RootPage()); }

void UpdateTrashPicture(TOutlineTree& tree, TTreeNode* trash) {
  if (!trash) return;
  const int picture = trash->HasChildren() ? pic::kTrashFull : pic::kTrashEmpty;
  tree.SetImageIndex(trash, picture);
  if (trash->Data()) trash->Data()->SetMark(picture);
}

int SanitizeMark(int mark, bool isRoot, std::string_view title) {
  if (pic::IsMark(mark)) return mark;
  if (pic::IsTrashMark(mark) && isRoot && title == texts::TrashTitle()) return mark;
  return pic::kNotStarted;
}

int SanitizeStateIndex(int stateIndex) { return pic::IsLabelPicture(stateIndex) ? stateIndex : -1; }

int LabelFromStateIndex(int stateIndex) {
  if (stateIndex >= pic::kLabel1 && stateIndex <= pic::kLabel8) return stateIndex;
  if (stateIndex == pic::kBlankLabel) return pic::kLabel1;
  return 0;
}

int StateIndexForLabel(int label, const TFormatOptions& options) {
  if (!options.ShowLabel1 && label <= pic::kLabel1) return -1;
  int state = label;
  if (state < pic::kLabel1 || state > pic::kLabel8) state = pic::kLabel1;
  if (options.ClearLabel1 && state == pic::kLabel1) state = pic::kBlankLabel;
  return state;
}

}  // namespace nuv
