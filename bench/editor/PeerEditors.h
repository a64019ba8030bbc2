// The two peer editors the editor benchmarks run beside, shown at 80
// columns: QPlainTextEdit and QScintilla with a text set in their own encoding.
#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <Qsci/qsciscintilla.h>

#include <string>

namespace nuv::bench {

struct TPlainPeer {
  QPlainTextEdit edit;
  TPlainPeer() {
    edit.resize(80 * edit.fontMetrics().horizontalAdvance('x') + 40, 600);
    edit.show();
  }
  void SetText(const QString& text, bool wrap) {
    edit.setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    edit.setPlainText(text);
  }
};

struct TScintillaPeer {
  QsciScintilla edit;
  TScintillaPeer() {
    edit.setUtf8(true);
    edit.resize(80 * edit.fontMetrics().horizontalAdvance('x') + 40, 600);
    edit.show();
  }
  void SetText(const std::string& utf8, bool wrap) {
    edit.setWrapMode(wrap ? QsciScintilla::WrapCharacter : QsciScintilla::WrapNone);
    edit.SendScintilla(QsciScintillaBase::SCI_SETTEXT, utf8.c_str());
  }
};

}  // namespace nuv::bench
