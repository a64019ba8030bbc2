// The page editor as the rest of the program sees it: the one interface that
// the page switch, the commands and the macro host use, whichever widget
// (or headless editor) implements it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace nuv {

// The search options of the editor's find: bit n for option n. The editor
// normalises a set: match case wins over regexp, fuzzy only with regexp,
// whole word with any of them.
enum TExSearchOption : unsigned { soMatchCase = 0, soRegexp = 1, soFuzzy = 2, soWholeWord = 3 };
using TExSearchOptions = unsigned;
constexpr TExSearchOptions SearchOption(TExSearchOption option) { return 1u << option; }
constexpr bool HasSearchOption(TExSearchOptions set, TExSearchOption option) { return (set >> option) & 1u; }

// A point in the editor's own pixel coordinates (the pointer over the text).
struct TPagePoint {
  int x = 0;
  int y = 0;
};

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

  // ---- selection and editing state
  virtual bool Selected() const { return SelLength() > 0; }
  // Box (rectangular) selection instead of line selection.
  virtual bool BoxMode() const = 0;
  virtual void SetBoxMode(bool box) = 0;
  virtual void SelectAll() = 0;
  // Deletes the selected text as one edit.
  virtual void DeleteSelection() = 0;
  virtual bool ReadOnly() const = 0;
  virtual bool Overwrite() const = 0;
  virtual void SetOverwrite(bool overwrite) = 0;
  // The logical line of the caret, 0-based (a wrapped line counts once).
  virtual int CaretLine() const = 0;

  // ---- text commands, each one edit the user can undo
  // Deletes the caret's display row (viewRow) or its whole logical line.
  virtual void DeleteCaretLine(bool viewRow) = 0;
  // Deletes from the caret to the end of its logical line; the line break stays.
  virtual void DeleteToLineEnd() = 0;
  // Replaces the selection by `convert` of it (a box row by row) and selects
  // the result; with nothing selected the whole text is converted and the
  // caret stays. `convert` must keep line breaks as they are.
  virtual void ConvertSelection(const std::function<std::string(std::string_view)>& convert) = 0;

  // ---- clipboard: box text travels with its own format
  virtual void CutToClipboard() = 0;
  virtual void CopyToClipboard() = 0;
  // Whether the clipboard holds text the editor can paste.
  virtual bool CanPaste() const = 0;
  virtual void PasteFromClipboard() = 0;
  // Pastes the clipboard's text as a box at the caret's column.
  virtual void PasteBoxFromClipboard() = 0;

  // ---- words and tokens: at the caret, or under a point of the editor
  virtual std::string WordFromCaret() const = 0;
  virtual std::string WordFromPos(TPagePoint point) const = 0;
  // The text of the syntax token; `bracket` takes a bracketed region or a
  // comment begun on an earlier line as one token.
  virtual std::string TokenStringFromCaret(bool bracket) const = 0;
  virtual std::string TokenStringFromPos(TPagePoint point, bool bracket) const = 0;

  // ---- find and replace on the shown text
  virtual void SetFindString(std::string_view pattern) = 0;
  virtual void SetSearchOptions(TExSearchOptions options) = 0;
  // Each returns whether a hit was found and shown; a bad pattern throws the
  // engine's error and changes nothing.
  virtual bool Find() = 0;
  virtual bool FindNext() = 0;
  virtual bool FindPrev() = 0;
  // Replaces the next hit (the current one first); "\r\n" written in the
  // replacement becomes a line break when expandCrLf.
  virtual bool Replace(std::string_view replacement, bool expandCrLf) = 0;
  // Replaces every hit as one edit; returns how many.
  virtual int ReplaceAll(std::string_view replacement, bool expandCrLf) = 0;
  // Shows `length` bytes from the caret as a search hit, in the hit style.
  virtual void SetHitSelLength(int length) = 0;
  // Turns a shown hit into an ordinary selection.
  virtual void HitToSelected() = 0;
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
