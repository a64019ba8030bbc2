// Taking back a replace that changed several pages, as one step.
#pragma once

#include <string>
#include <vector>

#include "outline/OutlineTree.h"

namespace nuv {

class TReplaceUndo {
 public:
  void Clear() { m_pages.clear(); }
  // Remembers a page's text before and after a replace changed it.
  void Record(TNodeId page, std::string before, std::string after);
  bool Empty() const { return m_pages.empty(); }
  std::size_t PageCount() const { return m_pages.size(); }

  // Whether every changed page still exists and still holds the replaced text
  // (a later edit of any of them ends the chance to take the replace back).
  bool CanUndo(const TOutlineTree& tree) const;
  // Puts the texts from before back into the records; false (and nothing
  // changed) when it can no longer be done.
  bool Undo(TOutlineTree& tree);

 private:
  struct TPageTexts {
    TNodeId page;
    std::string before;
    std::string after;
  };
  std::vector<TPageTexts> m_pages;
};

}  // namespace nuv
