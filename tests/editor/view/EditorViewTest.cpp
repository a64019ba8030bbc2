// The editor widget painted offscreen into an image: where glyphs and marks
// land on the column grid, the line-number bar, the cut at 1000 columns, the
// input method's composition, find hits, and repaints from the row cache.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <functional>

#include "base/Codec.h"
#include "editor/view/EditorView.h"

namespace nuv::test {
namespace {

constexpr TViewColor kRed = 0x0000FF;
constexpr TViewColor kBlue = 0xFF0000;

class EditorViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view.resize(640, 240);
    view.View().SetScrollBars(TScrollBars::None);
    view.View().Imagebar.SetVisible(false);
  }
  void SetText(std::string_view sjis) {
    view.Editor().Lines().SetTextStr(sjis);
    view.Refresh();
  }
  QImage Paint() {
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    view.PaintTo(painter, image.rect());
    return image;
  }
  // x of text column `col` and y of the first row.
  int X(int col) const { return view.Geometry().LeftMargin + (col - view.Editor().TopCol()) * view.Geometry().ColumnWidth; }
  int Y(int row) const { return view.Geometry().TopMargin + row * view.Geometry().RowHeight; }
  // Pixels in [x0, x1) of `row` that satisfy `is`.
  template <typename F>
  int Count(const QImage& image, int row, int x0, int x1, F is) const {
    int n = 0;
    for (int y = Y(row); y < Y(row) + view.Geometry().RowHeight; ++y)
      for (int x = std::max(0, x0); x < std::min(x1, image.width()); ++x) n += is(image.pixelColor(x, y)) ? 1 : 0;
    return n;
  }
  static bool Dark(const QColor& c) { return c.lightness() < 128; }
  static bool Reddish(const QColor& c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; }
  static bool Bluish(const QColor& c) { return c.blue() > 200 && c.red() < 80 && c.green() < 80; }

  TEditorView view;
};

TEST_F(EditorViewTest, EveryByteTakesOneColumnWhateverTheFont) {
  // A proportional font: narrow "i" and wide "W" still stand on the grid.
  view.View().SetFontName("DejaVu Sans");
  SetText(SjisFromLiteral("iiあW"));
  const QImage image = Paint();
  const int cw = view.Geometry().ColumnWidth;
  EXPECT_GT(Count(image, 0, X(2), X(4), Dark), 0);       // the double-byte character
  EXPECT_GT(Count(image, 0, X(2) + cw, X(4), Dark), 0);  // reaches into its second column
  EXPECT_GT(Count(image, 0, X(4), X(5) + 2, Dark), 0);   // W in column 4
  EXPECT_GT(Count(image, 0, X(0), X(1), Dark), 0);  // each narrow i in a cell of its own
  EXPECT_GT(Count(image, 0, X(1), X(2), Dark), 0);
  EXPECT_EQ(Count(image, 0, X(6), image.width(), Dark), 0);  // a wide W may overhang its cell, no further
}

TEST_F(EditorViewTest, AnEmptyPageShowsTheEndMarkAtColumnZero) {
  view.View().Marks.EofMark.SetVisible(true);
  view.View().Marks.EofMark.SetColor(kRed);
  SetText("");
  QImage image = Paint();
  EXPECT_GT(Count(image, 0, X(0), X(6), Reddish), 0);
  EXPECT_EQ(Count(image, 1, 0, image.width(), Reddish), 0);
  // After a final line break the mark stands on the row below the text.
  SetText("ab\r\n");
  image = Paint();
  EXPECT_EQ(Count(image, 0, 0, image.width(), Reddish), 0);
  EXPECT_GT(Count(image, 1, X(0), X(6), Reddish), 0);
}

TEST_F(EditorViewTest, ARowCutAtTheColumnLimitShowsTheHideMarkNotTheReturnMark) {
  view.View().Marks.HideMark.SetVisible(true);
  view.View().Marks.HideMark.SetColor(kBlue);
  view.View().Marks.RetMark.SetVisible(true);
  view.View().Marks.RetMark.SetColor(kRed);
  SetText(std::string(1500, 'x') + "\r\nshort\r\n");
  view.Editor().SetTopCol(TEditor::kMaxCol);
  const QImage image = Paint();
  const int cw = view.Geometry().ColumnWidth;
  ASSERT_LT(X(TEditor::kMaxCol), image.width());
  EXPECT_GT(Count(image, 0, X(TEditor::kMaxCol), X(TEditor::kMaxCol) + cw + 2, Bluish), 0);
  EXPECT_EQ(Count(image, 0, 0, image.width(), Reddish), 0);
  EXPECT_EQ(Count(image, 0, X(TEditor::kMaxCol) + 1, image.width(), Dark), 0);  // no text past the limit
  EXPECT_GT(Count(image, 0, X(TEditor::kMaxCol - 3), X(TEditor::kMaxCol), Dark), 0);
}

TEST_F(EditorViewTest, TheLineNumberBarWidensAtTenThousandLines) {
  view.View().Leftbar.SetVisible(true);
  view.View().Leftbar.SetShowNumberMode(TEditorShowNumberMode::nmLine);
  std::string text;
  for (int i = 0; i < 9999; ++i) text += "a\r\n";
  text.resize(text.size() - 2);  // 9999 lines, the last without a line break
  SetText(text);
  const int before = view.Geometry().LeftMargin;
  EXPECT_EQ(view.Geometry().LeftbarDigits, 4);
  view.Editor().SetRowCol(9998, 1);
  view.Editor().KeyDown(TEditorKey::Return);  // the caret's row after the final break is line 10000
  EXPECT_EQ(view.Geometry().LeftbarDigits, 5);
  EXPECT_EQ(view.Geometry().LeftMargin - before, view.Geometry().ColumnWidth);
  view.Editor().SetTopRow(0);
  const QImage image = Paint();
  EXPECT_EQ(Count(image, 0, X(0) - view.Geometry().ColumnWidth, X(0) - view.Editor().Margin().Left(), Dark), 0);
  EXPECT_GT(Count(image, 0, X(0), X(1), Dark), 0);
}

TEST_F(EditorViewTest, TheCompositionIsDrawnUnderlinedAtTheCaret) {
  SetText("ab\r\n");
  view.Editor().SetRowCol(0, 2);
  const QImage plain = Paint();
  EXPECT_EQ(Count(plain, 0, X(2), X(8), Dark), 0);
  QInputMethodEvent compose(QString::fromUtf8("にほん"), {});
  QApplication::sendEvent(&view, &compose);
  const QImage composing = Paint();
  EXPECT_GT(Count(composing, 0, X(2), X(8), Dark), 0);
  EXPECT_EQ(Count(composing, 0, X(8) + 1, composing.width(), Dark), 0);
  EXPECT_EQ(view.Editor().Lines().GetTextStr(), "ab\r\n");  // nothing is typed yet
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf8("日本"));
  QApplication::sendEvent(&view, &commit);
  EXPECT_EQ(view.Editor().Lines().GetTextStr(), SjisFromLiteral("ab日本\r\n"));
  EXPECT_TRUE(view.PreeditText().isEmpty());
}

TEST_F(EditorViewTest, ASelectionOfColourNoneIsInverseVideo) {
  SetText("abc\r\n");
  view.ViewFountain().Colors().Select.SetColor(kViewColorNone);
  view.ViewFountain().Colors().Select.SetBkColor(kViewColorNone);
  view.Editor().SetSelStart(0);
  view.Editor().SetSelLength(2);
  const QImage image = Paint();
  EXPECT_GT(Count(image, 0, X(0), X(2), Dark), view.Geometry().ColumnWidth * view.Geometry().RowHeight);
  EXPECT_LT(Count(image, 0, X(2), X(3), Dark), view.Geometry().ColumnWidth * view.Geometry().RowHeight / 2);
}

TEST_F(EditorViewTest, AFindHitThatWrapsIsDrawnInTheHitColourOnBothRows) {
  view.Editor().WrapOption().SetWrapByte(20);
  view.Editor().SetWordWrap(true);
  view.ViewFountain().Colors().Hit.SetBkColor(kRed);
  view.ViewFountain().Colors().Hit.SetColor(kBlue);
  SetText("aaaaaaaaaaaaaaaaaHITWORDbbb\r\n");
  ASSERT_EQ(view.Editor().GetListCount(), 2);  // 17 a and "HIT", then "WORDbbb"
  view.Editor().SetHitStyle(hsDraw);  // hits in their own colours, not as a selection
  view.Editor().SetFindString("HITWORD");
  ASSERT_TRUE(view.Editor().Find());
  // The widget as the window system would have it painted.
  const QImage image = view.viewport()->grab().toImage();
  const int cells = view.Geometry().ColumnWidth * view.Geometry().RowHeight;
  EXPECT_GT(Count(image, 0, X(17), X(20), Reddish), 3 * cells / 2);  // "HIT" at the end of the first row
  EXPECT_EQ(Count(image, 0, X(0), X(17), Reddish), 0);
  EXPECT_GT(Count(image, 1, X(0), X(4), Reddish), 2 * cells);  // "WORD" at the start of the second
  EXPECT_EQ(Count(image, 1, X(4), image.width(), Reddish), 0);
  EXPECT_GT(Count(image, 1, X(0), X(4), Bluish), 0);  // the hit's text in its own colour
}

TEST_F(EditorViewTest, RepaintsFromTheRowCacheEqualRepaintsFromScratch) {
  // After each change the widget repaints with the rows it kept; forgetting
  // them all must paint the very same pixels.
  view.View().Marks.RetMark.SetVisible(true);
  view.View().ExMarks.FindMark.SetVisible(true);
  view.View().ExMarks.FindMark.SetColor(kBlue);
  view.View().Leftbar.SetVisible(true);
  std::string text;
  for (int i = 0; i < 30; ++i) text += SjisFromLiteral("int main() { return 0; } // 日本語の行\r\n");
  SetText(text);
  view.SetFountain(&view.Fountains().Cpp);
  view.Fountains().Cpp.Comment.SetColor(kRed);
  TEditorEx& e = view.Editor();
  const std::vector<std::pair<const char*, std::function<void()>>> changes = {
      {"typed character", [&] { e.SetRowCol(2, 4); e.KeyPress('x'); }},
      {"comment opened above", [&] { e.SetRowCol(1, 0); e.KeyPress('/'); e.KeyPress('*'); }},
      {"comment closed", [&] { e.Undo(); }},
      {"line selection", [&] { e.SetRowCol(3, 5); e.KeyDown(TEditorKey::Down, {true, false, false}); }},
      {"selection grows", [&] { e.KeyDown(TEditorKey::Right, {true, false, false}); }},
      {"box selection", [&] { e.SetSelectionMode(smBox); e.KeyDown(TEditorKey::Down, {true, false, false}); }},
      {"selection ends", [&] { e.SetSelectionMode(smLine); e.SetRowCol(0, 0); }},
      {"find marks", [&] { e.SetFindString("return"); }},
      {"find hit", [&] { e.Find(); }},
      {"row joined", [&] { e.SetRowCol(5, 0); e.KeyDown(TEditorKey::Backspace); }},
      {"scrolled down", [&] { e.SetTopRow(3); }},
      {"scrolled right", [&] { e.SetTopCol(4); }},
      {"hit colour", [&] { view.ViewFountain().Colors().Hit.SetBkColor(kRed); }},
      {"return mark colour", [&] { view.View().Marks.RetMark.SetColor(kRed); }},
  };
  view.show();
  QApplication::processEvents();
  for (const auto& [what, change] : changes) {
    change();
    const QImage kept = view.viewport()->grab().toImage();
    view.Refresh();
    const QImage fresh = view.viewport()->grab().toImage();
    EXPECT_TRUE(kept == fresh) << what;
  }
}

// The window as the window system holds it (the backing store), after the
// pending repaints; and the same after everything was painted again.
QImage Screen(QWidget& window) {
  QApplication::processEvents();
  return QGuiApplication::primaryScreen()->grabWindow(window.winId()).toImage();
}

QImage FreshScreen(TEditorView& view) {
  view.Refresh();  // forgets the row cache
  view.update();
  for (QWidget* child : view.findChildren<QWidget*>()) child->update();
  return Screen(view);
}

class TPaintCounter : public QObject {
 public:
  int Count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++Count;
    return false;
  }
};

TEST_F(EditorViewTest, ScrollingMovesPixelsThatMatchAFreshPaint) {
  // Each step moves the rows on screen as pixels and paints the uncovered
  // strip; the scroll bar repaints only when its handle moves. After a run
  // of steps the screen equals a paint of everything from scratch.
  view.View().SetScrollBars(TScrollBars::Vertical);
  view.View().Leftbar.SetVisible(true);
  view.View().Marks.RetMark.SetVisible(true);
  view.View().Marks.WrapMark.SetVisible(true);
  std::string text;
  for (int i = 0; i < 300; ++i)
    text += std::to_string(i) + std::string(static_cast<std::size_t>(i % 7) * 9, 'w') + SjisFromLiteral(" 行の終わり\r\n");
  // The rows next to the view are painted ahead while idle; `editAhead`
  // changes them after that and before they are scrolled in. A step moves
  // the scroll bar, or turns the wheel by a notch (three rows).
  struct TCase {
    int step;
    int steps;
    bool wrap;
    bool editAhead;
    bool wheel = false;
  };
  const TCase cases[] = {{1, 12, false, false},      {1, 12, true, false},      {-1, 12, false, false},
                         {3, 5, true, false},        {-2, 6, true, false},      {7, 3, false, false},
                         {1, 6, false, true},        {-1, 6, true, true},       {3, 4, false, true},
                         {3, 4, false, false, true}, {-3, 4, true, true, true}, {3, 3, true, true, true}};
  view.SetScrollLine(3);
  view.show();
  TEditorEx& e = view.Editor();
  for (const TCase& c : cases) {
    e.WrapOption().SetWrapByte(30);
    e.SetWordWrap(c.wrap);
    SetText(text);
    QScrollBar* bar = view.verticalScrollBar();
    bar->setValue(100);
    Screen(view);
    for (int i = 0; i < c.steps; ++i) {
      if (c.editAhead) {
        const int top = e.TopRow();
        for (const int row : {top - 3, top - 1, top + view.Geometry().VisibleRows, top + view.Geometry().VisibleRows + 2}) {
          e.SetRowCol(row, 0);
          e.KeyPress('#');
        }
      }
      if (c.wheel) {
        QWheelEvent wheel(QPointF(50, 50), view.viewport()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -40 * c.step),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &wheel);
      } else {
        bar->setValue(bar->value() + c.step);
      }
      Screen(view);
    }
    const std::string what = "by " + std::to_string(c.step) + (c.wrap ? ", wrapped" : "") + (c.editAhead ? ", edited" : "") +
                             (c.wheel ? ", wheel" : "");
    EXPECT_EQ(bar->value(), e.TopRow()) << what;
    ASSERT_EQ(view.Editor().TopRow(), 100 + c.steps * c.step) << what;
    const QImage scrolled = Screen(view);
    EXPECT_TRUE(scrolled == FreshScreen(view)) << what;
  }
}

TEST_F(EditorViewTest, TheScrollBarRepaintsOnlyWhenItsHandleMoves) {
  view.View().SetScrollBars(TScrollBars::Vertical);
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "line\r\n";
  SetText(text);
  view.show();
  QScrollBar* bar = view.verticalScrollBar();
  TPaintCounter paints;
  bar->installEventFilter(&paints);
  const QRect barArea(bar->mapTo(&view, QPoint()), bar->size());
  bar->setValue(5000);
  const QImage before = Screen(view).copy(barArea);
  int changes = 0;
  QObject::connect(bar, &QScrollBar::valueChanged, [&changes] { ++changes; });
  paints.Count = 0;
  // One row of 20,000 moves the handle by less than a pixel: the view
  // scrolls and the signal goes out, the bar is not painted.
  bar->setValue(5001);
  Screen(view);
  EXPECT_EQ(view.Editor().TopRow(), 5001);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(paints.Count, 0);
  // A large jump moves the handle.
  bar->setValue(12000);
  EXPECT_FALSE(Screen(view).copy(barArea) == before);
  EXPECT_GT(paints.Count, 0);
  // Small steps that add up to whole pixels are shown, and at the very end
  // the arrow's look changes with the last step.
  for (const auto& [from, to] : {std::pair{10000, 10200}, std::pair{bar->maximum() - 40, bar->maximum()}}) {
    bar->setValue(from);
    while (bar->value() < to) {
      bar->setValue(bar->value() + 1);
      QApplication::processEvents();
    }
    const QImage shown = Screen(view).copy(barArea);
    EXPECT_TRUE(shown == FreshScreen(view).copy(barArea)) << to;
  }
}

TEST_F(EditorViewTest, RowsMovedAsPixelsAfterAnEditMatchAFreshPaint) {
  // What the screen holds after edits that add and remove rows (moved
  // pixels and the rows painted around them) equals a paint from scratch.
  view.View().Leftbar.SetVisible(true);
  view.View().Marks.RetMark.SetVisible(true);
  std::string text;
  for (int i = 0; i < 30; ++i) text += SjisFromLiteral("row of text 行\r\n");
  SetText(text);
  view.show();
  view.setFocus();
  QApplication::processEvents();
  auto screen = [&] {
    QApplication::processEvents();
    return QGuiApplication::primaryScreen()->grabWindow(view.winId()).toImage();
  };
  TEditorEx& e = view.Editor();
  const std::vector<std::pair<const char*, std::function<void()>>> edits = {
      {"line break", [&] { e.SetRowCol(3, 4); e.KeyDown(TEditorKey::Return); }},
      {"line joined", [&] { e.SetRowCol(6, 0); e.KeyDown(TEditorKey::Backspace); }},
      {"lines pasted", [&] { e.SetRowCol(2, 0); e.SetSelTextBuf("one\r\ntwo\r\nthree\r\n"); }},
      {"lines deleted", [&] { e.SetRowCol(1, 0); e.SetSelLength(40); e.ClearSelection(); }},
  };
  for (const auto& [what, edit] : edits) {
    e.CaretBeginUpdate();
    edit();
    e.CaretEndUpdate();
    const QImage shown = screen();
    view.Refresh();
    view.update();
    EXPECT_TRUE(shown == screen()) << what;
  }
}

}  // namespace
}  // namespace nuv::test
