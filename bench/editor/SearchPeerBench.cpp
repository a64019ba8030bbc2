// Times the extended editor's search beside QPlainTextEdit's find and
// QScintilla's search on the same generated text in the same run: find next
// over a 10 MB page, replace all of a frequent word, and the find marks of
// the visible rows of a 1 MB wrapped line. With --smoke the text is small,
// the three editors' results are compared and no time is judged. Run with
// QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <Qsci/qsciscintilla.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "BenchText.h"
#include "BenchTiming.h"
#include "support/BenchVerdict.h"
#include "PeerEditors.h"
#include "base/Codec.h"
#include "editor/EditorEx.h"

namespace {

using nuv::bench::Best;
using nuv::bench::Seconds;
const auto Format = nuv::bench::Time;

int g_failures = 0;

void Expect(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "MISMATCH: %s\n", what);
  ++g_failures;
}

const char* const kFrequent = "editor";
const char* const kRare = "needle";

struct TPlain : nuv::bench::TPlainPeer {
  void Load(const QString& text, bool wrap) { SetText(text, wrap); }
  void Start() { edit.moveCursor(QTextCursor::Start); }
  int FindAll(const QString& word, int limit) {
    Start();
    int n = 0;
    while (n < limit && edit.find(word)) ++n;
    return n;
  }
  int ReplaceAll(const QString& word, const QString& with) {
    QTextCursor c(edit.document());
    c.beginEditBlock();
    int n = 0;
    for (QTextCursor hit = edit.document()->find(word, c); !hit.isNull(); hit = edit.document()->find(word, hit)) {
      hit.insertText(with);
      ++n;
    }
    c.endEditBlock();
    return n;
  }
  // Hits in the characters [from, to).
  int HitsIn(const QString& word, int from, int to) {
    QTextCursor c(edit.document());
    c.setPosition(from);
    int n = 0;
    for (QTextCursor hit = edit.document()->find(word, c); !hit.isNull() && hit.selectionEnd() <= to;
         hit = edit.document()->find(word, hit))
      ++n;
    return n;
  }
};

struct TScintilla : nuv::bench::TScintillaPeer {
  void Load(const std::string& utf8, bool wrap) {
    SetText(utf8, wrap);
    edit.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
  }
  int FindAll(const QString& word, int limit) {
    int n = 0;
    if (edit.findFirst(word, false, false, false, false, true, 0, 0)) {
      for (n = 1; n < limit && edit.findNext(); ++n) {
      }
    }
    return n;
  }
  // Hits of `word` in the bytes [from, to), by the target search.
  int Search(const char* word, long from, long to, bool replace, const char* with) {
    const long length = static_cast<long>(std::strlen(word));
    edit.SendScintilla(QsciScintillaBase::SCI_SETSEARCHFLAGS, 0);
    int n = 0;
    for (;;) {
      edit.SendScintilla(QsciScintillaBase::SCI_SETTARGETSTART, from);
      edit.SendScintilla(QsciScintillaBase::SCI_SETTARGETEND, to);
      const long at = edit.SendScintilla(QsciScintillaBase::SCI_SEARCHINTARGET, length, word);
      if (at < 0) break;
      ++n;
      if (replace) {
        const long added = edit.SendScintilla(QsciScintillaBase::SCI_REPLACETARGET, std::strlen(with), with);
        from = at + added;
        to += added - length;
      } else {
        from = at + length;
      }
    }
    return n;
  }
  int ReplaceAll(const char* word, const char* with) {
    // The widget's own reactions to each modification are switched off, the
    // most a program doing many replacements can do for speed.
    const long mask = edit.SendScintilla(QsciScintillaBase::SCI_GETMODEVENTMASK);
    edit.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, 0);
    edit.SendScintilla(QsciScintillaBase::SCI_BEGINUNDOACTION);
    const int n = Search(word, 0, edit.SendScintilla(QsciScintillaBase::SCI_GETLENGTH), true, with);
    edit.SendScintilla(QsciScintillaBase::SCI_ENDUNDOACTION);
    edit.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, mask);
    return n;
  }
  std::string Text() {
    const long length = edit.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    edit.SendScintilla(QsciScintillaBase::SCI_GETTEXT, length + 1, text.data());
    text.resize(static_cast<std::size_t>(length));
    return text;
  }
};

QString ToQString(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// Occurrences of an ASCII word in a text, case ignored, not overlapping.
int CountWord(std::string text, const std::string& word) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  int n = 0;
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + word.size())) ++n;
  return n;
}

struct TRow {
  const char* name;
  double ours, plain, scintilla;
  const char* target;  // "ahead" of both peers, or a limit in seconds
  double limit;
};

}  // namespace

int main(int argc, char** argv) {
  const bool smoke = argc > 1 && std::strcmp(argv[1], "--smoke") == 0;
  QApplication app(argc, argv);
  const std::size_t pageBytes = smoke ? (200u << 10) : (10u << 20);
  const std::size_t lineBytes = smoke ? (50u << 10) : (1u << 20);
  // The rare word stands once, near the end.
  std::string sjis = nuv::bench::MixedText(pageBytes, 52);
  sjis.insert(sjis.rfind("\r\n", sjis.size() - 3) + 2, std::string(kRare) + " ");
  const std::string utf8 = nuv::Cp932ToUtf8(sjis);
  const QString qtext = ToQString(utf8);
  const std::string lineSjis = nuv::bench::LongLine(lineBytes);
  const int frequent = CountWord(sjis, kFrequent);
  std::printf("text: %zu bytes Shift JIS, %d hits of \"%s\"; long line %zu bytes\n", sjis.size(), frequent, kFrequent,
              lineSjis.size());

  nuv::TEditorEx ours;
  nuv::TFixedMeasurer measurer;
  measurer.visibleRows = 40;
  ours.SetMeasurer(&measurer);
  TPlain plain;
  TScintilla sci;
  ours.Lines().SetTextStr(sjis);
  plain.Load(qtext, false);
  sci.Load(utf8, false);
  std::vector<TRow> rows;
  const int runs = smoke ? 1 : 3;

  // Find next: the rare word from the start (one scan of the page).
  ours.SetFindString(kRare);
  TRow rare{"find next, 1 hit at the end", 0, 0, 0, "ahead", 0};
  rare.ours = Best(runs, [&] { ours.SetSelStart(0); }, [&] { Expect(ours.FindNext(), "nuv finds the rare word"); });
  rare.plain = Best(runs, [&] { plain.Start(); }, [&] { Expect(plain.edit.find(kRare), "QPlainTextEdit finds it"); });
  rare.scintilla = Best(runs, [] {}, [&] { Expect(sci.FindAll(kRare, 1) == 1, "QScintilla finds it"); });
  rows.push_back(rare);

  // Find next through the first 1,000 hits of a frequent word.
  const int steps = std::min(1000, frequent);
  ours.SetFindString(kFrequent);
  int oursFound = 0, plainFound = 0, sciFound = 0;
  TRow next{"find next x1000, frequent word", 0, 0, 0, "ahead", 0};
  next.ours = Best(runs, [&] { ours.SetSelStart(0); }, [&] {
    oursFound = 0;
    while (oursFound < steps && ours.FindNext()) ++oursFound;
  });
  next.plain = Best(runs, [] {}, [&] { plainFound = plain.FindAll(kFrequent, steps); });
  next.scintilla = Best(runs, [] {}, [&] { sciFound = sci.FindAll(kFrequent, steps); });
  Expect(oursFound == steps && plainFound == steps && sciFound == steps, "find next counts agree");
  rows.push_back(next);
  if (smoke) {
    // Every hit, counted by each editor and independently.
    ours.SetSelStart(0);
    int all = 0;
    while (ours.FindNext()) ++all;
    Expect(all == frequent, "nuv finds every hit");
    Expect(plain.FindAll(kFrequent, 1 << 30) == frequent, "QPlainTextEdit finds every hit");
    Expect(sci.FindAll(kFrequent, 1 << 30) == frequent, "QScintilla finds every hit");
  }

  // Replace all, one undo step each.
  int oursReplaced = 0, plainReplaced = 0, sciReplaced = 0;
  TRow replace{"replace all, frequent word", 0, 0, 0, "ahead", 0};
  replace.ours = Seconds([&] { oursReplaced = ours.ReplaceAll("EDITOR!", false); });
  replace.plain = Seconds([&] { plainReplaced = plain.ReplaceAll(kFrequent, "EDITOR!"); });
  replace.scintilla = Seconds([&] { sciReplaced = sci.ReplaceAll(kFrequent, "EDITOR!"); });
  Expect(oursReplaced == frequent && plainReplaced == frequent && sciReplaced == frequent, "replace counts agree");
  if (smoke) Expect(nuv::Cp932ToUtf8(ours.List().ListToStr()) == sci.Text(), "replaced texts agree");
  rows.push_back(replace);

  // Find marks of the visible rows of a 1 MB wrapped line, from a fresh
  // change (the line is searched once, then each row is cut from it).
  ours.SetWordWrap(true);
  ours.Lines().SetTextStr(lineSjis);
  const QString qline = ToQString(nuv::Cp932ToUtf8(lineSjis));
  plain.Load(qline, true);
  sci.Load(nuv::Cp932ToUtf8(lineSjis), true);
  ours.SetFindString(kFrequent);
  const int top = ours.GetListCount() / 2, visible = measurer.VisibleRows();
  int marked = 0;
  TRow marks{"find marks, 40 rows of a 1 MB line", 0, 0, 0, "limit", 0.005};
  marks.ours = Best(runs, [&] { ours.SetFindString(""); ours.SetFindString(kFrequent); }, [&] {
    marked = 0;
    for (int r = top; r < top + visible; ++r) marked += ours.SearchLine(r);
  });
  // The peers search the characters of the same rows (80 columns each).
  const std::string visibleSjis = ours.List().ListInfo(top, visible);
  const std::string before = ours.List().ListInfo(0, top);
  const int from = static_cast<int>(ToQString(nuv::Cp932ToUtf8(before)).size());
  const int to = from + static_cast<int>(ToQString(nuv::Cp932ToUtf8(visibleSjis)).size());
  const long fromBytes = static_cast<long>(nuv::Cp932ToUtf8(before).size());
  const long toBytes = fromBytes + static_cast<long>(nuv::Cp932ToUtf8(visibleSjis).size());
  int plainHits = 0, sciHits = 0;
  marks.plain = Best(runs, [] {}, [&] { plainHits = plain.HitsIn(kFrequent, from, to); });
  marks.scintilla = Best(runs, [] {}, [&] { sciHits = sci.Search(kFrequent, fromBytes, toBytes, false, nullptr); });
  if (smoke) {
    // Every hit of the line is marked, over exactly its columns.
    int segments = 0, columns = 0;
    for (int r = 0; r < ours.GetListCount(); ++r) {
      segments += ours.SearchLine(r);
      for (const nuv::TFindSegment& s : ours.FindSegments()) columns += s.Length;
    }
    const int hits = CountWord(lineSjis, kFrequent);
    Expect(columns == hits * static_cast<int>(std::strlen(kFrequent)), "find marks cover every hit of the line");
    Expect(segments >= hits, "a hit across rows has a mark on each");
    Expect(plainHits == sciHits && marked >= plainHits, "visible hits agree");
  }
  rows.push_back(marks);

  std::printf("%-38s %10s %14s %11s %9s %9s  %s\n", "operation", "nuv", "QPlainTextEdit", "QScintilla", "vs Plain",
              "vs Scint", "target");
  for (const TRow& r : rows) {
    std::string verdict;
    const bool ahead = std::strcmp(r.target, "ahead") == 0;
    const bool met = ahead ? r.ours < r.plain && r.ours < r.scintilla : r.ours <= r.limit;
    if (ahead) {
      verdict = std::string("ahead of both: ") + (met ? "met" : "NOT MET");
    } else {
      verdict = "<= " + Format(r.limit) + ": " + (met ? "met" : "NOT MET");
    }
    nuv::bench::Judge("bench_editor_search_peers", std::string(r.name) + " (peers: QPlainTextEdit, QScintilla)",
                      Format(r.ours), Format(r.plain) + ", " + Format(r.scintilla),
                      nuv::bench::Ratio(r.plain / r.ours) + ", " + nuv::bench::Ratio(r.scintilla / r.ours),
                      ahead ? "ahead of both" : "at most " + Format(r.limit), met, smoke);
    std::printf("%-38s %10s %14s %11s %8.1fx %8.1fx  %s\n", r.name, Format(r.ours).c_str(), Format(r.plain).c_str(),
                Format(r.scintilla).c_str(), r.plain / r.ours, r.scintilla / r.ours, smoke ? "(smoke)" : verdict.c_str());
  }
  if (g_failures > 0) {
    std::fprintf(stderr, "%d mismatches\n", g_failures);
    return 1;
  }
  return 0;
}
