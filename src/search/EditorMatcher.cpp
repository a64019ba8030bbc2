// The editor's search as a matcher.
#include "search/EditorMatcher.h"

#include <algorithm>

#include "base/Sjis.h"

namespace nuv {

namespace {

// Lowers whole characters of `text` from the character start `from` until
// at least `to` and appends them to `out`; returns where it stopped.
std::size_t FoldOn(std::string_view text, std::size_t from, std::size_t to, std::string& out) {
  to = std::min(to, text.size());
  if (from >= to) return from;
  const std::size_t at = out.size();
  out.append(text.substr(from, to - from));
  std::size_t i = from;
  while (i < to) {
    const std::size_t length = CharLength(text, i);
    char& c = out[at + (i - from)];
    if (length == 1 && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    i += length;
  }
  // A double-byte character across `to` is taken whole.
  out.append(text.substr(to, i - to));
  return i;
}

}  // namespace

void FoldInto(std::string_view text, std::string& out) {
  out.clear();
  out.reserve(text.size());
  FoldOn(text, 0, text.size(), out);
}

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
  m_folds = !HasSearchOption(options, soMatchCase) && !HasSearchOption(options, soRegexp);
  m_text = text;
  m_folded.clear();
  m_foldedTo = 0;
}

bool TEditorMatcher::Find(std::size_t from, std::size_t& start, std::size_t& length) {
  if (!m_folds) return m_editor.SearchFrom(m_text, from, false, start, length, &m_zero);
  // A search without case compares the lowered text, which is lowered only as
  // far as the search needs: most pages of a find-all hold a hit near their
  // top. A hit in the lowered part counts once two more bytes are lowered
  // after it (the whole-word test and a character's end look at the next
  // character); until then the part grows, twice as long each time. Only
  // plain text is searched this way, so a hit inside the part is a hit of
  // the whole text.
  for (std::size_t want = std::max(from + kFirstFold, 2 * m_foldedTo);; want *= 2) {
    m_foldedTo = FoldOn(m_text, m_foldedTo, want, m_folded);
    const bool whole = m_foldedTo >= m_text.size();
    const bool found = m_editor.SearchFrom(m_folded, from, false, start, length);
    if (whole || (found && start + length + 2 <= m_folded.size())) return found;
  }
}

}  // namespace nuv
