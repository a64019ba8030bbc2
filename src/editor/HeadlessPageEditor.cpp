// The headless page editor: body text in and out, selection as byte offsets.
#include "editor/HeadlessPageEditor.h"

#include <algorithm>

#include "editor/EditorStrings.h"

namespace nuv {

std::string THeadlessPageEditor::Text() const {
  std::string text = m_editor.List().ListToStr();
  // A last line without its line break gets one in the body form.
  if (!text.empty() && text.back() != '\n') text += "\r\n";
  return text;
}

void THeadlessPageEditor::SetText(std::string_view text) {
  m_editor.Lines().SetTextStr(text);
  m_editor.SetRowCol(0, 0);
  m_editor.SetTopRow(0);
}

int THeadlessPageEditor::SelStart() const { return static_cast<int>(m_editor.SelStart()); }

int THeadlessPageEditor::SelLength() const { return static_cast<int>(m_editor.SelLength()); }

void THeadlessPageEditor::SetSelection(int start, int length) {
  const std::int64_t size = m_editor.GetTextLen();
  const std::int64_t from = std::clamp<std::int64_t>(start, 0, size);
  m_editor.SetSelStart(from);
  m_editor.SetSelLength(std::min<std::int64_t>(std::max(length, 0), size - from));
  m_editor.ScrollCaret();
}

int THeadlessPageEditor::CaretCol() const {
  return std::min(m_editor.ColToByteIndex(m_editor.Row(), m_editor.Col()),
                  static_cast<int>(m_editor.ListStr(m_editor.Row()).size()));
}

void THeadlessPageEditor::InsertAtCaret(std::string_view text) {
  if (text.empty()) {
    m_editor.ClearSelection();
    return;
  }
  m_editor.PutStringToLine(text);
}

int THeadlessPageEditor::LineCount() const { return m_editor.Lines().GetCount(); }

std::string THeadlessPageEditor::LineText(int row) const { return m_editor.Lines().Get(row); }

void THeadlessPageEditor::ReplaceLine(int row, std::string_view text) {
  m_editor.Lines().Put(row, text);
  m_editor.SetModified(true);
}

void THeadlessPageEditor::DeleteLine(int row) {
  m_editor.Lines().Delete(row);
  m_editor.SetModified(true);
}

void THeadlessPageEditor::InsertLine(int row, std::string_view text) {
  m_editor.Lines().Insert(row, text);
  m_editor.SetModified(true);
}

}  // namespace nuv
