// The rows of a tree view: the pages shown below expanded parents, in tree
// order, numbered from 0, without a record per row.
//
// The list keeps only every Stride()-th shown page (a mark), and a map from
// each mark to its place. A row is found from the mark before it by
// stepping to the next shown page at most Stride() - 1 times; a page's row
// by stepping back over the shown pages until a mark, as often at most.
// Neither asks the tree for an absolute index, which a change would make it
// count again. Any change of structure or expansion only drops the marks;
// the first question afterwards walks the shown pages once to place them
// again. A million shown pages thus cost a few milliseconds once per change
// and about half a byte each.
#pragma once

#include <unordered_map>
#include <vector>

#include "outline/OutlineTree.h"

namespace nuv {

class TShownRows {
 public:
  static constexpr int kDefaultStride = 64;
  explicit TShownRows(const TOutlineTree& tree, int stride = kDefaultStride);

  // After pages were added, removed, moved, reordered, expanded or collapsed.
  void Invalidate() { m_valid = false; }
  bool Valid() const { return m_valid; }

  int Count();
  // The page on a row; null outside [0, Count()).
  TTreeNode* At(int row);
  // The row of a page; -1 for null or a page under a collapsed parent.
  int RowOf(const TTreeNode* page);
  // The nearest page that is shown: the page itself or its highest collapsed ancestor.
  static const TTreeNode* ShownAncestor(const TTreeNode* page);
  int Stride() const { return m_stride; }

 private:
  void Ensure();

  const TOutlineTree& m_tree;
  int m_stride;
  std::vector<TTreeNode*> m_marks;  // m_marks[i] is the page on row i * m_stride
  std::unordered_map<const TTreeNode*, int> m_markIndex;  // m_markIndex[m_marks[i]] == i
  int m_count = 0;
  bool m_valid = false;
};

}  // namespace nuv
