// Taking back a replace across pages.
#include "search/ReplaceUndo.h"

#include "outline/NodeData.h"

namespace nuv {

void TReplaceUndo::Record(TNodeId page, std::string before, std::string after) {
  for (TPageTexts& p : m_pages)
    if (p.page == page) {
      p.after = std::move(after);
      return;
    }
  m_pages.push_back({page, std::move(before), std::move(after)});
}

bool TReplaceUndo::CanUndo(const TOutlineTree& tree) const {
  if (m_pages.empty()) return false;
  for (const TPageTexts& p : m_pages) {
    const TTreeNode* page = tree.FindById(p.page);
    if (!page || !page->Data() || page->Data()->Body() != p.after) return false;
  }
  return true;
}

bool TReplaceUndo::Undo(TOutlineTree& tree) {
  if (!CanUndo(tree)) return false;
  for (TPageTexts& p : m_pages) tree.FindById(p.page)->Data()->SetBody(std::move(p.before));
  m_pages.clear();
  return true;
}

}  // namespace nuv
