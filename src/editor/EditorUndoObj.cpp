// Undo and redo: a record is put back through the document's replacement,
// which hands back the record's inverse for the other list.
#include "editor/EditorUndoObj.h"

#include <algorithm>

#include "editor/EditorScreenStrings.h"

namespace nuv {

void TUndoDataList::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  m_items.erase(m_items.begin() + index);
}

void TEditorUndoObj::CaretOf(int& row, int& col) const {
  const IEditorClient* client = m_list.GetActiveClient();
  row = client ? client->CaretRow() : 0;
  col = client ? client->CaretCol() : 0;
}

TUndoData& TEditorUndoObj::Add() {
  auto data = std::make_unique<TUndoData>();
  CaretOf(data->CaretRow, data->CaretCol);
  TUndoData& added = m_undoList.Add(std::move(data));
  if (m_undoList.Count() > m_undoListMax) m_undoList.DeleteFirst();
  if (!m_redoing) m_redoList.Clear();
  return added;
}

void TEditorUndoObj::Clear() {
  m_undoList.Clear();
  m_redoList.Clear();
}

void TEditorUndoObj::SetUndoListMax(int value) {
  m_undoListMax = std::max(value, kDefaultUndoListMax);
  while (m_undoList.Count() > m_undoListMax) m_undoList.DeleteFirst();
}

void TEditorUndoObj::UndoToRedo(const TUndoData& data) {
  auto copy = std::make_unique<TUndoData>(data);
  CaretOf(copy->CaretRow, copy->CaretCol);
  m_redoList.Add(std::move(copy));
}

namespace {
// Suspends the active client's caret and opens a document update for one
// step; both are closed on every path.
class TStepScope {
 public:
  TStepScope(TEditorScreenStrings& list, IEditorClient* client) : m_list(list), m_client(client) {
    if (m_client) m_client->CaretBeginUpdate();
    m_list.BeginUpdate();
  }
  ~TStepScope() {
    if (m_open) m_list.EndUpdate();
    if (m_client) m_client->CaretEndUpdate();
  }
  // Closes the update and puts the caret.
  void Finish(int row, int col) {
    m_open = false;
    m_list.EndUpdate();
    if (m_client) m_client->PlaceCaret(row, col);
  }
  TStepScope(const TStepScope&) = delete;
  TStepScope& operator=(const TStepScope&) = delete;

 private:
  TEditorScreenStrings& m_list;
  IEditorClient* m_client;
  bool m_open = true;
};
}  // namespace

void TEditorUndoObj::Undo() {
  if (m_undoList.Empty()) return;
  TUndoData& u = m_undoList.Last();
  TStepScope scope(m_list, m_list.GetActiveClient());
  TUndoData inverse;
  m_list.ApplyUndoData(u, inverse, false);
  UndoToRedo(inverse);
  scope.Finish(u.CaretRow, u.CaretCol);
  m_undoList.DeleteLast();
}

void TEditorUndoObj::Redo() {
  if (m_redoList.Empty()) return;
  TUndoData& r = m_redoList.Last();
  TStepScope scope(m_list, m_list.GetActiveClient());
  TUndoData inverse;
  m_list.ApplyUndoData(r, inverse, true);
  m_redoing = true;
  TUndoData& added = Add();
  m_redoing = false;
  const int caretRow = added.CaretRow, caretCol = added.CaretCol;
  added = std::move(inverse);
  added.CaretRow = caretRow;
  added.CaretCol = caretCol;
  scope.Finish(r.CaretRow, r.CaretCol);
  m_redoList.DeleteLast();
}

}  // namespace nuv
