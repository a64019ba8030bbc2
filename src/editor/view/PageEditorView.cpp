// The page editor widget: body text, byte offsets and the system clipboard.
#include "editor/view/PageEditorView.h"

#include <QApplication>
#include <algorithm>
#include <type_traits>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

#include "base/Codec.h"
#include "base/Sjis.h"
#include "editor/EditorClipboard.h"
#include "editor/PageText.h"

namespace nuv {

namespace {

// CR LF, CR and LF all become CR LF.
std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out += "\r\n";
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

QString ToUnicodeLf(std::string_view sjis) {
  std::string lf;
  lf.reserve(sjis.size());
  for (std::size_t i = 0; i < sjis.size(); ++i)
    if (!(sjis[i] == '\r' && i + 1 < sjis.size() && sjis[i + 1] == '\n')) lf += sjis[i];
  const std::u16string wide = DecodeCp932(lf);
  return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

}  // namespace

// The system clipboard as the editor core's clipboard: Unicode text for other
// programs, our exact Shift JIS bytes beside it, and a mark for box text.
class TPageEditorView::TSystemClipboard : public IEditorClipboard {
 public:
  explicit TSystemClipboard(TPageEditorView& view) : m_view(view) {}
  bool HasText() const override {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && (data->hasText() || data->hasFormat(kSjisTextMime));
  }
  std::string GetText(bool& box) const override {
    box = false;
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data) return {};
    std::string sjis;
    if (data->hasFormat(kSjisTextMime)) {
      // Our own bytes: exactly what was copied, no round trip through Unicode.
      const QByteArray bytes = data->data(kSjisTextMime);
      sjis.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    } else if (!data->hasText() || !m_view.Encode(data->text(), sjis, true)) {
      // Text of other programs is refused whole when a character has no code.
      return {};
    }
    box = data->hasFormat(kBoxTextMime);
    // A NUL would end the text when it is read back.
    sjis.erase(std::remove(sjis.begin(), sjis.end(), '\0'), sjis.end());
    return WithCrLf(sjis);
  }
  void SetText(std::string_view text, bool box) override {
    auto* data = new QMimeData;
    data->setText(ToUnicodeLf(text));
    data->setData(kSjisTextMime, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    if (box) data->setData(kBoxTextMime, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    QApplication::clipboard()->setMimeData(data);
  }

 private:
  TPageEditorView& m_view;
};

TPageEditorView::TPageEditorView(QWidget* parent)
    : TEditorView(parent), m_clipboard(std::make_unique<TSystemClipboard>(*this)) {
  Editor().SetClipboard(m_clipboard.get());
  // Moves without a button tell whether the pointer is over a link.
  viewport()->setMouseTracking(true);
}

TPageEditorView::~TPageEditorView() { Editor().SetClipboard(nullptr); }

// ---- links under the pointer

void TPageEditorView::mousePressEvent(QMouseEvent* event) {
  m_pressed = event->button() == Qt::LeftButton;
  m_pressAt = event->position().toPoint();
  TEditorView::mousePressEvent(event);
}

void TPageEditorView::mouseMoveEvent(QMouseEvent* event) {
  TEditorView::mouseMoveEvent(event);
  if (event->buttons() != Qt::NoButton) return;
  const QPoint at = event->position().toPoint();
  const bool hand = m_isLink && m_isLink(TPagePoint{at.x(), at.y()});
  if (hand == m_hand) return;
  m_hand = hand;
  viewport()->setCursor(hand ? Qt::PointingHandCursor : Qt::IBeamCursor);
}

void TPageEditorView::mouseReleaseEvent(QMouseEvent* event) {
  TEditorView::mouseReleaseEvent(event);
  const QPoint at = event->position().toPoint();
  const bool click = m_pressed && event->button() == Qt::LeftButton &&
                     (at - m_pressAt).manhattanLength() < QApplication::startDragDistance();
  m_pressed = false;
  if (click) emit Clicked(at, event->modifiers());
}

void TPageEditorView::mouseDoubleClickEvent(QMouseEvent* event) {
  TEditorView::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) emit DoubleClicked(event->position().toPoint());
}

template <typename F>
auto TPageEditorView::Edit(F&& edit) {
  Editor().CaretBeginUpdate();
  auto result = [&] {
    if constexpr (std::is_void_v<decltype(edit())>) {
      edit();
      return 0;
    } else {
      return edit();
    }
  }();
  Editor().ScrollCaret();
  Editor().CaretEndUpdate();
  viewport()->update();
  return result;
}

std::string TPageEditorView::Text() const { return PageText(Editor()); }

void TPageEditorView::SetText(std::string_view text) {
  SetPageText(Editor(), text);
  Refresh();
}

void TPageEditorView::SetSelection(int start, int length) {
  // The caret event comes after the scroll, so the view follows it at once.
  Edit([&] { SetPageSelection(Editor(), start, length); });
}

int TPageEditorView::CaretCol() const { return PageCaretCol(Editor()); }

void TPageEditorView::InsertAtCaret(std::string_view text) {
  Edit([&] { InsertPageText(Editor(), text); });
}

void TPageEditorView::Undo() {
  Edit([&] { Editor().Undo(); });
}

void TPageEditorView::Redo() {
  Edit([&] { Editor().Redo(); });
}

void TPageEditorView::SelectAll() {
  Editor().SelectAll();
  viewport()->update();
}

void TPageEditorView::DeleteSelection() {
  Edit([&] { Editor().ClearSelection(); });
}

void TPageEditorView::SetOverwrite(bool overwrite) {
  if (overwrite == Editor().OverWrite()) return;
  Editor().SetOverWrite(overwrite);
  viewport()->update();
  emit OverwriteToggled(overwrite);
}

void TPageEditorView::DeleteCaretLine(bool viewRow) {
  Edit([&] {
    if (viewRow)
      Editor().DeleteRow(Editor().Row());
    else
      Editor().DeleteLineOfRow(Editor().Row());
  });
}

void TPageEditorView::DeleteToLineEnd() {
  Edit([&] { Editor().DeleteToLineEnd(); });
}

void TPageEditorView::ConvertSelection(const std::function<std::string(std::string_view)>& convert) {
  Edit([&] { Editor().ConvertSelection(convert); });
}

void TPageEditorView::CutToClipboard() {
  Edit([&] { Editor().CutToClipboard(); });
}

void TPageEditorView::PasteFromClipboard() {
  Edit([&] { Editor().PasteFromClipboard(); });
}

void TPageEditorView::PasteBoxFromClipboard() {
  Edit([&] { Editor().PasteBoxFromClipboard(); });
}

void TPageEditorView::SetBoxMode(bool box) {
  Editor().SetSelectionMode(box ? smBox : smLine);
  viewport()->update();
}

bool TPageEditorView::Find() {
  return Edit([&] { return Editor().Find(); });
}

bool TPageEditorView::FindNext() {
  return Edit([&] { return Editor().FindNext(); });
}

bool TPageEditorView::FindPrev() {
  return Edit([&] { return Editor().FindPrev(); });
}

bool TPageEditorView::Replace(std::string_view replacement, bool expandCrLf) {
  return Edit([&] { return Editor().Replace(replacement, expandCrLf); });
}

int TPageEditorView::ReplaceAll(std::string_view replacement, bool expandCrLf) {
  return Edit([&] { return Editor().ReplaceAll(replacement, expandCrLf); });
}

void TPageEditorView::SetHitSelLength(int length) {
  Edit([&] { Editor().SetHitSelLength(length); });
}

void TPageEditorView::HitToSelected() {
  Edit([&] { Editor().HitToSelected(); });
}

int TPageEditorView::LineCount() const { return Editor().Lines().GetCount(); }

std::string TPageEditorView::LineText(int row) const { return Editor().Lines().Get(row); }

void TPageEditorView::ReplaceLine(int row, std::string_view text) {
  Editor().Lines().Put(row, text);
  Editor().SetModified(true);
}

void TPageEditorView::DeleteLine(int row) {
  Editor().Lines().Delete(row);
  Editor().SetModified(true);
}

void TPageEditorView::InsertLine(int row, std::string_view text) {
  Editor().Lines().Insert(row, text);
  Editor().SetModified(true);
}

bool TPageEditorView::WindowKey(const QKeyEvent* event) const {
  // The main window's commands on these keys win over the editor's own
  // handling: delete line (Shift+Delete), delete to the line end
  // (Ctrl+Delete), to the start and the end (Ctrl+Home, Ctrl+End).
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  switch (event->key()) {
    case Qt::Key_Delete: return mods == Qt::ShiftModifier || mods == Qt::ControlModifier;
    case Qt::Key_Home:
    case Qt::Key_End: return mods == Qt::ControlModifier;
    default: return false;
  }
}

bool TPageEditorView::PageKey(QKeyEvent* event) {
  // Tab on a selection of several lines indents them, Shift+Tab unindents.
  const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
  if (!tab || !Editor().Selected() || ReadOnly()) return false;
  const bool shift = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
  if (!shift && SelText().find('\n') == std::string::npos) return false;
  Edit([&] {
    if (shift)
      Editor().SelTabUnIndent();
    else
      Editor().SelTabIndent();
  });
  return true;
}

}  // namespace nuv
