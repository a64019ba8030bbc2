// The page ranges of find and replace.
#include "search/FindRange.h"

namespace nuv {

std::vector<TTreeNode*> AllPages(const TOutlineTree& tree) {
  std::vector<TTreeNode*> pages;
  pages.reserve(static_cast<std::size_t>(tree.Count()));
  for (TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext()) pages.push_back(n);
  return pages;
}

std::vector<TTreeNode*> SubtreePages(TTreeNode* page) {
  std::vector<TTreeNode*> pages;
  if (!page) return pages;
  // Stopping only at a page of the same depth would run on into the pages
  // after a shallower one: the subtree ends at any page that is not deeper.
  const int depth = page->Level();
  pages.push_back(page);
  for (TTreeNode* n = page->GetNext(); n && n->Level() > depth; n = n->GetNext()) pages.push_back(n);
  return pages;
}

std::vector<TTreeNode*> FollowingSiblings(TTreeNode* page) {
  std::vector<TTreeNode*> pages;
  for (TTreeNode* n = page; n; n = n->GetNextSibling()) pages.push_back(n);
  return pages;
}

std::vector<TTreeNode*> ListedPages(const TOutlineTree& tree, const std::vector<TNodeId>& listed) {
  std::vector<TTreeNode*> pages;
  pages.reserve(listed.size());
  for (TNodeId id : listed)
    if (TTreeNode* page = tree.FindById(id)) pages.push_back(page);
  return pages;
}

std::vector<TTreeNode*> PagesInRange(const TOutlineTree& tree, TTreeNode* selected, TFindRange range,
                                     const std::vector<TNodeId>& listed) {
  switch (range) {
    case TFindRange::AllPages: return AllPages(tree);
    case TFindRange::Subtree: return SubtreePages(selected);
    case TFindRange::Siblings: return FollowingSiblings(selected);
    case TFindRange::ResultList: return ListedPages(tree, listed);
  }
  return {};
}

std::vector<TTreeNode*> PagesInRange(const TOutlineTree& tree, TTreeNode* selected, TReplaceRange range) {
  switch (range) {
    case TReplaceRange::CurrentPage: return selected ? std::vector<TTreeNode*>{selected} : std::vector<TTreeNode*>{};
    case TReplaceRange::AllPages: return AllPages(tree);
    case TReplaceRange::Subtree: return SubtreePages(selected);
    case TReplaceRange::Siblings: return FollowingSiblings(selected);
  }
  return {};
}

}  // namespace nuv
