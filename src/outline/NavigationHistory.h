// The back and forward lists of visited pages.
//
// Entries hold page ids, never pointers, with the title the page had when
// the entry was made (the menu caption). Entries of removed pages are dropped
// before every jump, so a jump can only reach a live page; the window calls
// Prune after deleting pages so its menus never offer a removed one.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "outline/OutlineTree.h"

namespace nuv {

struct THistoryEntry {
  TNodeId id = 0;
  std::string caption;
  bool operator==(const THistoryEntry&) const = default;
};

class TNavigationHistory {
 public:
  static constexpr std::size_t kMaxBack = 10;

  // Newest first: entry 0 is the first item of its menu.
  const std::vector<THistoryEntry>& Back() const { return m_back; }
  const std::vector<THistoryEntry>& Forward() const { return m_forward; }
  bool CanGoBack() const { return !m_back.empty(); }
  bool CanGoForward() const { return !m_forward.empty(); }

  // While a jump selects its target the page switch must not record it.
  bool Navigating() const { return m_navigating; }

  // The selection moved from `left` to another page: unless a jump is in
  // progress, `left` goes to the front of the back list (which keeps ten
  // entries) and the forward list empties.
  void PageLeft(const TTreeNode* left);

  // Back menu item k (0 for the Back command) from `current`: returns the
  // page to select, or none when there is no such live entry. The caller
  // selects it inside a Jump scope. `current` goes to the front of the
  // forward list, then entries 0..k-1 one by one, entry 0 first, so the
  // forward list leads back through them to `current`.
  TTreeNode* JumpBack(std::size_t k, const TTreeNode* current, const TOutlineTree& tree);
  // The mirror image on the forward list.
  TTreeNode* JumpForward(std::size_t k, const TTreeNode* current, const TOutlineTree& tree);

  // Drops the entries whose pages no longer exist.
  void Prune(const TOutlineTree& tree);
  // New and open: both lists empty.
  void Clear();

  // Sets the navigating flag for its lifetime.
  class TJump {
   public:
    explicit TJump(TNavigationHistory& history) : m_history(history) { m_history.m_navigating = true; }
    ~TJump() { m_history.m_navigating = false; }
    TJump(const TJump&) = delete;
    TJump& operator=(const TJump&) = delete;

   private:
    TNavigationHistory& m_history;
  };

 private:
  static TTreeNode* Jump(std::vector<THistoryEntry>& from, std::vector<THistoryEntry>& to, std::size_t k,
                         const TTreeNode* current, const TOutlineTree& tree);

  std::vector<THistoryEntry> m_back;
  std::vector<THistoryEntry> m_forward;
  bool m_navigating = false;
};

}  // namespace nuv
