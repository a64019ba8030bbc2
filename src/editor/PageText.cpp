// The body form and byte offsets of a page shown in an editor core.
#include "editor/PageText.h"

#include <algorithm>

#include "editor/Editor.h"

namespace nuv {

std::string PageText(const TEditor& editor) {
  std::string text = editor.List().ListToStr();
  // A last line without its line break gets one in the body form.
  if (!text.empty() && text.back() != '\n') text += "\r\n";
  return text;
}

void SetPageText(TEditor& editor, std::string_view text) {
  editor.Lines().SetTextStr(text);
  editor.SetRowCol(0, 0);
  editor.SetTopRow(0);
}

void SetPageSelection(TEditor& editor, int start, int length) {
  const std::int64_t size = editor.GetTextLen();
  const std::int64_t from = std::clamp<std::int64_t>(start, 0, size);
  editor.SetSelStart(from);
  editor.SetSelLength(std::min<std::int64_t>(std::max(length, 0), size - from));
  editor.ScrollCaret();
}

int PageCaretCol(const TEditor& editor) {
  return std::min(editor.ColToByteIndex(editor.Row(), editor.Col()), static_cast<int>(editor.ListStr(editor.Row()).size()));
}

void InsertPageText(TEditor& editor, std::string_view text) {
  if (text.empty()) {
    editor.ClearSelection();
    return;
  }
  editor.PutStringToLine(text);
}

}  // namespace nuv
