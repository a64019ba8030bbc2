// The page editor of the main window: the editor widget behind the one page
// editor interface, with the system clipboard (Unicode text out, our own
// Shift JIS bytes and box text beside it) and the Tab rule on a selection.
#pragma once

#include <functional>
#include <memory>

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
  ~TPageEditorView() override;

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

  bool BoxMode() const override { return Editor().SelectionMode() == smBox; }
  void SetBoxMode(bool box) override;
  void SelectAll() override;
  void DeleteSelection() override;
  bool ReadOnly() const override { return Editor().ReadOnly(); }
  bool Overwrite() const override { return Editor().OverWrite(); }
  void SetOverwrite(bool overwrite) override;
  int CaretLine() const override { return Editor().RowToLines(Editor().Row()); }
  void DeleteCaretLine(bool viewRow) override;
  void DeleteToLineEnd() override;
  void ConvertSelection(const std::function<std::string(std::string_view)>& convert) override;

  // The core's clipboard rules over the system clipboard.
  void CutToClipboard() override;
  void CopyToClipboard() override { Editor().CopyToClipboard(); }
  bool CanPaste() const override { return Editor().CanPaste(); }
  void PasteFromClipboard() override;
  void PasteBoxFromClipboard() override;

  std::string WordFromCaret() const override { return Editor().WordFromCaret(); }
  std::string WordFromPos(TPagePoint point) const override { return Editor().WordFromPos(point.x, point.y); }
  std::string TokenStringFromCaret(bool bracket) const override {
    return bracket ? Editor().TokenStringBracketFromCaret() : Editor().TokenStringFromCaret();
  }
  std::string TokenStringFromPos(TPagePoint point, bool bracket) const override {
    return bracket ? Editor().TokenStringBracketFromPos(point.x, point.y) : Editor().TokenStringFromPos(point.x, point.y);
  }
  void SetFindString(std::string_view pattern) override { Editor().SetFindString(pattern); }
  void SetSearchOptions(TExSearchOptions options) override { Editor().SetExSearchOptions(options); }
  bool Find() override;
  bool FindNext() override;
  bool FindPrev() override;
  bool Replace(std::string_view replacement, bool expandCrLf) override;
  int ReplaceAll(std::string_view replacement, bool expandCrLf) override;
  void SetHitSelLength(int length) override;
  void HitToSelected() override;

  int LineCount() const override;
  std::string LineText(int row) const override;
  void ReplaceLine(int row, std::string_view text) override;
  void DeleteLine(int row) override;
  void InsertLine(int row, std::string_view text) override;

  // Links in the text: `isLink` says whether a point of the text lies on one,
  // and the pointer shows the hand there.
  void SetLinkTest(std::function<bool(TPagePoint)> isLink) { m_isLink = std::move(isLink); }

 signals:
  // A left click (pressed and released at one spot) and a double click, at a
  // point of the text, after the editor has placed the caret.
  void Clicked(const QPoint& at, Qt::KeyboardModifiers modifiers);
  void DoubleClicked(const QPoint& at);

 protected:
  bool PageKey(QKeyEvent* event) override;
  bool WindowKey(const QKeyEvent* event) const override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  class TSystemClipboard;
  // A user's edit or move: the caret is kept in view and the view repainted.
  template <typename F>
  auto Edit(F&& edit);

  std::unique_ptr<TSystemClipboard> m_clipboard;
  std::function<bool(TPagePoint)> m_isLink;
  QPoint m_pressAt;
  bool m_pressed = false;
  bool m_hand = false;
};

}  // namespace nuv
