// The back and forward lists.
#include "outline/NavigationHistory.h"

#include <algorithm>

namespace nuv {

namespace {

void PruneList(std::vector<THistoryEntry>& list, const TOutlineTree& tree) {
  std::erase_if(list, [&tree](const THistoryEntry& e) { return tree.FindById(e.id) == nullptr; });
}

THistoryEntry EntryOf(const TTreeNode* page) { return THistoryEntry{page->Id(), page->Text()}; }

}  // namespace

void TNavigationHistory::PageLeft(const TTreeNode* left) {
  if (m_navigating || !left) return;
  m_back.insert(m_back.begin(), EntryOf(left));
  if (m_back.size() > kMaxBack) m_back.resize(kMaxBack);
  m_forward.clear();
}

TTreeNode* TNavigationHistory::Jump(std::vector<THistoryEntry>& from, std::vector<THistoryEntry>& to, std::size_t k,
                                    const TTreeNode* current, const TOutlineTree& tree) {
  PruneList(from, tree);
  PruneList(to, tree);
  if (k >= from.size()) return nullptr;
  TTreeNode* target = tree.FindById(from[k].id);
  if (current) to.insert(to.begin(), EntryOf(current));
  // Entries 0..k-1, entry 0 first, each to the front: the list then reads k-1, ..., 0.
  for (std::size_t i = 0; i < k; ++i) to.insert(to.begin(), from[i]);
  from.erase(from.begin(), from.begin() + static_cast<std::ptrdiff_t>(k) + 1);
  return target;
}

TTreeNode* TNavigationHistory::JumpBack(std::size_t k, const TTreeNode* current, const TOutlineTree& tree) {
  return Jump(m_back, m_forward, k, current, tree);
}

TTreeNode* TNavigationHistory::JumpForward(std::size_t k, const TTreeNode* current, const TOutlineTree& tree) {
  return Jump(m_forward, m_back, k, current, tree);
}

void TNavigationHistory::Prune(const TOutlineTree& tree) {
  PruneList(m_back, tree);
  PruneList(m_forward, tree);
}

void TNavigationHistory::Clear() {
  m_back.clear();
  m_forward.clear();
}

}  // namespace nuv
