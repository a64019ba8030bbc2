// Which pages a find or a replace walks over, in the order it walks them.
#pragma once

#include <vector>

#include "outline/OutlineTree.h"

namespace nuv {

// The ranges of the find dialog, in its order.
enum class TFindRange { AllPages = 0, Subtree = 1, Siblings = 2, ResultList = 3 };

// The ranges of the replace dialog, in its order.
enum class TReplaceRange { CurrentPage = 0, AllPages = 1, Subtree = 2, Siblings = 3 };

// Every page in tree order.
std::vector<TTreeNode*> AllPages(const TOutlineTree& tree);
// The page and the pages after it in tree order, up to the first later page
// that is not deeper than it: the page's whole subtree and nothing beyond.
std::vector<TTreeNode*> SubtreePages(TTreeNode* page);
// The page and its following siblings.
std::vector<TTreeNode*> FollowingSiblings(TTreeNode* page);
// The pages of a result list that still exist, in list order.
std::vector<TTreeNode*> ListedPages(const TOutlineTree& tree, const std::vector<TNodeId>& listed);

std::vector<TTreeNode*> PagesInRange(const TOutlineTree& tree, TTreeNode* selected, TFindRange range,
                                     const std::vector<TNodeId>& listed);
// The current page alone for the replace range of the current page.
std::vector<TTreeNode*> PagesInRange(const TOutlineTree& tree, TTreeNode* selected, TReplaceRange range);

}  // namespace nuv
