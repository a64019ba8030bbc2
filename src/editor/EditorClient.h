// What a document needs from each editor that shows it: the caret, the
// selection, the view and the fountain. The editor core implements it.
#pragma once

namespace nuv {

class IEditorFountain;

// The change recorded by the last edit, for the painter: first changed row,
// old and new row counts of the changed range, and the rows whose tokenizer
// state changed.
struct TDrawInfo {
  int FirstRow = 0;
  int OldCount = 0;
  int StateChanged = 0;
  int NewCount = 0;
  bool Valid = false;
};

class IEditorClient {
 public:
  virtual ~IEditorClient() = default;
  virtual int CaretRow() const = 0;
  virtual int CaretCol() const = 0;
  // Puts the caret (after undo or redo, or at the start after Clear).
  virtual void PlaceCaret(int row, int col) = 0;
  virtual void CaretBeginUpdate() = 0;
  virtual void CaretEndUpdate() = 0;
  virtual bool Focused() const = 0;
  virtual bool Loading() const = 0;
  // Removes the selection highlight.
  virtual void CleanSelection() = 0;
  // Clamps the caret row and the top row to the rows.
  virtual void AdjustRow() = 0;
  virtual void InitCol() = 0;
  // Re-initialises draw info, scroll range and origin and repaints.
  virtual void InitView() = 0;
  // The document changed (draw info valid when the change was an edit).
  virtual void DoChange(const TDrawInfo& info) = 0;
  virtual void InvalidateRow(int row) = 0;
  // The fountain whose parser computes row states; null for the null fountain.
  virtual IEditorFountain* ActiveFountain() = 0;
  // Rows in one screen height and the first visible row: they bound how far
  // re-tokenizing runs ahead.
  virtual int ScreenRows() const = 0;
  virtual int TopRow() const = 0;
};

}  // namespace nuv
