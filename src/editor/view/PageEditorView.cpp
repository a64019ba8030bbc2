// The page editor widget: body text, byte offsets and the system clipboard.
#include "editor/view/PageEditorView.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>

#include "base/Codec.h"
#include "base/Sjis.h"
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

TPageEditorView::TPageEditorView(QWidget* parent) : TEditorView(parent) {}

template <typename F>
void TPageEditorView::Edit(F&& edit) {
  Editor().CaretBeginUpdate();
  edit();
  Editor().ScrollCaret();
  Editor().CaretEndUpdate();
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

void TPageEditorView::CopyToClipboard() {
  if (!Editor().Selected()) return;
  const std::string text = Editor().SelText();
  auto* data = new QMimeData;
  data->setText(ToUnicodeLf(text));
  data->setData(kSjisTextMime, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  QApplication::clipboard()->setMimeData(data);
}

void TPageEditorView::CutToClipboard() {
  if (!Editor().Selected() || ReadOnly()) return;
  CopyToClipboard();
  DeleteSelection();
}

bool TPageEditorView::CanPaste() const {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return !ReadOnly() && data && (data->hasText() || data->hasFormat(kSjisTextMime));
}

void TPageEditorView::PasteFromClipboard() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (!data || ReadOnly()) return;
  std::string sjis;
  if (data->hasFormat(kSjisTextMime)) {
    // Our own bytes: exactly what was copied, no round trip through Unicode.
    const QByteArray bytes = data->data(kSjisTextMime);
    sjis.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  } else if (data->hasText()) {
    // Text of other programs is refused whole when a character has no code.
    if (!Encode(data->text(), sjis, true)) return;
  } else {
    return;
  }
  // A NUL would end the text when it is read back.
  sjis.erase(std::remove(sjis.begin(), sjis.end(), '\0'), sjis.end());
  InsertAtCaret(WithCrLf(sjis));
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

bool TPageEditorView::PageKey(QKeyEvent* event) {
  const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
  if (!tab || !Editor().Selected() || ReadOnly()) return false;
  const bool shift = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
  if (!shift && SelText().find('\n') == std::string::npos) return false;
  IndentSelectedLines(shift);
  return true;
}

void TPageEditorView::IndentSelectedLines(bool unindent) {
  TEditor& editor = Editor();
  const TEditorScreenStrings& list = editor.List();
  const int rows = list.GetCount();
  int first = std::min(editor.AnchorRow(), editor.Row());
  int last = std::max(editor.AnchorRow(), editor.Row());
  const int lastCol = editor.Row() == last ? editor.Col() : editor.AnchorCol();
  // A selection that ends at the start of a line does not take that line.
  if (last > first && lastCol == 0) --last;
  last = std::min(last, rows - 1);
  if (first > last) return;
  first = list.RowStart(first);
  last = list.RowEnd(last);
  std::string text = list.ListInfo(first, last - first + 1);
  const bool crlf = text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
  if (crlf) text.resize(text.size() - 2);
  std::string changed;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = std::min(text.find("\r\n", start), text.size());
    std::string_view line(text.data() + start, end - start);
    if (!unindent) {
      changed += '\t';
    } else if (!line.empty() && (line[0] == '\t' || line[0] == ' ')) {
      line.remove_prefix(1);
    } else if (line.size() >= 2 && line.substr(0, 2) == "\x81\x40") {
      line.remove_prefix(2);
    }
    changed += line;
    if (end >= text.size()) break;
    changed += "\r\n";
    start = end + 2;
  }
  const std::int64_t from = editor.GetSelIndex(0, first, 0);
  Edit([&] {
    editor.SetSelStart(from);
    editor.SetSelLength(static_cast<std::int64_t>(text.size()));
    editor.SetSelText(changed);
    editor.SetSelStart(from);
    editor.SetSelLength(static_cast<std::int64_t>(changed.size()));
  });
}

}  // namespace nuv
