// The editor's search as a matcher.
#include "search/EditorMatcher.h"

namespace nuv {

void TEditorMatcher::SetQuery(std::string_view pattern, TExSearchOptions options) {
  m_editor.SetFindString(pattern);
  m_editor.SetExSearchOptions(options);
  // Compile now, so a bad pattern is reported before any page is searched.
  int length = 0;
  m_editor.SearchPos(std::string_view(), length);
}

void TEditorMatcher::SetText(std::string_view text) {
  m_zero = TEditorEx::TZeroCursor{};
  const TExSearchOptions options = m_editor.ExSearchOptions();
  if (HasSearchOption(options, soMatchCase) || HasSearchOption(options, soRegexp)) {
    m_text = text;
  } else {
    m_folded = m_editor.Folded(text);
    m_text = m_folded;
  }
}

bool TEditorMatcher::Find(std::size_t from, std::size_t& start, std::size_t& length) {
  return m_editor.SearchFrom(m_text, from, false, start, length, &m_zero);
}

}  // namespace nuv
