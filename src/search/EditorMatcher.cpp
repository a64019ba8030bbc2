// The editor's search as a matcher.
#include "search/EditorMatcher.h"

namespace nuv {

void TEditorMatcher::SetQuery(std::string_view pattern, TExSearchOptions options) {
  m_editor.SetFindString(pattern);
  m_editor.SetExSearchOptions(options);
  // Compile now, so a bad pattern is reported before any page is searched.
  std::size_t start = 0, length = 0;
  m_editor.SearchFrom(std::string_view(), 0, false, start, length);
}

bool TEditorMatcher::Find(std::string_view text, std::size_t from, std::size_t& start, std::size_t& length) {
  return m_editor.SearchFrom(text, from, false, start, length);
}

}  // namespace nuv
