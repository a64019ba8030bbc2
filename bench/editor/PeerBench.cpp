// Times the editor core beside QPlainTextEdit and QScintilla on the same
// generated text in the same run, and prints one table with the ratios.
// Each peer gets the text in its own encoding (converted before timing);
// single keys are the median of many runs. Run with QT_QPA_PLATFORM=offscreen.
// Checks that the three editors hold the same number of lines after loading.
// Targets: every figure ahead of both peers; load with wrap at most 0.5 s, a
// typed character at most 50 us, a key in a 1 MB wrapped line at most 20 ms,
// undo of one character at most 100 us. --smoke runs on texts 64 times
// smaller.
#include <QApplication>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QThread>
#include <Qsci/qsciscintilla.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchText.h"
#include "BenchTiming.h"
#include "PeerEditors.h"
#include "base/Codec.h"
#include "editor/Editor.h"
#include "support/BenchVerdict.h"

namespace {

using nuv::bench::Median;
using nuv::bench::Seconds;

struct TRow {
  std::string name;
  double ours = 0, plain = 0, scintilla = 0;
};

// ---- the editor core ------------------------------------------------------

struct TOurs {
  nuv::TEditor editor;
  void Load(const std::string& sjis, bool wrap) {
    editor.SetWordWrap(wrap);
    editor.Lines().SetTextStr(sjis);
  }
  void GoMiddle() { editor.SetRowCol(editor.List().GetCount() / 2, 2); }
};

// ---- QPlainTextEdit ----------------------------------------------------------

struct TPlain : nuv::bench::TPlainPeer {
  void Load(const QString& text, bool wrap) {
    SetText(text, wrap);
    if (wrap) LayOutAll();
  }
  // Wrapping is lazy: lay out every block so the whole text is wrapped.
  void LayOutAll() {
    QAbstractTextDocumentLayout* layout = edit.document()->documentLayout();
    for (QTextBlock b = edit.document()->begin(); b.isValid(); b = b.next()) layout->blockBoundingRect(b);
  }
  void GoMiddle() {
    QTextCursor c(edit.document()->findBlockByNumber(edit.document()->blockCount() / 2));
    c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 2);
    edit.setTextCursor(c);
  }
};

// ---- QScintilla ----------------------------------------------------------------

struct TScintilla : nuv::bench::TScintillaPeer {
  void Load(const std::string& utf8, bool wrap) {
    SetText(utf8, wrap);
    if (wrap) WrapAll();
  }
  long LastDisplayLine() {
    const long lines = edit.SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT);
    return edit.SendScintilla(QsciScintillaBase::SCI_VISIBLEFROMDOCLINE, lines - 1);
  }
  // Asking for the last line's display line wraps what it needs at once.
  void WrapAll() { LastDisplayLine(); }
  // Wrapping after a resize goes on in idle time: process events until the
  // last line's display line reaches `target` (known from an untimed run).
  void WrapUntil(long target) {
    while (LastDisplayLine() != target) QApplication::processEvents();
  }
  // Untimed: waits until the display lines stop changing.
  long SettledWrap() {
    long last = -1;
    for (int stable = 0; stable < 20;) {
      QApplication::processEvents();
      QThread::msleep(20);
      const long now = LastDisplayLine();
      stable = now == last ? stable + 1 : 0;
      last = now;
    }
    return last;
  }
  void SetColumns(int columns) { edit.resize(columns * edit.fontMetrics().horizontalAdvance('x') + 40, 600); }
  void GoMiddle() {
    const long line = edit.SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT) / 2;
    const long pos = edit.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    edit.SendScintilla(QsciScintillaBase::SCI_GOTOPOS, pos + 2);
  }
  void Type(const char* s) { edit.SendScintilla(QsciScintillaBase::SCI_ADDTEXT, std::strlen(s), s); }
};

void Print(const std::vector<TRow>& rows) {
  std::printf("%-34s %12s %14s %12s %9s %9s\n", "operation", "nuv", "QPlainTextEdit", "QScintilla", "vs Plain", "vs Scint");
  for (const TRow& r : rows) {
    auto f = [](double s) { return nuv::bench::Time(s); };
    std::printf("%-34s %12s %14s %12s %8.1fx %8.1fx\n", r.name.c_str(), f(r.ours).c_str(), f(r.plain).c_str(), f(r.scintilla).c_str(),
                r.plain / r.ours, r.scintilla / r.ours);
  }
}

}  // namespace

int main(int argc, char** argv) {
  nuv::bench::TVerdict verdict("bench_editor_peers", argc, argv);
  QApplication app(argc, argv);
  const std::size_t megabyte = verdict.Smoke() ? std::size_t{1} << 14 : std::size_t{1} << 20;
  const std::string sjis = nuv::bench::MixedText(10 * megabyte, 52);
  const std::string utf8 = nuv::Cp932ToUtf8(sjis);
  const QString qtext = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  const std::string lineSjis = nuv::bench::LongLine(megabyte);
  const std::string lineUtf8 = nuv::Cp932ToUtf8(lineSjis);
  const QString qline = QString::fromUtf8(lineUtf8.data(), static_cast<qsizetype>(lineUtf8.size()));
  const std::string pasteSjis = nuv::bench::MixedText(megabyte, 52);
  const std::string pasteUtf8 = nuv::Cp932ToUtf8(pasteSjis);
  const QString qpaste = QString::fromUtf8(pasteUtf8.data(), static_cast<qsizetype>(pasteUtf8.size()));
  std::printf("text: %zu bytes Shift JIS, %d lines; long line %zu bytes\n", sjis.size(),
              static_cast<int>(std::count(sjis.begin(), sjis.end(), '\n')), lineSjis.size());

  std::vector<TRow> rows;
  TOurs ours;
  TPlain plain;
  TScintilla sci;
  const int runs = verdict.Smoke() ? 5 : 101;

  rows.push_back({"load 10 MB, no wrap", Seconds([&] { ours.Load(sjis, false); }),
                  Seconds([&] { plain.Load(qtext, false); }), Seconds([&] { sci.Load(utf8, false); })});
  rows.push_back({"load 10 MB, wrap at 80", Seconds([&] { ours.Load(sjis, true); }),
                  Seconds([&] { plain.Load(qtext, true); }), Seconds([&] { sci.Load(utf8, true); })});
  const long lines = ours.editor.Lines().GetCount(), plainLines = plain.edit.document()->blockCount(),
             sciLines = sci.edit.SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT);
  std::printf("lines: nuv %ld, QPlainTextEdit %ld, QScintilla %ld\n", lines, plainLines, sciLines);
  // After a final line break the peers count one more, empty line.
  const long empty = !sjis.empty() && sjis.back() == '\n' ? 1 : 0;
  verdict.Check(lines + empty == plainLines && lines + empty == sciLines,
                "the three editors hold the same number of lines");

  TRow type{"type a character in the middle"};
  type.ours = Median(runs, [&] { ours.GoMiddle(); }, [&] { ours.editor.KeyPress('x'); });
  type.plain = Median(runs, [&] { plain.GoMiddle(); }, [&] { plain.edit.textCursor().insertText("x"); });
  type.scintilla = Median(runs, [&] { sci.GoMiddle(); }, [&] { sci.Type("x"); });
  rows.push_back(type);

  TRow undo{"undo of that character"};
  undo.ours = Median(runs, [&] { ours.GoMiddle(); ours.editor.KeyPress('x'); }, [&] { ours.editor.Undo(); });
  undo.plain = Median(runs, [&] { plain.GoMiddle(); plain.edit.textCursor().insertText("x"); }, [&] { plain.edit.undo(); });
  undo.scintilla = Median(runs, [&] { sci.GoMiddle(); sci.Type("x"); }, [&] { sci.edit.undo(); });
  rows.push_back(undo);

  TRow ret{"Return in the middle"};
  ret.ours = Median(runs, [&] { ours.GoMiddle(); }, [&] { ours.editor.KeyDown(nuv::TEditorKey::Return); });
  ret.plain = Median(runs, [&] { plain.GoMiddle(); }, [&] { plain.edit.textCursor().insertText("\n"); });
  ret.scintilla = Median(runs, [&] { sci.GoMiddle(); }, [&] { sci.edit.SendScintilla(QsciScintillaBase::SCI_NEWLINE); });
  rows.push_back(ret);

  TRow pasteUndo{"undo of a 1 MB paste"};
  pasteUndo.ours = Median(5, [&] { ours.GoMiddle(); ours.editor.PutStringToLine(pasteSjis); }, [&] { ours.editor.Undo(); });
  pasteUndo.plain = Median(5, [&] { plain.GoMiddle(); plain.edit.textCursor().insertText(qpaste); }, [&] { plain.edit.undo(); });
  pasteUndo.scintilla = Median(5, [&] { sci.GoMiddle(); sci.Type(pasteUtf8.c_str()); }, [&] { sci.edit.undo(); });
  rows.push_back(pasteUndo);

  TRow end{"Ctrl+End"};
  end.ours = Median(runs, [&] { ours.editor.SetRowCol(0, 0); },
                    [&] { ours.editor.KeyDown(nuv::TEditorKey::End, {false, true, false}); });
  end.plain = Median(runs, [&] { plain.edit.moveCursor(QTextCursor::Start); }, [&] { plain.edit.moveCursor(QTextCursor::End); });
  end.scintilla = Median(runs, [&] { sci.edit.SendScintilla(QsciScintillaBase::SCI_DOCUMENTSTART); },
                         [&] { sci.edit.SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND); });
  rows.push_back(end);

  TRow rewrap{"re-wrap after a width change"};
  rewrap.ours = Seconds([&] { ours.editor.WrapOption().SetWrapByte(60); });
  rewrap.plain = Seconds([&] {
    plain.edit.resize(60 * plain.edit.fontMetrics().horizontalAdvance('x') + 40, 600);
    QApplication::processEvents();
    plain.LayOutAll();
  });
  sci.SetColumns(60);
  const long wrapped60 = sci.SettledWrap();
  sci.SetColumns(80);
  sci.SettledWrap();
  rewrap.scintilla = Seconds([&] {
    sci.SetColumns(60);
    sci.WrapUntil(wrapped60);
  });
  rows.push_back(rewrap);

  ours.Load(lineSjis, true);
  plain.Load(qline, true);
  sci.Load(lineUtf8, true);
  TRow longLine{"key in a 1 MB wrapped line"};
  longLine.ours = Median(21, [&] { ours.GoMiddle(); }, [&] { ours.editor.KeyPress('x'); });
  longLine.plain = Median(21, [&] {
    QTextCursor c(plain.edit.document());
    c.setPosition(plain.edit.document()->characterCount() / 2);
    plain.edit.setTextCursor(c);
  }, [&] { plain.edit.textCursor().insertText("x"); plain.LayOutAll(); });
  longLine.scintilla = Median(21, [&] {
    sci.edit.SendScintilla(QsciScintillaBase::SCI_GOTOPOS, sci.edit.SendScintilla(QsciScintillaBase::SCI_GETLENGTH) / 2);
  }, [&] { sci.Type("x"); sci.WrapAll(); });
  rows.push_back(longLine);

  Print(rows);
  for (const TRow& r : rows) {
    verdict.Target(r.name + " vs QPlainTextEdit", nuv::bench::Time(r.ours), nuv::bench::Time(r.plain),
                   nuv::bench::Ratio(r.plain / r.ours), "ahead of the peer", r.ours < r.plain);
    verdict.Target(r.name + " vs QScintilla", nuv::bench::Time(r.ours), nuv::bench::Time(r.scintilla),
                   nuv::bench::Ratio(r.scintilla / r.ours), "ahead of the peer", r.ours < r.scintilla);
  }
  const struct {
    std::size_t row;
    double limit;
    const char* target;
  } limits[] = {{1, 0.5, "at most 0.5 s"}, {2, 50e-6, "at most 50 us"}, {3, 100e-6, "at most 100 us"},
                {rows.size() - 1, 20e-3, "at most 20 ms"}};
  for (const auto& l : limits) {
    verdict.Target(rows[l.row].name, nuv::bench::Time(rows[l.row].ours), "-", "-", l.target,
                   rows[l.row].ours <= l.limit);
  }
  return verdict.Finish();
}
