// Line access to the page editor for macros: an editor that keeps its text
// as lines offers it so a macro can rewrite a long page line by line without
// copying the whole text for every line.
#pragma once

#include <string>
#include <string_view>

namespace nuv {

class IPageLines {
 public:
  virtual ~IPageLines() = default;
  // Logical lines of the text: Text() split at its line ends.
  virtual int LineCount() const = 0;
  // 0 <= row < LineCount().
  virtual std::string LineText(int row) const = 0;
  // Each an edit of the editor's text (modified flag set); a text with line
  // breaks becomes several lines.
  virtual void ReplaceLine(int row, std::string_view text) = 0;
  virtual void DeleteLine(int row) = 0;
  virtual void InsertLine(int row, std::string_view text) = 0;
};

}  // namespace nuv
