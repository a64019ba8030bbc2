// The page editor of the main window: the editor widget behind the one page
// editor interface, with the system clipboard (Unicode text out, our own
// Shift JIS bytes and box text beside it) and the Tab rule on a selection.
#pragma once

#include "editor/view/EditorView.h"
#include "outline/PageEditor.h"

namespace nuv {

// Clipboard formats of our own: the exact Shift JIS bytes, and box text.
inline constexpr const char* kSjisTextMime = "application/x-nuv-sjis-text";
inline constexpr const char* kBoxTextMime = "application/x-nuv-box-text";

class TPageEditorView : public TEditorView, public IPageEditor, public IPageLines {
  Q_OBJECT
 public:
  explicit TPageEditorView(QWidget* parent = nullptr);

  std::string Text() const override;
  void SetText(std::string_view text) override;
  bool Modified() const override { return Editor().Modified(); }
  void SetModified(bool modified) override { Editor().SetModified(modified); }
  int SelStart() const override { return static_cast<int>(Editor().SelStart()); }
  int SelLength() const override { return static_cast<int>(Editor().SelLength()); }
  void SetSelection(int start, int length) override;
  std::string SelText() const override { return Editor().SelText(); }
  int CaretRow() const override { return Editor().Row(); }
  int CaretCol() const override;
  void InsertAtCaret(std::string_view text) override;
  bool CanUndo() const override { return Editor().CanUndo(); }
  void Undo() override;
  bool CanRedo() const override { return Editor().CanRedo(); }
  void Redo() override;

  bool BoxMode() const override { return false; }
  void SetBoxMode(bool) override {}
  void SelectAll() override;
  void DeleteSelection() override;
  bool ReadOnly() const override { return Editor().ReadOnly(); }
  bool Overwrite() const override { return Editor().OverWrite(); }
  void SetOverwrite(bool overwrite) override;
  int CaretLine() const override { return Editor().RowToLines(Editor().Row()); }

  void CutToClipboard() override;
  void CopyToClipboard() override;
  bool CanPaste() const override;
  void PasteFromClipboard() override;
  void PasteBoxFromClipboard() override { PasteFromClipboard(); }

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

 protected:
  bool PageKey(QKeyEvent* event) override;

 private:
  // Tab on a selection: indents (or with Shift unindents) the selected lines.
  void IndentSelectedLines(bool unindent);
  // A user's edit: the caret is kept in view.
  template <typename F>
  void Edit(F&& edit);
};

}  // namespace nuv
