// The page editor without a window: the real editor core behind the one
// interface the page switch, the macro host and the outline-wide find use.
#pragma once

#include <string>
#include <string_view>

#include "editor/Editor.h"
#include "outline/PageEditor.h"

namespace nuv {

class THeadlessPageEditor : public IPageEditor, public IPageLines {
 public:
  THeadlessPageEditor() = default;

  TEditor& Editor() { return m_editor; }

  // The body form: every line followed by CR LF, the last one included.
  std::string Text() const override;
  void SetText(std::string_view text) override;
  bool Modified() const override { return m_editor.Modified(); }
  void SetModified(bool modified) override { m_editor.SetModified(modified); }
  int SelStart() const override;
  int SelLength() const override;
  void SetSelection(int start, int length) override;
  std::string SelText() const override { return m_editor.SelText(); }
  int CaretRow() const override { return m_editor.Row(); }
  // Bytes before the caret in its row.
  int CaretCol() const override;
  void InsertAtCaret(std::string_view text) override;
  bool CanUndo() const override { return m_editor.CanUndo(); }
  void Undo() override { m_editor.Undo(); }
  bool CanRedo() const override { return m_editor.CanRedo(); }
  void Redo() override { m_editor.Redo(); }

  int LineCount() const override;
  std::string LineText(int row) const override;
  void ReplaceLine(int row, std::string_view text) override;
  void DeleteLine(int row) override;
  void InsertLine(int row, std::string_view text) override;

 private:
  TEditor m_editor;
};

}  // namespace nuv
