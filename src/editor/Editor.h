// The editor core: a caret over the rows of a document, the editing keys,
// typing, and a line-mode selection, with no window. A widget feeds it key
// commands and reads rows, caret and draw info back; tests drive it directly.
//
// Positions are (row, column): the column is a display column, turned into a
// byte index of the row by the row's column codes, so the caret never rests
// on the trail half of a double-byte character or (without InTab) inside a
// tab. A character index counts bytes of the whole text, CR LF as two.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "editor/ColumnAttributes.h"
#include "editor/EditorClient.h"
#include "editor/EditorMeasurer.h"
#include "editor/EditorOptions.h"
#include "editor/EditorParser.h"
#include "editor/EditorScreenStrings.h"
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

  // ---- selection (line mode)
  bool Selected() const;
  std::int64_t SelStart() const;
  std::int64_t SelLength() const;
  std::string SelText() const;
  void SetSelStart(std::int64_t index);
  void SetSelLength(std::int64_t length);
  // Replaces the selection (or inserts at the caret) as one step.
  void SetSelText(std::string_view s) { PutStringToLine(s); }
  void SelectAll();
  // Deletes the selected text as one step.
  void ClearSelection();
  void CleanSelection() override;
  // The other end of a line selection; the mouse sets it where a drag starts.
  int AnchorRow() const { return m_anchorRow; }
  int AnchorCol() const { return m_anchorCol; }
  void SetAnchor(int row, int col) {
    m_selecting = true;
    m_anchorRow = row;
    m_anchorCol = col;
  }

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
  bool m_selecting = false;  // an anchor is set
  int m_anchorRow = 0;
  int m_anchorCol = 0;
};

}  // namespace nuv
