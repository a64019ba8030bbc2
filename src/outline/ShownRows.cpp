// The rows of a tree view.
#include "outline/ShownRows.h"

#include <algorithm>
#include <cassert>

namespace nuv {

TShownRows::TShownRows(const TOutlineTree& tree, int stride) : m_tree(tree), m_stride(std::max(1, stride)) {}

void TShownRows::Ensure() {
  if (m_valid) return;
  m_marks.clear();
  m_count = 0;
  for (TTreeNode* n = m_tree.GetFirstNode(); n; n = n->GetNextVisible()) {
    if (m_count % m_stride == 0) m_marks.push_back(n);
    ++m_count;
  }
  m_marks.shrink_to_fit();
  m_markIndex.clear();
  m_markIndex.reserve(m_marks.size());
  for (std::size_t i = 0; i < m_marks.size(); ++i) m_markIndex.emplace(m_marks[i], static_cast<int>(i));
  m_valid = true;
}

int TShownRows::Count() {
  Ensure();
  return m_count;
}

TTreeNode* TShownRows::At(int row) {
  Ensure();
  if (row < 0 || row >= m_count) return nullptr;
  TTreeNode* n = m_marks[static_cast<std::size_t>(row / m_stride)];
  for (int i = row % m_stride; i > 0 && n; --i) n = n->GetNextVisible();
  return n;
}

const TTreeNode* TShownRows::ShownAncestor(const TTreeNode* page) {
  const TTreeNode* shown = page;
  for (const TTreeNode* a = page ? page->Parent() : nullptr; a; a = a->Parent())
    if (!a->Expanded()) shown = a;
  return shown;
}

int TShownRows::RowOf(const TTreeNode* page) {
  if (!page || ShownAncestor(page) != page) return -1;
  Ensure();
  // The mark at or before the page lies fewer than m_stride shown pages back.
  const TTreeNode* n = page;
  for (int step = 0; step < m_stride && n; ++step, n = n->GetPrevVisible())
    if (const auto mark = m_markIndex.find(n); mark != m_markIndex.end()) return mark->second * m_stride + step;
  assert(!"a shown page lies between its marks");
  return -1;
}

}  // namespace nuv
