// The page command rules.
#include "outline/PageCommands.h"

#include "outline/FormatOptions.h"
#include "outline/OutlineTexts.h"
#include "outline/PagePictures.h"
#include "outline/TrashRules.h"

namespace nuv {

namespace {

// Whether `page` is `root` or lies below it.
bool InSubtree(const TTreeNode* page, const TTreeNode* root) { return page == root || page->HasAsParent(root); }

// The first page after `page` in tree order that is not inside its subtree.
TTreeNode* NextAfterSubtree(const TTreeNode* page) {
  for (const TTreeNode* n = page; n; n = n->Parent())
    if (TTreeNode* sibling = n->GetNextSibling()) return sibling;
  return nullptr;
}

// The page to select after `page` goes: its next sibling, its previous
// sibling, the next page in tree order, the previous one; the first of them
// that survives. With `survivesInTrash`, the subtree itself survives (it moves).
TTreeNode* ChooseNextSelection(TTreeNode* page, bool survivesInTrash) {
  if (TTreeNode* n = page->GetNextSibling()) return n;
  if (TTreeNode* n = page->GetPrevSibling()) return n;
  TTreeNode* next = page->GetNext();
  if (next && (survivesInTrash || !InSubtree(next, page))) return next;
  if (TTreeNode* n = NextAfterSubtree(page)) return n;
  return page->GetPrev();
}

}  // namespace

void NewPageSetup(TOutlineTree& tree, TTreeNode* page, const TFormatOptions& labels) {
  tree.SetImageIndex(page, pic::kMemo);
  if (labels.ShowLabel1) tree.SetStateIndex(page, labels.ClearLabel1 ? pic::kBlankLabel : pic::kLabel1);
}

TTreeNode* AddPageAbove(TOutlineTree& tree, TTreeNode* selected) { return tree.Insert(selected, texts::Untitled()); }

TTreeNode* AddPageBelow(TOutlineTree& tree, TTreeNode* selected) {
  if (selected && selected->GetNextSibling()) return tree.Insert(selected->GetNextSibling(), texts::Untitled());
  return tree.Add(selected, texts::Untitled());
}

TTreeNode* AddChildPage(TOutlineTree& tree, TTreeNode* selected, TTreeNode* topVisible) {
  if (selected) return tree.AddChild(selected, texts::Untitled());
  return tree.Add(topVisible, texts::Untitled());
}

TTreeNode* CreateTrashPage(TOutlineTree& tree, const TDeleteSettings& settings) {
  TTreeNode* trash = tree.AddChild(nullptr, texts::TrashTitle());
  tree.SetImageIndex(trash, pic::kTrashFull);
  if (settings.ShowLabel1) tree.SetStateIndex(trash, settings.ClearLabel1 ? pic::kBlankLabel : pic::kLabel1);
  tree.EnsureData(trash).SetMark(pic::kTrashFull);
  return trash;
}

TTreeNode* DeletePage(TOutlineTree& tree, TTreeNode* page, const TDeleteSettings& settings) {
  TTreeNode* trash = FindTrashPage(tree);
  if (trash && InSubtree(page, trash)) {
    TTreeNode* next = ChooseNextSelection(page, false);
    const bool trashGoes = page == trash;
    tree.Delete(page);
    if (!trashGoes) UpdateTrashPicture(tree, trash);
    return next;
  }
  const bool intoTrash = settings.UseTrash && trash;
  TTreeNode* next = ChooseNextSelection(page, intoTrash);
  if (intoTrash)
    tree.MoveTo(page, trash, TNodeAttachMode::naAddChildFirst);
  else
    tree.Delete(page);
  if (trash) UpdateTrashPicture(tree, trash);
  return next;
}

TTreeNode* DeleteSelectedPage(TOutlineTree& tree, TTreeNode* page, const TDeleteSettings& settings) {
  if (settings.UseTrash && !FindTrashPage(tree)) CreateTrashPage(tree, settings);
  return page ? DeletePage(tree, page, settings) : nullptr;
}

TTreeNode* DeleteListedPages(TOutlineTree& tree, const std::vector<TNodeId>& pages, const TDeleteSettings& settings) {
  if (settings.UseTrash && !FindTrashPage(tree)) CreateTrashPage(tree, settings);
  TTreeNode* next = nullptr;
  for (const TNodeId id : pages) {
    TTreeNode* page = tree.FindById(id);
    if (!page || IsInTrash(page) || page == FindTrashPage(tree)) continue;
    next = DeletePage(tree, page, settings);
  }
  return next && tree.FindById(next->Id()) ? next : tree.GetFirstNode();
}

bool CanOutdent(const TTreeNode* page) {
  return page && page->Parent() && !IsTrashPage(page->Parent());
}

bool CanIndent(const TTreeNode* page) { return page && !IsTrashPage(page) && page->GetPrevSibling(); }

bool CanMoveUp(const TTreeNode* page) { return page && !IsTrashPage(page) && page->GetPrevSibling(); }

bool CanMoveDown(const TTreeNode* page) { return page && page->GetNextSibling(); }

void Outdent(TOutlineTree& tree, TTreeNode* page) {
  TTreeNode* parent = page ? page->Parent() : nullptr;
  if (!parent) return;
  if (TTreeNode* after = parent->GetNextSibling())
    tree.MoveTo(page, after, TNodeAttachMode::naInsert);
  else
    tree.MoveTo(page, parent->Parent(), TNodeAttachMode::naAddChild);
}

void Indent(TOutlineTree& tree, TTreeNode* page) {
  if (TTreeNode* prev = page ? page->GetPrevSibling() : nullptr) tree.MoveTo(page, prev, TNodeAttachMode::naAddChild);
}

void MoveUp(TOutlineTree& tree, TTreeNode* page) {
  if (TTreeNode* prev = page ? page->GetPrevSibling() : nullptr) tree.MoveTo(page, prev, TNodeAttachMode::naInsert);
}

void MoveDown(TOutlineTree& tree, TTreeNode* page) {
  TTreeNode* next = page ? page->GetNextSibling() : nullptr;
  if (!next) return;
  if (TTreeNode* after = next->GetNextSibling())
    tree.MoveTo(page, after, TNodeAttachMode::naInsert);
  else
    tree.MoveTo(page, page->Parent(), TNodeAttachMode::naAddChild);
}

TJoinResult JoinWithNext(TOutlineTree& tree, TTreeNode* page, const std::string& editorText) {
  TJoinResult result;
  TTreeNode* next = page ? page->GetNextSibling() : nullptr;
  if (!next) return result;
  result.joined = true;
  result.text = editorText;
  if (next->Data()) result.text += "\r\n" + next->Data()->Body();
  if (page->Data()) page->Data()->SetBody(result.text);
  tree.BeginUpdate();
  while (TTreeNode* child = next->GetFirstChild()) tree.MoveTo(child, page, TNodeAttachMode::naAddChild);
  tree.Delete(next);
  tree.EndUpdate();
  return result;
}

int CycledMark(int mark) { return (mark == pic::kNotStarted || mark == pic::kWorking) ? mark + 1 : pic::kNotStarted; }

int MarkMenuPosition(int mark) {
  if (mark <= pic::kDone) return mark;
  if (mark <= pic::kCancelled) return mark + 1;
  return mark + 2;
}

void SetPageMark(TOutlineTree& tree, TTreeNode* page, int mark, bool createRecord) {
  tree.SetImageIndex(page, mark);
  if (createRecord) tree.EnsureData(page);
  if (page->Data()) page->Data()->SetMark(mark);
}

int CycledLabel(int stateIndex) { return (stateIndex >= 8 && stateIndex <= 13) ? stateIndex + 1 : 8; }

int StateIndexForChosenLabel(int label, const TFormatOptions& labels) {
  if (label == pic::kLabel1 && !labels.ShowLabel1) return 0;
  if (label == pic::kLabel1 && labels.ClearLabel1) return pic::kBlankLabel;
  return label;
}

void SetPageLabel(TOutlineTree& tree, TTreeNode* page, int label, const TFormatOptions& labels) {
  tree.SetStateIndex(page, StateIndexForChosenLabel(label, labels));
  // A new page has no record yet; the one the page switch would make later
  // takes label 0, so the chosen label must have its record now.
  tree.EnsureData(page).SetLabel(label);
}

int ShownLabel(int stateIndex) {
  return (stateIndex < pic::kLabel1 || stateIndex > pic::kLabel8) ? pic::kLabel1 : stateIndex;
}

void ReapplyLabelPictures(TOutlineTree& tree, const TFormatOptions& labels) {
  for (TTreeNode* page = tree.GetFirstNode(); page; page = page->GetNext()) {
    const TNodeData* data = page->Data();
    if (!data || data->Label() > pic::kLabel1) continue;
    tree.SetStateIndex(page, labels.ShowLabel1 ? (labels.ClearLabel1 ? pic::kBlankLabel : pic::kLabel1) : 0);
  }
}

std::vector<TTreeNode*> SiblingPages(const TOutlineTree& tree, const TTreeNode* page) {
  std::vector<TTreeNode*> pages;
  if (!page) return pages;
  if (const TTreeNode* parent = page->Parent()) {
    for (int i = 0; i < parent->Count(); ++i) pages.push_back(parent->Item(i));
  } else {
    for (int i = 0; i < tree.RootCount(); ++i) pages.push_back(tree.RootPage(i));
  }
  return pages;
}

}  // namespace nuv
