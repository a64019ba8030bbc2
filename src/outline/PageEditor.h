// The page editor as the rest of the program sees it: the one interface that
// the page switch, the commands and the macro host use, whichever widget
// (or headless editor) implements it.
#pragma once

#include <string>
#include <string_view>

namespace nuv {

class IPageEditor {
 public:
  virtual ~IPageEditor() = default;

  // The text as a body: every line followed by CR LF, the last one included;
  // the empty string for an empty editor.
  virtual std::string Text() const = 0;
  // Shows a body (or a file's text); the caret goes to the start.
  virtual void SetText(std::string_view text) = 0;
  virtual bool Modified() const = 0;
  virtual void SetModified(bool modified) = 0;

  // Selection as byte offsets into Text().
  virtual int SelStart() const = 0;
  virtual int SelLength() const = 0;
  virtual void SetSelection(int start, int length) = 0;
  // Puts the caret at a byte offset and scrolls it into view.
  virtual void SetSelStart(int start) { SetSelection(start, 0); }
  virtual std::string SelText() const = 0;

  // Caret position, 0-based row and column (bytes, tabs counted as one).
  virtual int CaretRow() const = 0;
  virtual int CaretCol() const = 0;

  // Replaces the selection (or inserts at the caret) as one edit the user can undo.
  virtual void InsertAtCaret(std::string_view text) = 0;
  virtual bool CanUndo() const = 0;
  virtual void Undo() = 0;
  virtual bool CanRedo() const = 0;
  virtual void Redo() = 0;
};

// Line access to a page editor that keeps its text as lines, so a macro can
// rewrite a long page line by line without copying the whole text for every line.
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
