// The editor's own search as the matcher of a walk over pages: the pattern and
// options go through the extended editor, so a page searched here gives the
// same hits as the page shown in the editor.
#pragma once

#include <string>
#include <string_view>

#include "editor/EditorEx.h"
#include "search/TextMatcher.h"

namespace nuv {

class TEditorMatcher : public ITextMatcher {
 public:
  // Throws the engine's error for a bad pattern.
  void SetQuery(std::string_view pattern, TExSearchOptions options);
  void SetText(std::string_view text) override;
  bool Find(std::size_t from, std::size_t& start, std::size_t& length) override;
  // The hidden editor, a buffer for replacing in texts that are not shown.
  TEditorEx& Editor() { return m_editor; }

 private:
  TEditorEx m_editor;
  std::string_view m_text;
  std::string m_folded;  // the text lowered, for a search without case
  // Where the text's next zero byte lies, so a walk along one text stays linear.
  TEditorEx::TZeroCursor m_zero;
};

}  // namespace nuv
