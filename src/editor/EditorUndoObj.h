// Undo and redo of a document: every edit is one record of a row range,
// the rows it holds now and the text it held before.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "editor/RowAttributeStringList.h"

namespace nuv {

class TEditorScreenStrings;

struct TUndoData {
  int CaretRow = 0;  // caret to restore after the step is undone or redone
  int CaretCol = 0;
  int StartRow = -1;                   // first row of the changed range
  int RowCount = 0;                    // rows the range holds now
  TRowAttribute RowAttribute = raInvalid;  // last attribute of the old text; raInvalid: there was none
  std::string Text;                    // the old text, CR LF after each raCrlf row
  std::vector<TRowMarks> Marks;        // the marks of the old rows, one per row
  // Marks of deleted rows that went to the row after the range, and that row.
  int OrphanRow = -1;
  TRowMarks OrphanMarks;
  bool OrphanOutside = false;  // that row lies outside the changed range
};

// Owns its records; the oldest is dropped from the front.
class TUndoDataList {
 public:
  int Count() const { return static_cast<int>(m_items.size()); }
  bool Empty() const { return m_items.empty(); }
  TUndoData& Last() { return *m_items.back(); }
  TUndoData& Add(std::unique_ptr<TUndoData> data) {
    m_items.push_back(std::move(data));
    return *m_items.back();
  }
  void Delete(int index);
  void DeleteLast() { m_items.pop_back(); }
  void DeleteFirst() { m_items.pop_front(); }
  void Clear() { m_items.clear(); }

 private:
  std::deque<std::unique_ptr<TUndoData>> m_items;
};

class TEditorUndoObj {
 public:
  static constexpr int kDefaultUndoListMax = 64;

  explicit TEditorUndoObj(TEditorScreenStrings& list) : m_list(list) {}

  // A new record carrying the active client's caret; drops the oldest beyond
  // the limit and empties the redo list unless a redo is recording.
  TUndoData& Add();
  // Takes back the last Add (an edit that failed before changing anything).
  void CancelLast() { if (!m_undoList.Empty()) m_undoList.DeleteLast(); }
  bool CanUndo() const { return !m_undoList.Empty(); }
  bool CanRedo() const { return !m_redoList.Empty(); }
  void Clear();
  void Undo();
  void Redo();
  void UndoToRedo(const TUndoData& data);

  int UndoListMax() const { return m_undoListMax; }
  // Raised to 64 at least; a lower limit trims the list from the oldest end.
  void SetUndoListMax(int value);
  int UndoCount() const { return m_undoList.Count(); }
  int RedoCount() const { return m_redoList.Count(); }

 private:
  void CaretOf(int& row, int& col) const;

  TEditorScreenStrings& m_list;
  int m_undoListMax = kDefaultUndoListMax;
  bool m_redoing = false;
  TUndoDataList m_redoList;
  TUndoDataList m_undoList;
};

}  // namespace nuv
