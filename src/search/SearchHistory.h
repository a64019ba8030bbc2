// The find and replace histories: newest first, each text once, at most 20.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nuv {

class TSearchHistory {
 public:
  static constexpr std::size_t kMaxEntries = 20;

  const std::vector<std::string>& Items() const { return m_items; }
  // Moves the text to the front (adding it when new) and drops the oldest beyond the limit.
  void Push(std::string_view text);
  void Assign(std::vector<std::string> items);

 private:
  std::vector<std::string> m_items;
};

}  // namespace nuv
