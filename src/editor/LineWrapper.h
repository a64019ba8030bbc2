// Cuts logical lines into rows by the wrap options.
//
// A row is found from its own start alone: the column codes of at most
// W + 3 columns (W the wrap width) are built for the rest of the line, and
// the row-break search walks a cursor over them: a double-byte character
// across the edge goes to the next row; with word breaking the row ends
// after a delimiter, a tab or a double-byte character (not before column
// W div 3); hanging punctuation may follow up to W + 3 columns; an opening
// bracket is pushed to the next row and a closing mark pulls the break back
// (not before column (W div 5) * 4). Because each row looks at no more than
// kLookAhead bytes from its start, wrapping a line costs O(length), and an
// edit needs to re-wrap only the rows whose window reaches the change.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "editor/ColumnAttributes.h"
#include "editor/EditorWrapOption.h"
#include "editor/RowAttributeStringList.h"

namespace nuv {

class TLineWrapper {
 public:
  TLineWrapper(const TEditorWrapOption& option, const TColumnRules& rules);

  // Bytes past a row's start that decide where the row ends: W + 3 columns,
  // a double-byte character finishing there, and the character after that.
  int LookAhead() const { return m_option.WrapByte() + 8; }

  // The row that starts at byte `from` of logical line `line` (no line
  // breaks in it). `line` must hold the whole line, or at least LookAhead()
  // bytes after `from`. Sets `end` to the row's end and returns raWrapped
  // when the line goes on in another row, raCrlf for its last row.
  TRowAttribute RowAt(std::string_view line, std::size_t from, std::size_t& end);

  // Appends the rows of one logical line to `list` (each logical line ends
  // with a raCrlf row; an empty line gives one empty row).
  void WrapLine(std::string_view line, TRowAttributeStringList& list);
  // The number of rows WrapLine gives.
  int WrapCount(std::string_view line);

 private:
  const TEditorWrapOption& m_option;
  TColumnRules m_rules;
  std::string m_codes;
  TEditorAttributeArray m_cursor;
};

// Splits text at CR LF, CR or LF and wraps each line (without word wrap a
// plain split); an empty text gives one empty row, a final line break no
// empty last row. Every row of a finished line is raCrlf at its end.
void WrapText(std::string_view text, bool wordWrap, TLineWrapper& wrapper, TRowAttributeStringList& list);

// Calls f(line) for each logical line of text; returns whether the text ends
// with a line break.
template <typename F>
bool ForEachLine(std::string_view text, F f) {
  std::size_t start = 0;
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      f(text.substr(start, i - start));
      if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < n) {
    f(text.substr(start));
    return false;
  }
  return n > 0;
}

}  // namespace nuv
