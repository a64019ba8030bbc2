// The editor's own search as the matcher of a walk over pages: the pattern and
// options go through the extended editor, so a page searched here gives the
// same hits as the page shown in the editor.
#pragma once

#include <string>
#include <string_view>

#include "editor/EditorEx.h"
#include "search/TextMatcher.h"

namespace nuv {

// `text` lowered as the editor's search without case lowers it (ASCII
// capitals at character starts only) into `out`, whose buffer is kept: a
// walk over many pages then does not allocate a copy for every one.
void FoldInto(std::string_view text, std::string& out);

class TEditorMatcher : public ITextMatcher {
 public:
  // Throws the engine's error for a bad pattern.
  void SetQuery(std::string_view pattern, TExSearchOptions options);
  void SetText(std::string_view text) override;
  bool Find(std::size_t from, std::size_t& start, std::size_t& length) override;
  // The hidden editor, a buffer for replacing in texts that are not shown.
  TEditorEx& Editor() { return m_editor; }

 private:
  static constexpr std::size_t kFirstFold = 512;

  TEditorEx m_editor;
  std::string_view m_text;
  bool m_folds = false;  // the search ignores case: it compares m_folded
  std::string m_folded;  // the text lowered up to m_foldedTo (a character start)
  std::size_t m_foldedTo = 0;
  // Where the text's next zero byte lies, so a walk along one text stays linear.
  TEditorEx::TZeroCursor m_zero;
};

}  // namespace nuv
