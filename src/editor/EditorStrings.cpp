// Logical-line operations, each ending in one replacement of the document.
#include "editor/EditorStrings.h"

#include "editor/Editor.h"

namespace nuv {

int TEditorStrings::GetCount() const {
  const TEditorScreenStrings& list = m_editor.List();
  const int rows = list.GetCount();
  if (!list.WordWrap()) return rows;
  int lines = 0;
  for (int r = 0; r < rows; ++r) {
    if (list.GetRows(r) != raWrapped || r == rows - 1) ++lines;
  }
  return lines;
}

int TEditorStrings::LinesToRow(int line) const { return m_editor.LinesToRow(line); }

std::string TEditorStrings::Get(int line) const {
  const TEditorScreenStrings& list = m_editor.List();
  const int row = LinesToRow(line);
  if (line < 0 || row >= list.GetCount()) return std::string();
  std::string s = list.ListInfo(row, -1);
  if (s.size() >= 2 && list.GetRows(list.RowEnd(row)) == raCrlf) s.resize(s.size() - 2);
  return s;
}

void TEditorStrings::Put(int line, std::string_view s) {
  TEditorScreenStrings& list = m_editor.List();
  const int row = LinesToRow(line);
  if (line < 0 || row >= list.GetCount()) return;
  m_editor.CleanSelection();
  const int last = list.RowEnd(row);
  std::string text(s);
  list.CheckCrlf(last, text);
  list.UpdateList(row, last - row + 1, text);
  m_editor.SetSelIndex(row, static_cast<std::int64_t>(s.size()));
}

void TEditorStrings::Insert(int line, std::string_view s) {
  if (line < 0) return;
  if (line >= GetCount()) {
    Add(s);
    return;
  }
  m_editor.CleanSelection();
  const int row = LinesToRow(line);
  std::string text(s);
  text += "\r\n";
  m_editor.List().UpdateList(row, 0, text);
  m_editor.SetSelIndex(row, static_cast<std::int64_t>(text.size()));
}

void TEditorStrings::Add(std::string_view s) {
  TEditorScreenStrings& list = m_editor.List();
  m_editor.CleanSelection();
  const int rows = list.GetCount();
  if (rows > 0 && list.GetRows(rows - 1) != raCrlf) {
    // The text still ends without a line break.
    const int first = list.RowStart(rows - 1);
    std::string text = list.ListInfo(first, rows - first);
    text += "\r\n";
    text.append(s);
    list.UpdateList(first, rows - first, text);
    m_editor.SetSelIndex(first, static_cast<std::int64_t>(text.size()));
    return;
  }
  std::string text(s);
  text += "\r\n";
  list.UpdateList(rows, 0, text);
  m_editor.SetSelIndex(rows, static_cast<std::int64_t>(text.size()));
}

void TEditorStrings::Delete(int line) {
  TEditorScreenStrings& list = m_editor.List();
  const int row = LinesToRow(line);
  if (line < 0 || row >= list.GetCount()) return;
  m_editor.CleanSelection();
  list.UpdateList(row, list.RowEnd(row) - row + 1, std::string_view());
  m_editor.SetRowCol(row, 0);
}

void TEditorStrings::Clear() { m_editor.List().Clear(); }

std::string TEditorStrings::GetTextStr() const { return m_editor.List().ListToStr(); }

void TEditorStrings::SetTextStr(std::string_view text) { m_editor.List().SetTextStr(text); }

void TEditorStrings::Assign(std::string_view text) {
  SetTextStr(text);
  m_editor.SetRowCol(m_editor.List().GetCount(), 0);
}

bool TEditorStrings::LoadFromFile(const std::string& fileName) { return m_editor.List().LoadFromFile(fileName); }

bool TEditorStrings::SaveToFile(const std::string& fileName) const { return m_editor.List().SaveToFile(fileName); }

void TEditorStrings::BeginUpdate() {
  ++m_updateCount;
  m_editor.List().BeginUpdate();
  m_editor.CaretBeginUpdate();
}

void TEditorStrings::EndUpdate() {
  if (m_updateCount == 0) return;
  --m_updateCount;
  m_editor.List().EndUpdate();
  m_editor.CaretEndUpdate();
}

}  // namespace nuv
