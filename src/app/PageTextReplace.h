// Replacing the page editor's whole text with another as one edit of only
// the lines that differ: one undo step, and the lines around keep their marks.
#pragma once

#include <string>

namespace nuv {

class IPageEditor;

// Leaves the editor's selection on the replaced lines; nothing happens when
// the texts are equal. Box mode is left for line mode first.
void ReplaceDifferingLines(IPageEditor& editor, const std::string& text);
// The same when the caller knows the editor's text (`now`), saving a copy of it.
void ReplaceDifferingLines(IPageEditor& editor, const std::string& now, const std::string& text);

}  // namespace nuv
