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

  bool BoxMode() const override { return false; }
  void SetBoxMode(bool) override {}
  void SelectAll() override { m_editor.SelectAll(); }
  void DeleteSelection() override { m_editor.ClearSelection(); }
  bool ReadOnly() const override { return m_editor.ReadOnly(); }
  bool Overwrite() const override { return m_editor.OverWrite(); }
  void SetOverwrite(bool overwrite) override { m_editor.SetOverWrite(overwrite); }
  int CaretLine() const override { return m_editor.RowToLines(m_editor.Row()); }

  // The clipboard of a headless editor is its own.
  void CutToClipboard() override;
  void CopyToClipboard() override;
  bool CanPaste() const override { return !m_clipboard.empty(); }
  void PasteFromClipboard() override { InsertAtCaret(m_clipboard); }
  void PasteBoxFromClipboard() override { InsertAtCaret(m_clipboard); }
  const std::string& ClipboardText() const { return m_clipboard; }

  // Words, tokens and the find come with the editor core's search.
  std::string WordFromCaret() const override { return {}; }
  std::string WordFromPos(TPagePoint) const override { return {}; }
  std::string TokenStringFromCaret(bool) const override { return {}; }
  std::string TokenStringFromPos(TPagePoint, bool) const override { return {}; }
  void SetFindString(std::string_view) override {}
  void SetSearchOptions(TExSearchOptions) override {}
  bool Find() override { return false; }
  bool FindNext() override { return false; }
  bool FindPrev() override { return false; }
  bool Replace(std::string_view, bool) override { return false; }
  int ReplaceAll(std::string_view, bool) override { return 0; }
  void SetHitSelLength(int) override {}
  void HitToSelected() override {}

  int LineCount() const override;
  std::string LineText(int row) const override;
  void ReplaceLine(int row, std::string_view text) override;
  void DeleteLine(int row) override;
  void InsertLine(int row, std::string_view text) override;

 private:
  TEditor m_editor;
  std::string m_clipboard;
};

}  // namespace nuv
