// The find and replace histories.
#include "search/SearchHistory.h"

#include <algorithm>

namespace nuv {

void TSearchHistory::Push(std::string_view text) {
  m_items.erase(std::remove(m_items.begin(), m_items.end(), text), m_items.end());
  m_items.insert(m_items.begin(), std::string(text));
  if (m_items.size() > kMaxEntries) m_items.resize(kMaxEntries);
}

void TSearchHistory::Assign(std::vector<std::string> items) {
  m_items.clear();
  // Read in reverse so the newest ends up first and duplicates keep their newest place.
  for (auto it = items.rbegin(); it != items.rend(); ++it) Push(*it);
}

}  // namespace nuv
