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

bool TShownRows::Before(const TTreeNode* a, const TTreeNode* b) const {
  return m_tree.AbsoluteIndexOf(a) < m_tree.AbsoluteIndexOf(b);
}

int TShownRows::RowOf(const TTreeNode* page) {
  if (!page || ShownAncestor(page) != page) return -1;
  Ensure();
  // The last mark at or before the page.
  const auto after = std::upper_bound(m_marks.begin(), m_marks.end(), page,
                                      [this](const TTreeNode* p, const TTreeNode* mark) { return Before(p, mark); });
  if (after == m_marks.begin()) return -1;
  const auto markIndex = static_cast<int>(after - m_marks.begin()) - 1;
  const TTreeNode* n = *(after - 1);
  for (int step = 0; step < m_stride && n; ++step, n = n->GetNextVisible())
    if (n == page) return markIndex * m_stride + step;
  assert(!"a shown page lies between its marks");
  return -1;
}

}  // namespace nuv
