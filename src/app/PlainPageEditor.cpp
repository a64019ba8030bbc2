// The plain page text pane.
//
// The pane holds "\n" line ends; the body form holds CR LF after every line.
// Byte offsets are counted in the body form, so the selection start a record
// keeps means the same place whichever editor shows the page.
#include "app/PlainPageEditor.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>

#include "app/QtText.h"
#include "base/Sjis.h"

namespace nuv {

TPlainPageEditor::TPlainPageEditor(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName("edxnuv");
  setTabChangesFocus(false);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

std::string TPlainPageEditor::Text() const {
  const QString plain = toPlainText();
  if (plain.isEmpty()) return std::string();
  std::string sjis = ToSjisOrEmpty(plain);
  std::string body;
  body.reserve(sjis.size() + sjis.size() / 16 + 2);
  for (char c : sjis) {
    if (c == '\n') body += '\r';
    body += c;
  }
  if (body.size() < 2 || body.compare(body.size() - 2, 2, "\r\n") != 0) body += "\r\n";
  return body;
}

void TPlainPageEditor::SetText(std::string_view text) {
  // CR LF, CR and LF all become one line end in the pane.
  std::string lf;
  lf.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      lf += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      lf += text[i];
    }
  }
  // Showing a text is no edit: the window must not hear of it as a change.
  const QSignalBlocker block(this);
  setPlainText(ToQString(lf));
  document()->setModified(false);
  moveCursor(QTextCursor::Start);
}

bool TPlainPageEditor::Modified() const { return document()->isModified(); }

void TPlainPageEditor::SetModified(bool modified) { document()->setModified(modified); }

int TPlainPageEditor::ByteOffsetOf(int position) const {
  const QString prefix = toPlainText().left(position);
  const std::string sjis = ToSjisOrEmpty(prefix);
  return static_cast<int>(sjis.size()) + static_cast<int>(prefix.count(QLatin1Char('\n')));
}

int TPlainPageEditor::PositionOfByte(int offset) const {
  const std::string body = Text();
  std::size_t end = static_cast<std::size_t>(std::clamp(offset, 0, static_cast<int>(body.size())));
  end = end < body.size() ? CharStart(body, end) : end;
  std::string prefix = body.substr(0, end);
  std::string lf;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (!(prefix[i] == '\r' && i + 1 < prefix.size() && prefix[i + 1] == '\n')) lf += prefix[i];
  return std::min(static_cast<int>(ToQString(lf).size()), static_cast<int>(toPlainText().size()));
}

int TPlainPageEditor::SelStart() const { return ByteOffsetOf(textCursor().selectionStart()); }

int TPlainPageEditor::SelLength() const {
  const QTextCursor c = textCursor();
  return ByteOffsetOf(c.selectionEnd()) - ByteOffsetOf(c.selectionStart());
}

void TPlainPageEditor::SetSelection(int start, int length) {
  QTextCursor c = textCursor();
  const int from = PositionOfByte(start);
  c.setPosition(from);
  if (length > 0) c.setPosition(PositionOfByte(start + length), QTextCursor::KeepAnchor);
  setTextCursor(c);
  ensureCursorVisible();
}

std::string TPlainPageEditor::SelText() const {
  std::string sjis = ToSjisOrEmpty(textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')));
  std::string out;
  for (char c : sjis) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

int TPlainPageEditor::CaretRow() const { return textCursor().blockNumber(); }

int TPlainPageEditor::CaretCol() const {
  const QTextCursor c = textCursor();
  return static_cast<int>(ToSjisOrEmpty(c.block().text().left(c.positionInBlock())).size());
}

void TPlainPageEditor::InsertAtCaret(std::string_view text) {
  std::string lf;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lf += text[i] == '\r' ? '\n' : text[i];
  textCursor().insertText(ToQString(lf));
}

bool TPlainPageEditor::CanUndo() const { return document()->isUndoAvailable(); }
void TPlainPageEditor::Undo() { undo(); }
bool TPlainPageEditor::CanRedo() const { return document()->isRedoAvailable(); }
void TPlainPageEditor::Redo() { redo(); }

void TPlainPageEditor::SetOverwrite(bool overwrite) {
  if (overwrite == overwriteMode()) return;
  setOverwriteMode(overwrite);
  emit OverwriteToggled(overwrite);
}

bool TPlainPageEditor::Accepts(const QString& text) {
  if (text.isEmpty() || ToSjis(text)) return true;
  if (m_onRefused) m_onRefused();
  return false;
}

void TPlainPageEditor::IndentSelectedLines(bool unindent) {
  QTextCursor c = textCursor();
  const int first = document()->findBlock(c.selectionStart()).blockNumber();
  int last = document()->findBlock(c.selectionEnd()).blockNumber();
  // A selection that ends at the start of a line does not take that line.
  if (last > first && document()->findBlock(c.selectionEnd()).position() == c.selectionEnd()) --last;
  c.beginEditBlock();
  for (int n = first; n <= last; ++n) {
    QTextCursor line(document()->findBlockByNumber(n));
    if (!unindent) {
      line.insertText(QStringLiteral("\t"));
    } else {
      const QString text = line.block().text();
      if (text.startsWith(QLatin1Char('\t')) || text.startsWith(QLatin1Char(' '))) line.deleteChar();
    }
  }
  c.endEditBlock();
}

void TPlainPageEditor::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Tab && (event->modifiers() & Qt::ControlModifier)) {
    emit CtrlTabPressed();
    return;
  }
  if (event->key() == Qt::Key_Backtab || (event->key() == Qt::Key_Tab && textCursor().hasSelection())) {
    const bool shift = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
    if (shift || textCursor().selectedText().contains(QChar::ParagraphSeparator)) {
      IndentSelectedLines(shift);
      return;
    }
  }
  if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
    SetOverwrite(!overwriteMode());
    return;
  }
  if (!Accepts(event->text())) return;
  QPlainTextEdit::keyPressEvent(event);
}

void TPlainPageEditor::inputMethodEvent(QInputMethodEvent* event) {
  if (!Accepts(event->commitString())) {
    QInputMethodEvent cleared(event->preeditString(), event->attributes());
    QPlainTextEdit::inputMethodEvent(&cleared);
    return;
  }
  QPlainTextEdit::inputMethodEvent(event);
}

void TPlainPageEditor::insertFromMimeData(const QMimeData* source) {
  if (source->hasText() && !Accepts(source->text())) return;
  QPlainTextEdit::insertFromMimeData(source);
}

void TPlainPageEditor::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  emit FocusLost();
}

}  // namespace nuv
