// The view options' wiring and the geometry they give.
#include "editor/EditorViewOptions.h"

#include <algorithm>

namespace nuv {

namespace {

// A change of a part is a change of the whole.
template <typename... T>
void Forward(TEditorOption& whole, T&... parts) {
  (..., (parts.OnChange = [&whole](TNotifyPersistent&) { whole.Changed(); }));
}

}  // namespace

TEditorMarks::TEditorMarks() { Forward(*this, EofMark, RetMark, WrapMark, HideMark, Underline); }

TEditorExMarks::TEditorExMarks() { Forward(*this, DBSpaceMark, SpaceMark, TabMark, FindMark); }

void TVerticalLines::Add(const TVerticalLine& line) {
  m_items.push_back(line);
  Changed();
}

void TVerticalLines::SetFirst(const TVerticalLine& line) {
  std::vector<TVerticalLine> items = m_items;
  if (items.empty())
    items.push_back(line);
  else
    items.front() = line;
  SetItems(std::move(items));
}

std::vector<int> TVerticalLines::VisibleXs(int columnWidth, int leftMargin, int scrollOffset) const {
  std::vector<int> xs;
  for (const TVerticalLine& item : m_items) {
    if (!item.Visible || item.Position < 0) continue;
    const int x = item.Position * columnWidth + leftMargin - scrollOffset;
    if (x >= leftMargin) xs.push_back(x);
  }
  return xs;
}

void TVerticalLines::SetAllVisible(bool visible) {
  std::vector<TVerticalLine> items = m_items;
  for (TVerticalLine& item : items) item.Visible = visible;
  SetItems(std::move(items));
}

TEditorViewOptions::TEditorViewOptions() { Forward(*this, Imagebar, Leftbar, Ruler, Marks, ExMarks, VerticalLines); }

void TEditorViewOptions::InitPageEditorDefaults() {
  BeginUpdate();
  Imagebar.SetVisible(false);
  Leftbar.SetBkColor(kViewWhite);
  Leftbar.SetColor(0x808000);  // teal
  Leftbar.SetColumn(4);
  Leftbar.SetLeftMargin(8);
  Leftbar.SetRightMargin(4);
  Leftbar.SetShowNumberMode(TEditorShowNumberMode::nmLine);
  Leftbar.SetVisible(true);
  Marks.EofMark.SetVisible(true);
  Marks.RetMark.SetVisible(true);
  Ruler.SetBkColor(kViewWhite);
  Ruler.SetColor(0x808000);
  Ruler.SetMarkColor(0x008000);  // green
  Ruler.SetGaugeRange(10);
  Ruler.SetVisible(true);
  ExMarks.DBSpaceMark.SetVisible(true);
  ExMarks.TabMark.SetVisible(true);
  ExMarks.FindMark.SetColor(0x00FF00);  // lime
  ExMarks.FindMark.SetVisible(true);
  VerticalLines.SetItems({TVerticalLine{80, kViewSilver, true}});
  SetScrollBars(TScrollBars::None);
  SetFontName("\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e");  // ＭＳ ゴシック
  SetFontSize(9);
  EndUpdate();
}

int NumberDigits(std::int64_t number) {
  int digits = 1;
  for (std::int64_t n = number; n >= 10; n /= 10) ++digits;
  return digits;
}

TEditorGeometry ComputeGeometry(const TEditorViewOptions& view, const TEditorMargin& margin, const TFontMetrics& font,
                                std::int64_t largestNumber, int width, int height) {
  TEditorGeometry g;
  g.FontHeight = std::max(1, font.Height + font.ExternalLeading);
  g.ColumnWidth = std::max(1, margin.Character() + font.AveCharWidth);
  g.RowHeight = margin.Underline() + g.FontHeight + margin.Line();
  g.RulerHeight = view.Ruler.Height();
  g.TopMargin = margin.Top() + g.RulerHeight;
  g.ImagebarWidth = view.Imagebar.Width();
  const TEditorLeftbar& bar = view.Leftbar;
  g.LeftbarDigits = std::min(8, std::max(bar.Column(), NumberDigits(largestNumber)));
  g.LeftbarWidth = bar.Visible() ? bar.LeftMargin() + g.LeftbarDigits * g.ColumnWidth + bar.RightMargin() + 2 : 0;
  g.LeftMargin = margin.Left() + g.ImagebarWidth + g.LeftbarWidth;
  g.VisibleRows = std::max(1, (height - g.TopMargin - 5) / g.RowHeight);
  g.VisibleColumns = std::max(1, (width - g.LeftMargin) / g.ColumnWidth);
  return g;
}

}  // namespace nuv
