// The page editor's view of an editor core: the body form of the text, the
// selection as byte offsets into it, and the caret column in bytes. Shared by
// the headless page editor and the widget's.
#pragma once

#include <string>
#include <string_view>

namespace nuv {

class TEditor;

// Every line followed by CR LF, the last one included; empty for an empty editor.
std::string PageText(const TEditor& editor);
// Shows a text; the caret goes to the start, the view to the top.
void SetPageText(TEditor& editor, std::string_view text);
// Selects `length` bytes from `start` (both clamped to the text) and scrolls the caret into view.
void SetPageSelection(TEditor& editor, int start, int length);
// Bytes before the caret in its row.
int PageCaretCol(const TEditor& editor);
// Replaces the selection or inserts at the caret; an empty text deletes the selection.
void InsertPageText(TEditor& editor, std::string_view text);

}  // namespace nuv
