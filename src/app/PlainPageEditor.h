// The page text pane until the real editor arrives: a QPlainTextEdit behind
// the page editor interface. Text moves through the CP932 codec; characters
// Shift JIS cannot hold are refused as they are typed or pasted.
#pragma once

#include <QPlainTextEdit>
#include <functional>

#include "outline/PageEditor.h"

namespace nuv {

class TPlainPageEditor : public QPlainTextEdit, public IPageEditor {
  Q_OBJECT
 public:
  explicit TPlainPageEditor(QWidget* parent = nullptr);

  std::string Text() const override;
  void SetText(std::string_view text) override;
  bool Modified() const override;
  void SetModified(bool modified) override;
  int SelStart() const override;
  int SelLength() const override;
  void SetSelection(int start, int length) override;
  std::string SelText() const override;
  int CaretRow() const override;
  int CaretCol() const override;
  void InsertAtCaret(std::string_view text) override;
  bool CanUndo() const override;
  void Undo() override;
  bool CanRedo() const override;
  void Redo() override;

  // The plain pane has line selection only, no find of its own and no tokens.
  bool BoxMode() const override { return false; }
  void SetBoxMode(bool) override {}
  void SelectAll() override { selectAll(); }
  void DeleteSelection() override { textCursor().removeSelectedText(); }
  bool ReadOnly() const override { return isReadOnly(); }
  bool Overwrite() const override { return overwriteMode(); }
  void SetOverwrite(bool overwrite) override;
  int CaretLine() const override { return CaretRow(); }
  void CutToClipboard() override { cut(); }
  void CopyToClipboard() override { copy(); }
  bool CanPaste() const override { return canPaste(); }
  void PasteFromClipboard() override { paste(); }
  void PasteBoxFromClipboard() override { paste(); }
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

  // Called with the refused text when input could not be encoded.
  void SetRefusalHandler(std::function<void()> handler) { m_onRefused = std::move(handler); }

 signals:
  void OverwriteToggled(bool overwrite);
  void FocusLost();
  void CtrlTabPressed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool Accepts(const QString& text);
  // Byte offset in Text() of a position in the pane's plain text, and back.
  int ByteOffsetOf(int position) const;
  int PositionOfByte(int offset) const;
  void IndentSelectedLines(bool unindent);

  std::function<void()> m_onRefused;
};

}  // namespace nuv
