// The headless page editor: body text in and out, selection as byte offsets.
#include "editor/HeadlessPageEditor.h"

#include <algorithm>

#include "editor/EditorStrings.h"
#include "editor/PageText.h"

namespace nuv {

std::string THeadlessPageEditor::Text() const { return PageText(m_editor); }

void THeadlessPageEditor::SetText(std::string_view text) { SetPageText(m_editor, text); }

int THeadlessPageEditor::SelStart() const { return static_cast<int>(m_editor.SelStart()); }

int THeadlessPageEditor::SelLength() const { return static_cast<int>(m_editor.SelLength()); }

void THeadlessPageEditor::SetSelection(int start, int length) { SetPageSelection(m_editor, start, length); }

int THeadlessPageEditor::CaretCol() const { return PageCaretCol(m_editor); }

void THeadlessPageEditor::InsertAtCaret(std::string_view text) { InsertPageText(m_editor, text); }

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
