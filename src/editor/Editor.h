// The editor core: a caret over the rows of a document, the editing keys,
// typing, the line and box selection by keys and mouse, the clipboard rules,
// row marks, search hits and the word and token queries, with no window. A
// widget feeds it key and mouse commands (pixels go through the measurer)
// and reads rows, caret, selection and draw info back; tests drive it directly.
//
// Positions are (row, column): the column is a display column, turned into a
// byte index of the row by the row's column codes, so the caret never rests
// on the trail half of a double-byte character or (without InTab) inside a
// tab. A character index counts bytes of the whole text, CR LF as two.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/ColumnAttributes.h"
#include "editor/EditorClient.h"
#include "editor/EditorClipboard.h"
#include "editor/EditorMeasurer.h"
#include "editor/EditorOptions.h"
#include "editor/EditorParser.h"
#include "editor/EditorScreenStrings.h"
#include "editor/EditorSelection.h"
#include "editor/EditorStrings.h"

namespace nuv {


// Key commands of the widget.
enum class TEditorKey { Left, Right, Up, Down, Home, End, PageUp, PageDown, Delete, Backspace, Return, Tab };

struct TKeyState {
  bool Shift = false;
  bool Ctrl = false;
  bool AutoRepeat = false;
};

class TEditor : public IEditorClient {
 public:
  static constexpr int kMaxCol = 1000;
  static constexpr int kMaxImeBytes = 2048;

  TEditor();
  ~TEditor() override;
  TEditor(const TEditor&) = delete;
  TEditor& operator=(const TEditor&) = delete;

  // ---- document, options, collaborators
  TEditorScreenStrings& List() { return *m_list; }
  const TEditorScreenStrings& List() const { return *m_list; }
  TEditorStrings& Lines() { return *m_lines; }
  const TEditorStrings& Lines() const { return *m_lines; }
  // Shows the other editor's document (both then share rows and undo).
  void ExchangeList(TEditor& other);
  TEditorCaret& Caret() { return m_caret; }
  TEditorMargin& Margin() { return m_margin; }
  TEditorSpeed& Speed() { return m_speed; }
  TEditorWrapOption& WrapOption() { return m_list->WrapOption(); }
  bool WordWrap() const { return m_list->WordWrap(); }
  void SetWordWrap(bool v) { m_list->SetWordWrap(v); }
  // The measurer is not owned; null restores fixed default metrics.
  void SetMeasurer(IEditorMeasurer* measurer);
  const IEditorMeasurer& Measurer() const { return *m_measurer; }
  // The fountain is not owned; null means the null fountain.
  void SetFountain(IEditorFountain* fountain);
  IEditorFountain* Fountain() const { return m_fountain; }
  // The editor must be told before its fountain goes away.
  void FountainDestroyed(IEditorFountain* fountain);

  bool ReadOnly() const { return m_readOnly; }
  void SetReadOnly(bool v) { m_readOnly = v; }
  bool OverWrite() const { return m_overWrite; }
  void SetOverWrite(bool v) { m_overWrite = v; }
  bool WantTabs() const { return m_wantTabs; }
  void SetWantTabs(bool v) { m_wantTabs = v; }
  bool WantReturns() const { return m_wantReturns; }
  void SetWantReturns(bool v) { m_wantReturns = v; }
  bool Modified() const { return m_modified; }
  void SetModified(bool v) { m_modified = v; }
  void SetFocused(bool v) { m_focused = v; }

  // Events: any change of the text (edits only), any move of the caret.
  std::function<void()> OnChange;
  std::function<void()> OnCaretMoved;

  // ---- rows
  int GetListCount() const { return m_list->GetCount(); }
  std::string ListStr(int row) const;
  TRowAttribute ListRows(int row) const;
  TRowAttributeData GetListData(int row) const { return m_list->RowState(row); }
  TRowMarks GetListRowMarks(int row) const;
  void SetListRowMarks(int row, TRowMarks marks);
  std::int64_t GetTextLen() const { return m_list->TextLength(); }
  // Writes the rows as shown, each followed by CR LF.
  bool ListToFile(const std::string& fileName) const;

  // ---- columns
  TColumnRules Rules() const;
  void StrToAttributes(std::string_view s, std::string& attributes) const;
  int ExpandTabLength(std::string_view s) const { return nuv::ExpandTabLength(s, Rules()); }
  std::string ExpandTab(std::string_view s) const { return nuv::ExpandTab(s, Rules()); }
  int ExpandListLength(int row) const;
  std::string ExpandListStr(int row) const;

  // ---- caret
  int Row() const { return m_row; }
  int Col() const { return m_col; }
  void SetRow(int row);
  void SetCol(int col);
  void SetRowCol(int row, int col);
  int TopRow() const override { return m_topRow; }
  void SetTopRow(int row);
  int TopCol() const { return m_topCol; }
  void SetTopCol(int col);
  void ScrollCaret();
  void CaretBeginUpdate() override { ++m_caretUpdateCount; }
  void CaretEndUpdate() override;
  // Byte index in the caret row of the caret column.
  int ColToByteIndex(int row, int col) const;
  // Character index of (row, col) counted from the start of fromRow.
  std::int64_t GetSelIndex(int fromRow, int row, int col) const;
  // Puts the caret at character index `index` counted from fromRow.
  void SetSelIndex(int fromRow, std::int64_t index);
  // Character index of a column within its logical line.
  int ColToChar(int row, int col) const;
  // The number of raCrlf rows before `row`, and the first row of a logical line.
  int RowToLines(int row) const;
  int LinesToRow(int line) const;
  void PosToRowCol(int x, int y, bool nearest, int& col, int& row) const;
  // Character index at a pixel, -1 outside the text.
  std::int64_t CharFromPos(int x, int y) const;

  // ---- keys and editing
  void KeyDown(TEditorKey key, TKeyState state = {});
  // A character message: printable bytes are typed; a lead byte waits for its trail.
  void KeyPress(unsigned char ch);
  // The finished string of an input method (at most 2048 bytes are typed).
  void ImeResult(std::string_view s);
  void PutStringToLine(std::string_view s);
  void DeleteRow(int row);
  // Deletes the whole logical line that holds `row` (all its wrapped rows), one step.
  void DeleteLineOfRow(int row);
  // Deletes from the caret to the end of its logical line, one step; the
  // line break stays and the caret ends at the shortened line's end.
  void DeleteToLineEnd();
  // Moves (row, col) to the next (+1) or previous (-1) word start; true when it moved.
  bool FindNextWordStart(int& row, int& col, int direction) const;
  void Undo();
  void Redo();
  bool CanUndo() const { return m_list->UndoObj().CanUndo(); }
  bool CanRedo() const { return m_list->UndoObj().CanRedo(); }
  int UndoListMax() const { return m_list->UndoObj().UndoListMax(); }
  void SetUndoListMax(int v) { m_list->UndoObj().SetUndoListMax(v); }
  // Empties the document.
  void Clear();

  // ---- selection
  TEditorSelectionMode SelectionMode() const { return m_selMode; }
  // Refused while dragging; redraws a selection in the new mode.
  void SetSelectionMode(TEditorSelectionMode mode);
  TEditorSelectionState SelectionState() const { return m_selState; }
  TEditorSelDragState SelDragState() const { return m_dragState; }
  TEditorMouseCursorState MouseCursorState() const { return m_cursorState; }
  int AnchorRow() const { return m_anchorRow; }
  int AnchorCol() const { return m_anchorCol; }
  bool Selected() const;
  // The selection in display columns (end exclusive) and in byte indices
  // (end = the last selected byte of the end row, -1 for none of it).
  TSelectedPosition SelDraw() const;
  TSelectedPosition SelStr() const;
  // Character index of the selection start (or of the caret).
  std::int64_t SelStart() const;
  // Bytes selected, CR LF counting two; in box mode the length of SelText.
  std::int64_t SelLength() const;
  // The selected text; in box mode each row's part joined with CR LF.
  std::string SelText() const;
  // Removes the selection; an index <= 0 puts the caret at the start.
  void SetSelStart(std::int64_t index);
  // Line mode, anchored at the caret, `length` bytes forward; <= 0 removes
  // the selection. The end never falls between a lead and a trail byte.
  void SetSelLength(std::int64_t length);
  // Replaces the selection (or inserts at the caret) as one step.
  void SetSelText(std::string_view s) { PutStringToLine(s); }
  // The same, the caret after the inserted text.
  void SetSelTextBuf(std::string_view s) { PutStringToLine(s); }
  // Inserts the lines of `s` as a box at the caret column, one per row from
  // the caret row (replacing a box selection), padding short rows with
  // spaces and appending rows at the end; one step.
  void SetSelTextBox(std::string_view s);
  // Replaces the selected text by `convert` of it, one step, and selects the
  // result; a box is converted row by row (each row's part on its own), and
  // with nothing selected the whole text is converted and the caret kept.
  // Line breaks must come out of `convert` as they went in.
  using TTextConvert = std::function<std::string(std::string_view)>;
  void ConvertSelection(const TTextConvert& convert);
  void SelectAll();
  // Deletes the selected text as one step.
  void ClearSelection();
  void DeleteSelection() { ClearSelection(); }
  // Removes the highlight only.
  void CleanSelection() override;
  // Sets the anchor at the caret (nothing selected yet).
  void InitSelection();
  // Extends the selection from the anchor to the caret.
  void ExtendSelection();

  // Block indentation of the selected rows, one step each.
  void SelIndent();
  void SelUnIndent();
  void SelTabIndent();
  void SelTabUnIndent();

  // ---- clipboard: not owned; null restores the editor's own memory clipboard.
  void SetClipboard(IEditorClipboard* clipboard) { m_clipboard = clipboard ? clipboard : &m_memoryClipboard; }
  IEditorClipboard& Clipboard() const { return *m_clipboard; }
  bool CanPaste() const { return !m_readOnly && m_clipboard->HasText(); }
  void CopyToClipboard();
  void CutToClipboard();
  // Box text goes in as a box, other text as ordinary text.
  void PasteFromClipboard();
  // The clipboard's text as a box, whatever its format.
  void PasteBoxFromClipboard();

  // ---- row marks: 0..9 sit on one row at most, 10..15 on any number.
  void PutRowMark(int row, TRowMark mark);
  void DeleteRowMark(int row, TRowMark mark);
  // Caret to the first row with the mark (scrolled to the middle when out of
  // view); false when no row has it.
  bool GotoRowMark(TRowMark mark);

  // ---- search hits
  TEditorHitStyle HitStyle() const { return m_hitStyle; }
  // Removes the current selection or hit.
  void SetHitStyle(TEditorHitStyle style);
  // The length of the hit shown, 0 when none is.
  int HitSelLength() const { return m_hitLength; }
  // Shows `length` bytes from the caret as a hit in the hit style.
  void SetHitSelLength(int length);
  // Turns a shown hit into an ordinary selection.
  void HitToSelected();

  // ---- mouse, in the view's pixels
  void MouseDown(int x, int y, TKeyState state = {});
  // `buttonDown`: the left button is held.
  void MouseMove(int x, int y, bool buttonDown, TKeyState state = {});
  void MouseUp(int x, int y, TKeyState state = {});
  // The pointer left the view during a drag: the drop is abandoned.
  void CancelDrag();

  // ---- words and tokens, at the caret or under a pixel
  // The token covering one position of a logical line: its first row, byte
  // range in the joined line, kind and text; Found false when none covers it.
  struct TPosToken {
    bool Found = false;
    int LineRow = 0;
    int Start = 0;
    int Length = 0;
    int Kind = 0;
    std::string Text;
  };
  enum class TTokenQuery { Word, Token, TokenBracket };
  TPosToken PosTokenString(int row, int col, TTokenQuery query) const;
  TPosToken CaretToken(TTokenQuery query) const { return PosTokenString(m_row, m_col, query); }
  TPosToken PointToken(int x, int y, TTokenQuery query) const;
  // Selects a token found by PosTokenString; false when none.
  bool SelectPosToken(const TPosToken& token);
  std::string WordFromCaret() const { return CaretToken(TTokenQuery::Word).Text; }
  std::string WordFromPos(int x, int y) const { return PointToken(x, y, TTokenQuery::Word).Text; }
  bool SelectWordFromCaret() { return SelectPosToken(CaretToken(TTokenQuery::Word)); }
  bool SelectWordFromPos(int x, int y) { return SelectPosToken(PointToken(x, y, TTokenQuery::Word)); }
  int TokenFromCaret() const { return CaretToken(TTokenQuery::Token).Kind; }
  int TokenFromPos(int x, int y) const { return PointToken(x, y, TTokenQuery::Token).Kind; }
  bool SelectTokenFromCaret() { return SelectPosToken(CaretToken(TTokenQuery::Token)); }
  bool SelectTokenFromPos(int x, int y) { return SelectPosToken(PointToken(x, y, TTokenQuery::Token)); }
  std::string TokenStringFromCaret() const { return CaretToken(TTokenQuery::Token).Text; }
  std::string TokenStringFromPos(int x, int y) const { return PointToken(x, y, TTokenQuery::Token).Text; }
  int TokenBracketFromCaret() const { return CaretToken(TTokenQuery::TokenBracket).Kind; }
  int TokenBracketFromPos(int x, int y) const { return PointToken(x, y, TTokenQuery::TokenBracket).Kind; }
  std::string TokenStringBracketFromCaret() const { return CaretToken(TTokenQuery::TokenBracket).Text; }
  std::string TokenStringBracketFromPos(int x, int y) const { return PointToken(x, y, TTokenQuery::TokenBracket).Text; }
  bool SelectTokenBracketFromCaret() { return SelectPosToken(CaretToken(TTokenQuery::TokenBracket)); }
  bool SelectTokenBracketFromPos(int x, int y) { return SelectPosToken(PointToken(x, y, TTokenQuery::TokenBracket)); }

  // Events of the selection: its presence changed or was redrawn; the mode changed.
  std::function<void(bool selected)> OnSelectionChange;
  std::function<void()> OnSelectionModeChange;

  // ---- IEditorClient
  int CaretRow() const override { return m_row; }
  int CaretCol() const override { return m_col; }
  void PlaceCaret(int row, int col) override { SetRowCol(row, col); }
  bool Focused() const override { return m_focused; }
  bool Loading() const override { return false; }
  void AdjustRow() override;
  void InitCol() override;
  void InitView() override {}
  void DoChange(const TDrawInfo& info) override;
  void InvalidateRow(int) override {}
  IEditorFountain* ActiveFountain() override { return m_fountain; }
  int ScreenRows() const override;

 private:
  struct TSelRange {
    int startRow, startCol, endRow, endCol;
  };
  void AdjustCol(bool rowChanged, int direction, bool vertical = false);
  void CaretMoved();
  void ReleaseList();
  void WireList();
  void OptionsChanged();
  int RowLength(int row) const;
  bool LastRowIsEof() const;
  // Maximum caret row: the row count after a final line break, else the last row.
  int MaxRow() const;
  void MoveLeft(bool ctrl);
  void MoveRight(bool ctrl);
  void MoveVertical(int delta, bool autoRepeat);
  void ScrollRows(int delta);
  void PageMove(int direction, bool autoRepeat);
  void EndKey(bool ctrl);
  void TabKey();
  void ReturnKey(bool shift);
  void BackspaceKey();
  void DeleteKey();
  // Replaces rows [row, row+count) by text and puts the caret at character
  // index `caretIndex` counted from fromRow.
  void ReplaceAndPlace(int row, int count, const std::string& text, int fromRow, std::int64_t caretIndex);
  // Replaces one row, keeping its line break.
  void ReplaceRowAndPlace(int row, std::string text, int fromRow, std::int64_t caretIndex);
  // Deletes rows [first, last] and puts the caret at the start of what follows.
  void DeleteRows(int first, int last);
  // Backspace and Delete do nothing when read-only and delete a selection instead.
  bool DeletesSelectionFirst();
  std::string IndentText(int width) const;
  int PrevTopSpace(int row) const;
  TSelRange Selection() const;
  // The replacement of the selection's rows that puts `insert` in its place.
  struct TSelEdit {
    int row = 0, count = 0, fromRow = 0;
    std::int64_t caret = 0;
    std::string text;
  };
  TSelEdit SelectionEdit(std::string_view insert) const;
  // A column clamped to the row end (line-mode positions).
  int ClampToRowEnd(int row, int col) const { return std::min(col, EndCol(row)); }
  // Replaces rows [first, last] by `edit` of each row's text in one step,
  // keeping their line breaks; rows past the end come in as new lines.
  // Returns the character index of `first`'s start (for placing the caret).
  using TRowEdit = std::function<std::string(int row, const std::string& text)>;
  void RewriteRows(int first, int last, const TRowEdit& edit);
  // Byte range of a box's columns [left, right) in a row: a double-byte
  // character cut by the left edge is left out, one cut by the right edge
  // taken in; a tab cut by either edge is taken in.
  int BoxLeftIndex(const std::string& text, int col) const;
  int BoxRightIndex(const std::string& text, int col) const;
  // Puts the anchor back and reselects after an edit that keeps a selection.
  void Reselect(int anchorRow, int anchorCol, int row, int col);
  void SelectionChanged();
  void IndentSelection(int how);
  // The box's rows with their parts removed and `lines` put in at the box's
  // left column (or the caret column without a box).
  void ReplaceBox(const std::vector<std::string>& lines);
  // Selects `length` bytes from character index `start` counted from fromRow.
  void SelectLocal(int fromRow, std::int64_t start, std::int64_t length);
  // The row and nearest column under a pixel, clamped to the caret rows.
  void PointToRowCol(int x, int y, int& row, int& col) const;
  // Row selection from the left margin: rows fromRow..toRow whole.
  void SelectRows(int fromRow, int toRow);
  // Drops a dragged selection at the caret: copied, or moved in one change.
  void MoveSelectionTo(bool copy);
  bool CanSelDrag() const;
  bool InSelection(int row, int col) const;
  // The caret column of a row's end (0 on the row after the last line break).
  int EndCol(int row) const;

  TEditorScreenStrings* m_list = nullptr;  // shared with the other clients; freed by the last
  std::unique_ptr<TEditorStrings> m_lines;
  TEditorCaret m_caret;
  TEditorMargin m_margin;
  TEditorSpeed m_speed;
  TFixedMeasurer m_fixedMeasurer;
  IEditorMeasurer* m_measurer = &m_fixedMeasurer;
  IEditorFountain* m_fountain = nullptr;
  int m_row = 0;
  int m_col = 0;
  int m_topRow = 0;
  int m_topCol = 0;
  int m_keepCol = -1;  // the column a vertical move returns to (KeepCaret)
  int m_caretUpdateCount = 0;
  bool m_caretMovedPending = false;
  bool m_readOnly = false;
  bool m_overWrite = false;
  bool m_wantTabs = true;
  bool m_wantReturns = true;
  bool m_modified = false;
  bool m_focused = false;
  int m_pendingLead = -1;
  TEditorSelectionMode m_selMode = smLine;
  TEditorSelectionState m_selState = sstNone;
  TEditorSelDragState m_dragState = sdNone;
  TEditorMouseCursorState m_cursorState = mcClient;
  TEditorHitStyle m_hitStyle = hsSelect;
  int m_anchorRow = 0;
  int m_anchorCol = 0;
  int m_hitLength = 0;
  bool m_wasSelected = false;
  TMemoryClipboard m_memoryClipboard;
  IEditorClipboard* m_clipboard = &m_memoryClipboard;
  // Mouse: the press point, whether the button went down in the text or the
  // left margin, and the row a row selection started on.
  int m_pressX = 0;
  int m_pressY = 0;
  bool m_mouseSelecting = false;
  bool m_rowSelecting = false;
  int m_rowSelectRow = 0;
  TSelRange m_dragRange{0, 0, 0, 0};  // the selection being dragged
};

}  // namespace nuv
