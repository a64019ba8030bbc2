// The rules of the page commands: adding, deleting into the trash, moving,
// joining, and setting marks and labels. The window wires actions to them.
#pragma once

#include <string>
#include <vector>

#include "outline/OutlineTree.h"

namespace nuv {

struct TFormatOptions;

struct TDeleteSettings {
  bool UseTrash = true;
  bool ShowLabel1 = false;
  bool ClearLabel1 = false;
};

// ---- Adding pages. Each returns the new page "無題" after the new-page setup:
// mark 5, and the label picture of label 1 when labels are shown.
TTreeNode* AddPageAbove(TOutlineTree& tree, TTreeNode* selected);
TTreeNode* AddPageBelow(TOutlineTree& tree, TTreeNode* selected);
// As the last child of the selected page; without one, as the last sibling
// of the top visible page.
TTreeNode* AddChildPage(TOutlineTree& tree, TTreeNode* selected, TTreeNode* topVisible);
void NewPageSetup(TOutlineTree& tree, TTreeNode* page, const TFormatOptions& labels);

// ---- Deleting.
// The trash page, appended as the last root page with its record.
TTreeNode* CreateTrashPage(TOutlineTree& tree, const TDeleteSettings& settings);
// Deletes one page with its subtree: a page inside the trash (or the trash
// itself) for good, any other into the trash as its first child, or for good
// without a trash. Returns the page to select next, always a surviving one
// (null when the tree is empty). The trash picture follows its child count.
TTreeNode* DeletePage(TOutlineTree& tree, TTreeNode* page, const TDeleteSettings& settings);
// The delete command for the selected page: creates the trash page first when needed.
TTreeNode* DeleteSelectedPage(TOutlineTree& tree, TTreeNode* page, const TDeleteSettings& settings);
// Deletes the pages of a list selection by id, skipping pages inside the
// trash and pages an earlier delete already removed. Returns the last page
// chosen to select, or null.
TTreeNode* DeleteListedPages(TOutlineTree& tree, const std::vector<TNodeId>& pages, const TDeleteSettings& settings);

// ---- Moving. Each Can* is the command's enabled rule.
bool CanOutdent(const TTreeNode* page);
bool CanIndent(const TTreeNode* page);
bool CanMoveUp(const TTreeNode* page);
bool CanMoveDown(const TTreeNode* page);
void Outdent(TOutlineTree& tree, TTreeNode* page);
void Indent(TOutlineTree& tree, TTreeNode* page);
void MoveUp(TOutlineTree& tree, TTreeNode* page);
void MoveDown(TOutlineTree& tree, TTreeNode* page);

// ---- Joining: the page takes its next sibling's body and children, and the
// sibling is removed. `editorText` is the page's text as the editor holds it;
// the result is the joined text, or nothing when there is no next sibling.
struct TJoinResult {
  bool joined = false;
  std::string text;
};
TJoinResult JoinWithNext(TOutlineTree& tree, TTreeNode* page, const std::string& editorText);

// ---- Marks and labels.
// The mark button: not started -> working -> done -> not started; any other mark -> not started.
int CycledMark(int mark);
// The position of a mark's item in the mark menu (separators after 2 and 4).
int MarkMenuPosition(int mark);
// Sets the mark picture and the record's mark (a record is created when `createRecord`).
void SetPageMark(TOutlineTree& tree, TTreeNode* page, int mark, bool createRecord);
// The label button: labels 2 to 8 in turn, never label 1.
int CycledLabel(int stateIndex);
// The picture a chosen label k (7 to 14) shows under the label settings.
int StateIndexForChosenLabel(int label, const TFormatOptions& labels);
// Sets the label picture and the record's label, creating the record.
void SetPageLabel(TOutlineTree& tree, TTreeNode* page, int label, const TFormatOptions& labels);
// The label the title bar shows for a page's picture: label 1 (7) for none or the blank picture.
int ShownLabel(int stateIndex);
// After the label settings changed: pages whose record holds label 1 or none show it anew.
void ReapplyLabelPictures(TOutlineTree& tree, const TFormatOptions& labels);

// ---- The children list: the page's siblings (the root pages for a root page), in order.
std::vector<TTreeNode*> SiblingPages(const TOutlineTree& tree, const TTreeNode* page);

}  // namespace nuv
