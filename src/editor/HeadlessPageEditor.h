// The page editor without a window: the real editor core behind the one
// interface the page switch, the macro host and the outline-wide find use.
#pragma once

#include <string>
#include <string_view>

#include "editor/EditorEx.h"
#include "outline/PageEditor.h"

namespace nuv {

class THeadlessPageEditor : public IPageEditor, public IPageLines {
 public:
  THeadlessPageEditor() = default;

  TEditorEx& Editor() { return m_editor; }

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

  bool BoxMode() const override { return m_editor.SelectionMode() == smBox; }
  void SetBoxMode(bool box) override { m_editor.SetSelectionMode(box ? smBox : smLine); }
  void SelectAll() override { m_editor.SelectAll(); }
  void DeleteSelection() override { m_editor.ClearSelection(); }
  bool ReadOnly() const override { return m_editor.ReadOnly(); }
  bool Overwrite() const override { return m_editor.OverWrite(); }
  void SetOverwrite(bool overwrite) override { m_editor.SetOverWrite(overwrite); }
  int CaretLine() const override { return m_editor.RowToLines(m_editor.Row()); }
  void DeleteCaretLine(bool viewRow) override {
    if (viewRow)
      m_editor.DeleteRow(m_editor.Row());
    else
      m_editor.DeleteLineOfRow(m_editor.Row());
  }
  void DeleteToLineEnd() override { m_editor.DeleteToLineEnd(); }
  void ConvertSelection(const std::function<std::string(std::string_view)>& convert) override {
    m_editor.ConvertSelection(convert);
  }

  // The clipboard of a headless editor is its own (in memory, box flag kept).
  void CutToClipboard() override { m_editor.CutToClipboard(); }
  void CopyToClipboard() override { m_editor.CopyToClipboard(); }
  bool CanPaste() const override { return m_editor.CanPaste(); }
  void PasteFromClipboard() override { m_editor.PasteFromClipboard(); }
  void PasteBoxFromClipboard() override { m_editor.PasteBoxFromClipboard(); }
  std::string ClipboardText() const {
    bool box = false;
    return m_editor.Clipboard().GetText(box);
  }

  std::string WordFromCaret() const override { return m_editor.WordFromCaret(); }
  std::string WordFromPos(TPagePoint point) const override { return m_editor.WordFromPos(point.x, point.y); }
  std::string TokenStringFromCaret(bool bracket) const override {
    return bracket ? m_editor.TokenStringBracketFromCaret() : m_editor.TokenStringFromCaret();
  }
  std::string TokenStringFromPos(TPagePoint point, bool bracket) const override {
    return bracket ? m_editor.TokenStringBracketFromPos(point.x, point.y) : m_editor.TokenStringFromPos(point.x, point.y);
  }
  void SetFindString(std::string_view pattern) override { m_editor.SetFindString(pattern); }
  void SetSearchOptions(TExSearchOptions options) override { m_editor.SetExSearchOptions(options); }
  bool Find() override { return m_editor.Find(); }
  bool FindNext() override { return m_editor.FindNext(); }
  bool FindPrev() override { return m_editor.FindPrev(); }
  bool Replace(std::string_view s, bool expandCrLf) override { return m_editor.Replace(s, expandCrLf); }
  int ReplaceAll(std::string_view s, bool expandCrLf) override { return m_editor.ReplaceAll(s, expandCrLf); }
  void SetHitSelLength(int length) override { m_editor.SetHitSelLength(length); }
  void HitToSelected() override { m_editor.HitToSelected(); }

  int LineCount() const override;
  std::string LineText(int row) const override;
  void ReplaceLine(int row, std::string_view text) override;
  void DeleteLine(int row) override;
  void InsertLine(int row, std::string_view text) override;

 private:
  TEditorEx m_editor;
};

}  // namespace nuv
