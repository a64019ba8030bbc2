// The one-edit replacement of a page's text.
#include "app/PageTextReplace.h"

#include "outline/PageEditor.h"

namespace nuv {

namespace {

bool LineStart(const std::string& text, std::size_t at) { return at == 0 || text[at - 1] == '\n'; }

}  // namespace

void ReplaceDifferingLines(IPageEditor& editor, const std::string& text) {
  ReplaceDifferingLines(editor, editor.Text(), text);
}

void ReplaceDifferingLines(IPageEditor& editor, const std::string& now, const std::string& text) {
  if (now == text) return;
  // The common start and end, widened to whole lines of both texts, so no
  // character is cut.
  std::size_t p = 0;
  while (p < now.size() && p < text.size() && now[p] == text[p]) ++p;
  while (!LineStart(now, p)) --p;
  std::size_t s = 0;
  while (s < now.size() - p && s < text.size() - p && now[now.size() - 1 - s] == text[text.size() - 1 - s]) ++s;
  while (s > 0 && !(LineStart(now, now.size() - s) && LineStart(text, text.size() - s))) --s;
  if (editor.BoxMode()) editor.SetBoxMode(false);
  editor.SetSelection(static_cast<int>(p), static_cast<int>(now.size() - s - p));
  editor.InsertAtCaret(std::string_view(text).substr(p, text.size() - s - p));
}

}  // namespace nuv
