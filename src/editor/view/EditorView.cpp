// The editor widget: geometry, painting, scrolling and input.
//
// Only rows inside the paint rectangle are read, and of a row only the bytes
// that can reach the 1000-column limit, so a page of one enormous line paints
// as fast as a short one.
#include "editor/view/EditorView.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <climits>
#include <unordered_map>

#include "base/Codec.h"
#include "base/Sjis.h"
#include "config/FontFallback.h"
#include "editor/ColumnAttributes.h"
#include "editor/view/EditorScrollBar.h"
#include "fountain/FountainColor.h"

namespace nuv {

namespace {

// Bytes of a row read for painting: enough for 1000 columns and the look-ahead
// of the token that crosses the limit.
constexpr std::size_t kPaintBytes = TEditor::kMaxCol + 64;

}  // namespace

// The core with its repaint hooks wired to the widget.
class TEditorView::TViewEditor : public TEditorEx {
 public:
  explicit TViewEditor(TEditorView& view) : m_view(view) {}
  void DoChange(const TDrawInfo& info) override {
    m_info = info;
    TEditorEx::DoChange(info);
  }
  void InvalidateRow(int row) override { m_view.RepaintRows(row, row); }
  void InitView() override { m_view.Refresh(); }
  const TDrawInfo& LastChange() const { return m_info; }

 private:
  TEditorView& m_view;
  TDrawInfo m_info;
};

// The core's pixel questions answered from the widget's geometry.
class TEditorView::TMeasurer : public IEditorMeasurer {
 public:
  explicit TMeasurer(const TEditorView& view) : m_view(view) {}
  int ColumnWidth() const override { return m_view.m_geometry.ColumnWidth; }
  int RowHeight() const override { return m_view.m_geometry.RowHeight; }
  int LeftMargin() const override { return m_view.m_geometry.LeftMargin; }
  int TopMargin() const override { return m_view.m_geometry.TopMargin; }
  int VisibleRows() const override { return m_view.m_geometry.VisibleRows; }
  int VisibleColumns() const override { return m_view.m_geometry.VisibleColumns; }
  int ScreenHeight() const override { return m_view.m_screenHeight; }

 private:
  const TEditorView& m_view;
};

struct TEditorView::TColors {
  QColor bg, fg, selBg, selFg, hitBg, hitFg;
  bool operator==(const TColors&) const = default;
};

// What painting rows works with: the fountain's parser, made when a row is
// first painted and kept until the style changes, and the row buffers.
class TRowPainter {
 public:
  IEditorFountain* fountain = nullptr;
  std::unique_ptr<IEditorParser> parser;
  std::string expanded, parsed, codes;
};

// What one row's pixels are painted from, read from the document.
struct TEditorView::TRowInput {
  // A row of text, the mark-only row after a final line break, or nothing.
  enum TKind { kText, kEof, kBlank } Kind = kBlank;
  std::string Prefix;  // the row's bytes up to the paint limit
  std::string Next;    // the next row's, where a token may cross the wrap
  TRowAttribute Attribute = raCrlf;
  bool Last = false;  // the document's last row (its end mark)
  TRowAttributeData State;
  // Selected columns before they are cut at the row's end; none when equal.
  int SelStart = 0;
  int SelEnd = 0;
  bool SelBox = false;
  bool Hit = false;
  std::vector<TFindSegment> Finds;

  bool operator==(const TRowInput& o) const {
    return Kind == o.Kind && Attribute == o.Attribute && Last == o.Last && SelStart == o.SelStart &&
           SelEnd == o.SelEnd && SelBox == o.SelBox && Hit == o.Hit && Prefix == o.Prefix && Next == o.Next &&
           State.Row == o.State.Row && State.SameState(o.State) && Finds == o.Finds;
  }
};

// Rows painted into images, so a repaint of unchanged rows is a copy of
// pixels. A row is painted again when what it is painted from changed; any
// change of style (fonts, colours, marks, geometry, the fountain) forgets all.
struct TEditorView::TRowCache {
  struct TStyle {
    TColors Colors;
    int Width = 0, TopCol = 0, Underline = 0, Ascent = 0;
    int FontHeight = 0, ColumnWidth = 0, RowHeight = 0, TextLeft = 0, LeftMargin = 0, VisibleColumns = 0;
    int TabSpaceCount = 0, WrapByte = 0;
    bool WordWrap = false;
    qreal Ratio = 1;
    bool operator==(const TStyle&) const = default;
  };
  struct TRow {
    TRowInput Input;
    QImage Image;
  };
  std::unordered_map<int, TRow> Rows;
  // Rows [first, tail) were replaced and the rows from `tail` on moved by
  // `delta`: their images go with them.
  void Shift(int first, int tail, int delta) {
    std::unordered_map<int, TRow> moved;
    moved.reserve(Rows.size());
    for (auto& [row, cached] : Rows) {
      if (row >= first && row < tail) continue;
      moved.emplace(row >= tail ? row + delta : row, std::move(cached));
    }
    Rows = std::move(moved);
  }
  // Images of dropped rows, used again so scrolling allocates nothing.
  std::vector<QImage> Spare;
  TStyle Style;
  TRowInput Scratch;
  TRowPainter Painter;
};


TEditorView::TEditorView(QWidget* parent)
    : QAbstractScrollArea(parent),
      m_editor(std::make_unique<TViewEditor>(*this)),
      m_measurer(std::make_unique<TMeasurer>(*this)),
      m_rowCache(std::make_unique<TRowCache>()) {
  setObjectName("edxnuv");
  setVerticalScrollBar(new TEditorScrollBar(Qt::Vertical, this));
  setHorizontalScrollBar(new TEditorScrollBar(Qt::Horizontal, this));
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setCursor(Qt::IBeamCursor);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) m_screenHeight = screen->size().height();
  m_editor->SetMeasurer(m_measurer.get());
  m_editor->SetFountain(&m_viewFountain);
  m_editor->OnChange = [this] { OnEditorChange(); };
  m_editor->OnCaretMoved = [this] { OnCaretMoved(); };
  // The find string, its options and the hits change what is drawn.
  m_editor->OnRepaint = [this] { viewport()->update(); };
  m_editor->OnSelectionChange = [this](bool) {
    viewport()->update();
    emit SelectionChanged();
  };
  // The window shows the box mode in its Edit menu.
  m_editor->OnSelectionModeChange = [this] { emit SelectionChanged(); };
  m_view.OnChange = [this](TNotifyPersistent&) { ViewChanged(); };
  m_editor->Margin().OnChange = [this](TNotifyPersistent&) { ViewChanged(); };
  m_viewFountain.ChangeList().Add(this, [this](const void*) {
    ForgetRows();
    viewport()->update();
  });
  m_paintAhead.setSingleShot(true);
  m_paintAhead.setInterval(0);
  connect(&m_paintAhead, &QTimer::timeout, this, &TEditorView::PaintAhead);
  m_blink.setInterval(std::max(100, QApplication::cursorFlashTime() / 2));
  connect(&m_blink, &QTimer::timeout, this, [this] {
    m_caretOn = !m_caretOn;
    viewport()->update(CaretRect().adjusted(-1, -1, 1, 1));
  });
  ApplyFont();
}

TEditorView::~TEditorView() {
  m_viewFountain.ChangeList().Remove(this);
  m_editor->OnChange = nullptr;
  m_editor->OnCaretMoved = nullptr;
  m_editor->OnRepaint = nullptr;
  m_editor->OnSelectionChange = nullptr;
  m_editor->OnSelectionModeChange = nullptr;
  m_editor.reset();
}

TEditorEx& TEditorView::Editor() { return *m_editor; }

const TEditorEx& TEditorView::Editor() const { return *m_editor; }

void TEditorView::SetFountain(TFountain* fountain) {
  if (m_active) m_active->ChangeList().Remove(this);
  m_active = fountain;
  if (m_active)
    m_active->ChangeList().Add(this, [this](const void*) {
      ForgetRows();
      viewport()->update();
    });
  m_editor->SetFountain(m_active ? static_cast<IEditorFountain*>(m_active) : &m_viewFountain);
  ForgetRows();
  viewport()->update();
}

// ---- geometry ----------------------------------------------------------------

void TEditorView::ViewChanged() {
  // The caret-row underline takes a pixel row of its own.
  m_editor->Margin().OnChange = nullptr;
  m_editor->Margin().SetUnderline(m_view.Marks.Underline.Visible() ? 1 : 0);
  m_editor->Margin().OnChange = [this](TNotifyPersistent&) { ViewChanged(); };
  const QString family = QString::fromStdString(FontFamilyFor(
      m_view.FontName(), [](const std::string& utf8) { return QFontDatabase::hasFamily(QString::fromStdString(utf8)); }));
  if (family != m_text.Font().family() || m_view.FontSize() != m_text.Font().pointSize()) {
    ApplyFont();
    return;
  }
  Refresh();
}

void TEditorView::ApplyFont() {
  const std::string family = FontFamilyFor(
      m_view.FontName(), [](const std::string& utf8) { return QFontDatabase::hasFamily(QString::fromStdString(utf8)); });
  QFont font(QString::fromStdString(family));
  font.setPointSize(m_view.FontSize());
  font.setStyleHint(QFont::TypeWriter);
  m_text.SetFont(font);
  setFont(font);
  Refresh();
}

std::int64_t TEditorView::LargestNumber() const {
  const TEditorScreenStrings& list = m_editor->List();
  const int rows = list.GetCount();
  const bool endsWithBreak = rows > 0 && list.GetRows(rows - 1) == raCrlf;
  std::int64_t last = rows == 0 ? 0 : rows - 1;
  if (m_view.Leftbar.ShowNumberMode() == TEditorShowNumberMode::nmLine && m_editor->WordWrap())
    last = m_editor->RowToLines(std::max(0, rows - 1));
  return last + (m_view.Leftbar.ZeroBase() ? 0 : 1) + (endsWithBreak ? 1 : 0);
}

void TEditorView::UpdateGeometry() {
  const QSize size = viewport()->size();
  m_geometry = ComputeGeometry(m_view, m_editor->Margin(), m_text.Metrics(), LargestNumber(), size.width(), size.height());
}

void TEditorView::UpdateScrollBars() {
  auto policy = [](bool on) { return on ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff; };
  const TScrollBars bars = m_view.ScrollBars();
  // Setting a policy lays the scroll area out again, even an unchanged one.
  const Qt::ScrollBarPolicy vertical = policy(bars == TScrollBars::Vertical || bars == TScrollBars::Both);
  const Qt::ScrollBarPolicy horizontal = policy(bars == TScrollBars::Horizontal || bars == TScrollBars::Both);
  if (verticalScrollBarPolicy() != vertical) setVerticalScrollBarPolicy(vertical);
  if (horizontalScrollBarPolicy() != horizontal) setHorizontalScrollBarPolicy(horizontal);
  m_syncingBars = true;
  const int rows = m_editor->GetListCount();
  verticalScrollBar()->setRange(0, rows);
  verticalScrollBar()->setPageStep(m_geometry.VisibleRows);
  verticalScrollBar()->setValue(m_editor->TopRow());
  horizontalScrollBar()->setRange(0, std::max(0, TEditor::kMaxCol - m_geometry.VisibleColumns / 2));
  horizontalScrollBar()->setPageStep(m_geometry.VisibleColumns);
  horizontalScrollBar()->setValue(m_editor->TopCol());
  m_syncingBars = false;
}

void TEditorView::ForgetRows() {
  m_rowCache->Rows.clear();
  m_rowCache->Spare.clear();
  m_rowCache->Painter = TRowPainter();
}

void TEditorView::Refresh() {
  ForgetRows();
  UpdateGeometry();
  m_editor->AdjustRow();
  UpdateScrollBars();
  viewport()->update();
  updateMicroFocus();
}

void TEditorView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  Refresh();
  emit Resized();
}

void TEditorView::scrollContentsBy(int, int) {
  if (m_syncingBars) return;
  const int oldTop = m_editor->TopRow();
  const int oldCol = m_editor->TopCol();
  m_editor->SetTopRow(verticalScrollBar()->value());
  m_editor->SetTopCol(horizontalScrollBar()->value());
  ScrolledFrom(oldTop, oldCol);
}

void TEditorView::ScrolledFrom(int oldTop, int oldCol) {
  const int rows = m_editor->TopRow() - oldTop;
  if (m_editor->TopCol() != oldCol || std::abs(rows) >= m_geometry.VisibleRows) {
    viewport()->update();
  } else if (rows != 0) {
    // The rows on screen move as pixels (the caret and the preedit with
    // their row); only the uncovered strip is painted.
    const QRect area(0, m_geometry.TopMargin, viewport()->width(), viewport()->height() - m_geometry.TopMargin);
    viewport()->scroll(0, -rows * m_geometry.RowHeight, area);
  }
  updateMicroFocus();
}

int TEditorView::RowY(int row) const { return m_geometry.TopMargin + (row - m_editor->TopRow()) * m_geometry.RowHeight; }

QPoint TEditorView::ColumnRowAt(const QPoint& at) const {
  int col = 0, row = 0;
  m_editor->PosToRowCol(at.x(), at.y(), true, col, row);
  return {col, row};
}

QRect TEditorView::CaretRect() const {
  const TEditorGeometry& g = m_geometry;
  const int x = g.LeftMargin + (m_editor->Col() - m_editor->TopCol()) * g.ColumnWidth;
  const int y = RowY(m_editor->Row());
  const int glyph = g.ColumnWidth - m_editor->Margin().Character();
  static const std::string kEmpty;
  const int row = m_editor->Row();
  const std::string& text = row < m_editor->GetListCount() ? m_editor->List().Get(row) : kEmpty;
  const int byte = m_editor->ColToByteIndex(row, m_editor->Col());
  const bool lead = byte < static_cast<int>(text.size()) && CharLength(text, static_cast<std::size_t>(byte)) == 2;
  const int wide = glyph * (lead ? 2 : 1);
  if (m_editor->OverWrite()) return {x, y, wide, g.FontHeight};
  if (m_editor->Caret().Style() == TEditorCaretStyle::csBrief) return {x, y + g.FontHeight - 2, wide, 2};
  return {x, y, 2, g.FontHeight};
}

// ---- changes -----------------------------------------------------------------

void TEditorView::RepaintRows(int first, int last) {
  const int top = m_editor->TopRow();
  const int from = std::max(first, top);
  const int to = std::min(last, top + m_geometry.VisibleRows + 1);
  if (from > to) return;
  viewport()->update(QRect(0, RowY(from), viewport()->width(), (to - from + 1) * m_geometry.RowHeight));
}

void TEditorView::OnEditorChange() {
  const TDrawInfo info = m_editor->LastChange();
  const int digits = m_geometry.LeftbarDigits;
  UpdateGeometry();
  const int top = m_editor->TopRow();
  const int tailOld = info.FirstRow + info.OldCount;
  const int tailNew = info.FirstRow + info.NewCount;
  const int delta = info.NewCount - info.OldCount;
  if (delta != 0) m_rowCache->Shift(info.FirstRow, tailOld, delta);
  if (digits != m_geometry.LeftbarDigits) {
    viewport()->update();
  } else if (delta != 0 && top == verticalScrollBar()->value() && std::min(tailOld, tailNew) >= top &&
             std::abs(delta) < m_geometry.VisibleRows) {
    // The rows after the change move as pixels; the changed rows, the rows
    // whose colouring state changed, the uncovered strip and the numbers of
    // the left bar are painted.
    const int textLeft = m_geometry.ImagebarWidth + m_geometry.LeftbarWidth;
    const int y = RowY(std::min(tailOld, tailNew));
    if (y < viewport()->height())
      viewport()->scroll(0, delta * m_geometry.RowHeight, QRect(textLeft, y, viewport()->width() - textLeft, viewport()->height() - y));
    RepaintRows(info.FirstRow, info.FirstRow + std::max(info.NewCount, info.StateChanged));
    if (textLeft > 0) viewport()->update(QRect(0, RowY(info.FirstRow), textLeft, viewport()->height()));
    // The caret and the caret row's underline move with their row's pixels.
    if (m_lastCaretRow >= tailOld) RepaintRows(m_lastCaretRow + delta, m_lastCaretRow + delta);
  } else if (delta != 0) {
    RepaintRows(info.FirstRow, top + m_geometry.VisibleRows + 1);
  } else {
    RepaintRows(info.FirstRow, info.FirstRow + std::max(info.NewCount, info.StateChanged));
  }
  UpdateScrollBars();
  emit TextChanged();
}

void TEditorView::OnCaretMoved() {
  const bool scrolled = m_editor->TopRow() != verticalScrollBar()->value() || m_editor->TopCol() != horizontalScrollBar()->value();
  if (scrolled || m_editor->Selected() || m_mouseSelecting) {
    viewport()->update();
  } else {
    RepaintRows(m_lastCaretRow, m_lastCaretRow);
    RepaintRows(m_editor->Row(), m_editor->Row());
    // The ruler marks the caret's column only.
    if (m_view.Ruler.Visible() && m_editor->Col() != m_lastCaretCol)
      viewport()->update(0, 0, viewport()->width(), m_geometry.TopMargin);
  }
  m_lastCaretRow = m_editor->Row();
  m_lastCaretCol = m_editor->Col();
  if (scrolled) UpdateScrollBars();
  RestartBlink();
  updateMicroFocus();
  emit CaretMoved();
  emit SelectionChanged();
}

void TEditorView::RestartBlink() {
  m_caretOn = true;
  if (hasFocus()) m_blink.start();
}

// ---- painting ----------------------------------------------------------------

QColor TEditorView::ToQColor(TViewColor color, const QColor& fallback) const {
  if (color == kViewColorNone) return fallback;
  if (color & 0x80000000) {
    switch (color & 0xFF) {
      case 5: return palette().color(QPalette::Base);
      case 8: return palette().color(QPalette::Text);
      case 13: return palette().color(QPalette::Highlight);
      case 14: return palette().color(QPalette::HighlightedText);
      case 15: return palette().color(QPalette::Button);
      default: return fallback;
    }
  }
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

void TEditorView::paintEvent(QPaintEvent* event) {
  // Each rectangle on its own: a scrolled-in row and the caret far from it
  // must not become one repaint of everything between them.
  QPainter painter(viewport());
  for (const QRect& rect : event->region()) PaintTo(painter, rect);
  if (!m_paintAhead.isActive()) m_paintAhead.start();
}

TEditorView::TColors TEditorView::Colors() {
  TColors c;
  c.bg = ToQColor(m_view.Color(), Qt::white);
  c.fg = ToQColor(m_view.FontColor(), Qt::black);
  const TFountainColor& sel = m_viewFountain.Colors().Select;
  // A selection colour of none is inverse video.
  c.selBg = ToQColor(sel.BkColor(), c.fg);
  c.selFg = ToQColor(sel.Color(), c.bg);
  const TFountainColor& hit = m_viewFountain.Colors().Hit;
  c.hitBg = ToQColor(hit.BkColor(), c.selBg);
  c.hitFg = ToQColor(hit.Color(), c.selFg);
  return c;
}

void TEditorView::UseRowStyle(const TColors& c, qreal ratio) {
  const TEditorGeometry& g = m_geometry;
  TRowCache::TStyle style;
  style.Colors = c;
  style.Width = viewport()->width();
  style.TopCol = m_editor->TopCol();
  style.Underline = m_editor->Margin().Underline();
  style.Ascent = m_text.Ascent();
  style.FontHeight = g.FontHeight;
  style.ColumnWidth = g.ColumnWidth;
  style.RowHeight = g.RowHeight;
  style.TextLeft = g.ImagebarWidth + g.LeftbarWidth;
  style.LeftMargin = g.LeftMargin;
  style.VisibleColumns = g.VisibleColumns;
  const TColumnRules rules = m_editor->Rules();
  style.TabSpaceCount = rules.TabSpaceCount;
  style.WrapByte = rules.WrapByte;
  style.WordWrap = rules.WordWrap;
  style.Ratio = ratio;
  if (!(style == m_rowCache->Style)) {
    ForgetRows();
    m_rowCache->Style = style;
  }
  TRowPainter& rp = m_rowCache->Painter;
  if (rp.fountain != m_editor->Fountain()) {
    rp.fountain = m_editor->Fountain();
    rp.parser.reset();
  }
}

void TEditorView::PaintTo(QPainter& p, const QRect& rect) {
  const TEditorGeometry& g = m_geometry;
  const TColors c = Colors();
  const int width = viewport()->width();
  const int textLeft = g.ImagebarWidth + g.LeftbarWidth;
  UseRowStyle(c, p.device() ? p.device()->devicePixelRatioF() : 1.0);

  p.save();
  p.setClipRect(rect);
  p.fillRect(QRect(textLeft, g.RulerHeight, width, g.TopMargin - g.RulerHeight), c.bg);
  const int top = m_editor->TopRow();
  const int firstRow = top + std::max(0, (rect.top() - g.TopMargin) / g.RowHeight);
  const int lastRow = top + std::max(0, (rect.bottom() - g.TopMargin) / g.RowHeight);
  const int rows = m_editor->GetListCount();
  p.save();
  p.setClipRect(QRect(textLeft, g.TopMargin, width, viewport()->height()).intersected(rect));
  for (int row = firstRow; row <= lastRow; ++row)
    if (const QImage* image = CachedRow(c, row, rows)) p.drawImage(QPoint(textLeft, RowY(row)), *image);
  // Below the last whole row.
  const int bottom = RowY(lastRow + 1);
  if (bottom < viewport()->height()) p.fillRect(QRect(0, bottom, width, viewport()->height() - bottom), c.bg);
  // Guide lines from the ruler's bottom to the bottom of the control.
  for (const TVerticalLine& line : m_view.VerticalLines.Items()) {
    if (!line.Visible || line.Position < 0) continue;
    const int x = line.Position * g.ColumnWidth + g.LeftMargin - m_editor->TopCol() * g.ColumnWidth;
    if (x < g.LeftMargin) continue;
    p.setPen(ToQColor(line.Color, c.fg));
    p.drawLine(x, g.RulerHeight, x, viewport()->height());
  }
  if (m_view.Marks.Underline.Visible()) {
    p.setPen(ToQColor(m_view.Marks.Underline.Color(), c.fg));
    const int y = RowY(m_editor->Row()) + g.RowHeight - 1;
    p.drawLine(g.LeftMargin, y, width, y);
  }
  p.restore();
  if (rect.left() < textLeft) PaintLeftbar(p, c, firstRow, lastRow);
  if (rect.top() < g.RulerHeight) PaintRuler(p, c);
  PaintPreedit(p, c);
  PaintCaret(p, c);
  p.restore();
  // Rows far from the view are dropped; those near it stay for scrolling back.
  const int keep = g.VisibleRows + 2;
  if (static_cast<int>(m_rowCache->Rows.size()) > 3 * keep) {
    std::erase_if(m_rowCache->Rows, [&](auto& item) {
      if (item.first >= top - keep && item.first <= top + 2 * keep) return false;
      m_rowCache->Spare.push_back(std::move(item.second.Image));
      return true;
    });
  }
}

void TEditorView::ReadRow(int row, int rows, TRowInput& in) {
  in.Prefix.clear();
  in.Next.clear();
  in.Attribute = raCrlf;
  in.Last = false;
  in.State = TRowAttributeData();
  in.SelStart = in.SelEnd = 0;
  in.SelBox = in.Hit = false;
  in.Finds.clear();
  if (row >= rows) {
    // The row after a final line break (or of an empty text) holds the end mark.
    in.Kind = row == rows && (rows == 0 || m_editor->ListRows(rows - 1) == raCrlf) ? TRowInput::kEof : TRowInput::kBlank;
    return;
  }
  in.Kind = TRowInput::kText;
  TEditorScreenStrings& list = m_editor->List();
  if (!list.StateComputed(row)) list.UpdateBrackets(row, false);
  in.Prefix = CutAtCharBoundary(list.Get(row), kPaintBytes);
  in.Attribute = list.GetRows(row);
  in.Last = row == rows - 1;
  in.State = m_editor->GetListData(row);
  // A token may cross the wrap into the next row.
  if (in.Attribute == raWrapped && row + 1 < rows && m_editor->Fountain())
    in.Next = CutAtCharBoundary(list.Get(row + 1), kPaintBytes);
  if (m_editor->Selected()) {
    const TSelectedPosition sel = m_editor->SelDraw();
    if (row >= sel.StartRow && row <= sel.EndRow) {
      in.SelBox = m_editor->SelectionMode() == smBox;
      in.SelStart = in.SelBox || row == sel.StartRow ? sel.StartCol : 0;
      in.SelEnd = in.SelBox || row == sel.EndRow ? sel.EndCol : INT_MAX;
      in.Hit = m_editor->SelectionState() == sstHitSelected;
    }
  }
  if (m_view.ExMarks.FindMark.Visible() && !m_editor->FindString().empty() && m_editor->SearchLine(row) > 0)
    in.Finds = m_editor->FindSegments();
}

const QImage* TEditorView::CachedRow(const TColors& c, int row, int rows) {
  TRowInput& in = m_rowCache->Scratch;
  ReadRow(row, rows, in);
  const int textLeft = m_geometry.ImagebarWidth + m_geometry.LeftbarWidth;
  const QSize size(viewport()->width() - textLeft, m_geometry.RowHeight);
  if (size.isEmpty()) return nullptr;
  const qreal ratio = m_rowCache->Style.Ratio;
  TRowCache::TRow& cached = m_rowCache->Rows[row];
  const QSize pixels(qRound(size.width() * ratio), qRound(size.height() * ratio));
  if (cached.Image.size() != pixels || !(cached.Input == in)) {
    if (cached.Image.size() != pixels) {
      std::vector<QImage>& spare = m_rowCache->Spare;
      if (!spare.empty() && spare.back().size() == pixels) {
        cached.Image = std::move(spare.back());
      } else {
        cached.Image = QImage(pixels, QImage::Format_RGB32);
        cached.Image.setDevicePixelRatio(ratio);
      }
      if (!spare.empty()) spare.pop_back();
    }
    TRowPainter& rp = m_rowCache->Painter;
    if (!rp.parser && rp.fountain) rp.parser = rp.fountain->CreateParser();
    QPainter rowPainter(&cached.Image);
    rowPainter.translate(-textLeft, 0);
    PaintRow(rowPainter, c, in, 0, rp);
    std::swap(cached.Input, in);
  }
  return &cached.Image;
}

void TEditorView::PaintAhead() {
  // The rows a scroll by a wheel notch uncovers, above and below the view.
  // An image new to the process costs its first touch of fresh memory,
  // which is slower than painting the row; here it is paid while idle.
  if (!isVisible() || m_geometry.RowHeight <= 0) return;
  const TColors c = Colors();
  UseRowStyle(c, viewport()->devicePixelRatioF());
  const int rows = m_editor->GetListCount();
  const int top = m_editor->TopRow();
  const int below = top + std::max(0, (viewport()->height() - 1 - m_geometry.TopMargin) / m_geometry.RowHeight) + 1;
  for (int i = 0; i < std::min(m_scrollLine, m_geometry.VisibleRows); ++i) {
    if (below + i <= rows) CachedRow(c, below + i, rows);
    if (top - 1 - i >= 0) CachedRow(c, top - 1 - i, rows);
  }
}

void TEditorView::PaintRow(QPainter& p, const TColors& c, const TRowInput& in, int y, TRowPainter& rp) {
  const TEditorGeometry& g = m_geometry;
  const int cw = g.ColumnWidth;
  const int width = viewport()->width();
  const int x0 = g.LeftMargin - m_editor->TopCol() * cw;
  const int textLeft = g.ImagebarWidth + g.LeftbarWidth;
  p.fillRect(QRect(textLeft, y, width - textLeft, g.RowHeight), c.bg);
  const int baseline = y + m_editor->Margin().Underline() + m_text.Ascent();
  const int fh = g.FontHeight;
  auto markPen = [&](const TEditorMark& mark, bool selected) {
    p.setPen(QPen(selected ? c.selFg : ToQColor(mark.Color(), c.fg), 1));
  };
  auto drawEof = [&](int col) {
    if (!m_view.Marks.EofMark.Visible()) return;
    const QRect box(x0 + col * cw, y, 6 * cw, fh);
    p.fillRect(box, c.bg);
    m_text.Draw(p, "[EOF]", 0, 5, box.x(), baseline, cw, ToQColor(m_view.Marks.EofMark.Color(), c.fg), 0);
  };
  if (in.Kind != TRowInput::kText) {
    if (in.Kind == TRowInput::kEof) drawEof(0);
    return;
  }
  const std::string_view prefix = in.Prefix;
  const TColumnRules rules = m_editor->Rules();
  rp.expanded = ExpandTab(prefix, rules);
  const std::string& text = rp.expanded;
  const int len = static_cast<int>(text.size());
  const int limit = len > TEditor::kMaxCol - 1 && IsDBCS1(text, TEditor::kMaxCol - 1) ? TEditor::kMaxCol + 1 : TEditor::kMaxCol;
  const bool hidden = len > limit;
  const int shown = std::min(len, limit);
  const int fromCol = m_editor->TopCol();
  const int toCol = std::min(shown, fromCol + g.VisibleColumns + 2);
  const TRowAttribute attribute = in.Attribute;

  // Tokens and their colours; the next row of a wrapped line is appended so a
  // token crossing the wrap is seen whole.
  if (rp.parser && len > 0) {
    rp.parsed = text;
    if (!in.Next.empty()) rp.parsed += ExpandTab(in.Next, rules);
    rp.parser->NewData(rp.parsed, in.State);
    int plainFrom = 0;
    auto drawPlain = [&](int to) {
      if (to > plainFrom) m_text.Draw(p, text, std::max(plainFrom, fromCol), std::min(to, toCol), x0, baseline, cw, c.fg, 0);
    };
    while (rp.parser->NextToken() != 0) {
      const int pos = rp.parser->SourcePos();
      if (pos >= shown || pos >= toCol) break;
      const int end = std::min(pos + rp.parser->TokenLength(), shown);
      const TFountainColor* fc = rp.parser->TokenToFountainColor();
      if (!fc || end <= fromCol) continue;
      const bool plain = (fc->Color() == clNone || ToQColor(fc->Color(), c.fg) == c.fg) &&
                         (fc->BkColor() == clNone || ToQColor(fc->BkColor(), c.bg) == c.bg) && fc->Style() == 0;
      if (plain) continue;
      drawPlain(pos);
      plainFrom = end;
      const QRect cells(x0 + pos * cw, y, (end - pos) * cw, g.RowHeight);
      if (fc->BkColor() != clNone) p.fillRect(cells, ToQColor(fc->BkColor(), c.bg));
      const QColor color = ToQColor(fc->Color(), c.fg);
      m_text.Draw(p, text, std::max(pos, fromCol), std::min(end, toCol), x0, baseline, cw, color, fc->Style());
      if (fc->Style() & fsUnderline) {
        // A dotted line on the last pixel row of the font, in text colour on the background.
        const int uy = y + m_editor->Margin().Underline() + fh - 1;
        p.setPen(QPen(color, 1, Qt::DotLine));
        p.drawLine(cells.left(), uy, cells.right(), uy);
      }
    }
    drawPlain(toCol);
  } else if (len > 0) {
    m_text.Draw(p, text, fromCol, toCol, x0, baseline, cw, c.fg, 0);
  }

  // Character marks: full-width spaces, spaces and tabs where they really lie.
  const TEditorExMarks& ex = m_view.ExMarks;
  if (ex.DBSpaceMark.Visible() || ex.SpaceMark.Visible() || ex.TabMark.Visible()) {
    StrToAttributes(prefix, rules, rp.codes);
    int col = 0;
    for (std::size_t i = 0; i < prefix.size() && col < toCol;) {
      const std::size_t clen = CharLength(prefix, i);
      const int x = x0 + col * cw;
      const unsigned char b = static_cast<unsigned char>(prefix[i]);
      int next = col + static_cast<int>(clen);
      if (b == '\t') {
        while (next < static_cast<int>(rp.codes.size()) && rp.codes[static_cast<std::size_t>(next)] == kColTabRest) ++next;
        if (ex.TabMark.Visible() && col >= fromCol) {
          markPen(ex.TabMark, false);
          const int m = y + (fh - 2) / 2;
          p.drawLine(x, m, x + cw - 1, m);
          p.drawLine(x + cw - 3, m - 2, x + cw - 1, m);
          p.drawLine(x + cw - 1, m, x + cw - 4, m + 3);
        }
      } else if (clen == 1 && b == ' ' && ex.SpaceMark.Visible() && col >= fromCol) {
        markPen(ex.SpaceMark, false);
        p.drawRect(x, y, cw - 1, fh - 2);
      } else if (clen == 2 && b == 0x81 && static_cast<unsigned char>(prefix[i + 1]) == 0x40 && ex.DBSpaceMark.Visible() &&
                 col >= fromCol) {
        markPen(ex.DBSpaceMark, false);
        p.drawRect(x, y, 2 * cw - 1, fh - 2);
      }
      col = next;
      i += clen;
    }
  }

  // The selected columns of this row (line or box mode), drawn over the row;
  // a search hit is drawn the same way.
  if (in.SelEnd > in.SelStart) {
    const int rowEnd = std::min(len, limit) + (attribute == raCrlf ? 1 : 0);
    const int cut = in.SelBox ? limit : rowEnd;
    const int s = std::min(in.SelStart, cut);
    const int e = std::min(in.SelEnd, cut);
    if (e > s) {
      const QRect cells(x0 + s * cw, y, (e - s) * cw, g.RowHeight);
      p.save();
      p.setClipRect(cells, Qt::IntersectClip);
      p.fillRect(cells, in.Hit ? c.hitBg : c.selBg);
      m_text.Draw(p, text, std::max(s, fromCol), std::min(e, toCol), x0, baseline, cw, in.Hit ? c.hitFg : c.selFg, 0);
      p.restore();
    }
  }

  // The find marks: a bar under each hit of the find string on this row.
  if (!in.Finds.empty()) {
    const QColor bar = ToQColor(m_view.ExMarks.FindMark.Color(), c.fg);
    for (const TFindSegment& seg : in.Finds) {
      const int s = std::min(seg.Col, limit), e = std::min(seg.Col + seg.Length, limit);
      if (e > s) p.fillRect(QRect(x0 + s * cw, y + fh - 2, (e - s) * cw, 2), bar);
    }
  }

  // The mark after the text: end of text, line break, wrap, or a cut row.
  const int endX = x0 + shown * cw;
  const int middle = y + fh / 2;
  const int e = std::max(2, cw * 3 / 5);
  if (hidden) {
    if (m_view.Marks.HideMark.Visible()) {
      markPen(m_view.Marks.HideMark, false);
      p.drawLine(endX + cw - e, middle - e, endX + cw, middle);
      p.drawLine(endX + cw, middle, endX + cw - e - 1, middle + e + 1);
    }
  } else if (attribute == raEof && in.Last) {
    drawEof(shown);
  } else if (attribute == raCrlf && m_view.Marks.RetMark.Visible()) {
    markPen(m_view.Marks.RetMark, false);
    const int d = std::max(1, fh / 8);
    const int f = std::max(d, 3);
    const int mx = endX + cw / 2;
    const int bottom = y + fh - 2 * d;
    p.drawLine(mx, y + 2 * d, mx, bottom);
    p.drawLine(mx, bottom, mx - f, bottom - f);
    p.drawLine(mx, bottom, mx + f, bottom - f);
  } else if (attribute == raWrapped && m_view.Marks.WrapMark.Visible()) {
    markPen(m_view.Marks.WrapMark, false);
    p.drawLine(endX + cw, middle - e, endX + cw - e, middle);
    p.drawLine(endX + cw - e, middle, endX + cw + 1, middle + e + 1);
  }
}

void TEditorView::PaintLeftbar(QPainter& p, const TColors& c, int firstRow, int lastRow) {
  const TEditorGeometry& g = m_geometry;
  const TEditorLeftbar& bar = m_view.Leftbar;
  const QColor barBg = ToQColor(bar.BkColor(), c.bg);
  const QColor barFg = ToQColor(bar.Color(), c.fg);
  const int height = viewport()->height();
  const int rows = m_editor->GetListCount();
  if (g.ImagebarWidth > 0) {
    p.fillRect(QRect(0, 0, g.ImagebarWidth, height), bar.Visible() ? barBg : c.bg);
    for (int row = firstRow; row <= lastRow && row < rows; ++row) PaintRowMarks(p, row);
  }
  if (g.LeftbarWidth <= 0) return;
  const int left = g.ImagebarWidth;
  p.fillRect(QRect(left, 0, g.LeftbarWidth - 2, height), barBg);
  const bool byLine = bar.ShowNumberMode() == TEditorShowNumberMode::nmLine;
  const int base = bar.ZeroBase() ? 0 : 1;
  const bool endsWithBreak = rows > 0 && m_editor->ListRows(rows - 1) == raCrlf;
  const int lastNumbered = endsWithBreak ? rows : rows - 1;
  std::int64_t line = byLine && firstRow > 0 ? m_editor->RowToLines(std::min(firstRow, rows)) : 0;
  const int baselineOffset = m_editor->Margin().Underline() + m_text.Ascent();
  for (int row = firstRow; row <= lastRow && row <= lastNumbered; ++row) {
    const bool lineStart = row == 0 || m_editor->ListRows(row - 1) != raWrapped;
    std::int64_t number = -1;
    if (!byLine) {
      number = row + base;
    } else if (lineStart) {
      number = line + base;
    }
    if (row < rows && m_editor->ListRows(row) == raCrlf) ++line;
    if (number < 0 || !bar.ShowNumber()) continue;
    std::string digits = std::to_string(number);
    if (static_cast<int>(digits.size()) < g.LeftbarDigits)
      digits.insert(0, static_cast<std::size_t>(g.LeftbarDigits) - digits.size(), bar.ZeroLead() ? '0' : ' ');
    m_text.Draw(p, digits, 0, static_cast<int>(digits.size()), left + bar.LeftMargin(), RowY(row) + baselineOffset,
                g.ColumnWidth, barFg, 0);
  }
  // The edge: a raised line, or the background then the bar's text colour.
  const int ex = left + g.LeftbarWidth - 2;
  p.setPen(bar.Edge() ? QColor(Qt::white) : barBg);
  p.drawLine(ex, 0, ex, height);
  p.setPen(bar.Edge() ? QColor(Qt::gray) : barFg);
  p.drawLine(ex + 1, 0, ex + 1, height);
}

void TEditorView::PaintRowMarks(QPainter& p, int row) {
  const TRowMarks marks = m_editor->GetListRowMarks(row);
  if (marks.Empty()) return;
  const TEditorImagebar& bar = m_view.Imagebar;
  const int y = RowY(row) + 2;
  // The lowest digit mark: its digit in cyan on navy in a raised 8 x 11 box.
  for (int mark = 0; mark <= 9; ++mark) {
    if (!marks.Has(static_cast<TRowMark>(mark))) continue;
    const QRect box(bar.LeftMargin(), y, 8, 11);
    p.fillRect(box, QColor(0, 0, 128));
    p.setPen(Qt::white);
    p.drawLine(box.topLeft(), box.topRight());
    p.drawLine(box.topLeft(), box.bottomLeft());
    p.setPen(Qt::gray);
    p.drawLine(box.bottomLeft(), box.bottomRight());
    p.drawLine(box.topRight(), box.bottomRight());
    QFont digit = font();
    digit.setPixelSize(9);
    p.setFont(digit);
    p.setPen(Qt::cyan);
    p.drawText(box, Qt::AlignCenter, QString::number(mark));
    p.setFont(font());
    break;
  }
  // The lowest picture mark (10 to 15) right of the digits, 11 x 11.
  static const QColor kMarkColors[] = {Qt::blue, Qt::red, Qt::darkGreen, Qt::red, Qt::gray, Qt::yellow};
  for (int mark = 10; mark <= 15; ++mark) {
    if (!marks.Has(static_cast<TRowMark>(mark))) continue;
    const QRect box(bar.LeftMargin() + bar.DigitWidth(), y, 11, 11);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QColor color = kMarkColors[mark - 10];
    if (mark == 10) {
      p.setBrush(color);
      p.setPen(Qt::NoPen);
      p.drawEllipse(box.center(), 2, 2);
    } else if (mark == 12) {
      p.setBrush(color);
      p.setPen(Qt::NoPen);
      const QPoint points[] = {box.topLeft() + QPoint(2, 1), box.bottomLeft() + QPoint(2, -1), box.center() + QPoint(4, 0)};
      p.drawPolygon(points, 3);
    } else if (mark == 14) {
      p.setPen(QPen(color, 2));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(box.adjusted(1, 1, -1, -1));
    } else {
      p.setPen(Qt::black);
      p.setBrush(color);
      p.drawEllipse(box.adjusted(0, 0, -1, -1));
      if (mark == 11) {
        p.setPen(QPen(Qt::yellow, 2));
        p.drawLine(box.topLeft() + QPoint(3, 3), box.bottomRight() - QPoint(3, 3));
        p.drawLine(box.topRight() + QPoint(-3, 3), box.bottomLeft() + QPoint(3, -3));
      } else if (mark == 15) {
        p.setPen(Qt::black);
        p.drawArc(box.adjusted(3, 3, -3, -3), 200 * 16, 140 * 16);
      }
    }
    p.restore();
    break;
  }
}

void TEditorView::PaintRuler(QPainter& p, const TColors& c) {
  const TEditorGeometry& g = m_geometry;
  const TEditorRuler& ruler = m_view.Ruler;
  const QColor bg = ToQColor(ruler.BkColor(), c.bg);
  const QColor fg = ToQColor(ruler.Color(), c.fg);
  const QColor mark = ToQColor(ruler.MarkColor(), c.fg);
  const int width = viewport()->width();
  const int h = g.RulerHeight;
  const int edge = ruler.Edge() ? 2 : 1;
  p.fillRect(QRect(0, 0, width, h), bg);
  const int cw = g.ColumnWidth;
  const int range = ruler.GaugeRange();
  const int topCol = m_editor->TopCol();
  QFont digitsFont = font();
  digitsFont.setPixelSize(8);
  p.setFont(digitsFont);
  for (int col = topCol; col <= std::min(TEditor::kMaxCol, topCol + g.VisibleColumns + 1); ++col) {
    const int x = g.LeftMargin + (col - topCol) * cw;
    const bool caretCell = col == m_editor->Col();
    if (caretCell) p.fillRect(QRect(x, 0, cw, h - edge), mark);
    p.setPen(caretCell ? bg : fg);
    const int from = col % range == 0 ? 0 : col % range == range / 2 ? 3 : 6;
    p.drawLine(x, from, x, h - edge);
    if (col % range == 0) p.drawText(QPoint(x + 2, 8), QString::number(col));
  }
  if (ruler.Edge()) {
    p.setPen(Qt::gray);
    p.drawLine(0, h - 2, width, h - 2);
    p.setPen(Qt::white);
    p.drawLine(0, h - 1, width, h - 1);
  } else {
    p.setPen(fg);
    p.drawLine(0, h - 1, width, h - 1);
  }
  p.setFont(font());
}

void TEditorView::PaintPreedit(QPainter& p, const TColors& c) {
  if (m_preedit.isEmpty()) return;
  const TEditorGeometry& g = m_geometry;
  const QRect caret = CaretRect();
  const int y = RowY(m_editor->Row());
  // The composition is shown on the grid, each character as wide as its
  // Shift JIS code (two columns where it has none).
  std::string sjis;
  std::vector<int> columns;
  int col = 0;
  for (const QChar ch : m_preedit) {
    const char16_t unit = ch.unicode();
    const auto encoded = EncodeCp932(std::u16string_view(&unit, 1));
    const int w = encoded ? static_cast<int>(encoded->size()) : 2;
    columns.push_back(col);
    col += w;
  }
  const QRect box(caret.x(), y, col * g.ColumnWidth, g.FontHeight);
  p.fillRect(box, c.bg);
  p.setPen(c.fg);
  p.setFont(m_text.Font());
  const int baseline = y + m_editor->Margin().Underline() + m_text.Ascent();
  for (int i = 0; i < m_preedit.size(); ++i) p.drawText(QPoint(box.x() + columns[static_cast<std::size_t>(i)] * g.ColumnWidth, baseline), QString(m_preedit[i]));
  p.drawLine(box.left(), box.bottom(), box.right(), box.bottom());
}

void TEditorView::PaintCaret(QPainter& p, const TColors&) {
  if (!hasFocus() || !m_caretOn) return;
  QRect caret = CaretRect();
  if (!m_preedit.isEmpty()) {
    int col = 0;
    for (int i = 0; i < std::min<int>(m_preeditCursor, m_preedit.size()); ++i) {
      const char16_t unit = m_preedit[i].unicode();
      const auto encoded = EncodeCp932(std::u16string_view(&unit, 1));
      col += encoded ? static_cast<int>(encoded->size()) : 2;
    }
    caret.moveLeft(caret.x() + col * m_geometry.ColumnWidth);
  }
  if (caret.top() < m_geometry.TopMargin) return;
  p.save();
  p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  p.fillRect(caret, Qt::white);
  p.restore();
}

// ---- input -------------------------------------------------------------------

bool TEditorView::IsEditorKey(const QKeyEvent* event) const {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
  if (mods & Qt::AltModifier) return false;
  switch (event->key()) {
    case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
    case Qt::Key_Home: case Qt::Key_End: case Qt::Key_PageUp: case Qt::Key_PageDown:
    case Qt::Key_Delete: case Qt::Key_Backspace: case Qt::Key_Return: case Qt::Key_Enter:
      return true;
    case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Insert:
      return mods == Qt::NoModifier;
    default:
      break;
  }
  const QString text = event->text();
  return mods == Qt::NoModifier && !text.isEmpty() && text.front().unicode() >= 0x20 && text.front().unicode() != 0x7F;
}

bool TEditorView::event(QEvent* event) {
  // The editor's own keys win over window shortcuts that hold the same key.
  if (event->type() == QEvent::ShortcutOverride && IsEditorKey(static_cast<QKeyEvent*>(event)) &&
      !WindowKey(static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  // Tab and Shift+Tab stay in the editor while it wants tabs.
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && m_editor->WantTabs() &&
        !(key->modifiers() & Qt::ControlModifier)) {
      keyPressEvent(key);
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}

bool TEditorView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Wheel) {
    wheelEvent(static_cast<QWheelEvent*>(event));
    return true;
  }
  return QAbstractScrollArea::viewportEvent(event);
}

bool TEditorView::Encode(const QString& text, std::string& sjis, bool pasted) {
  std::size_t bad = 0;
  auto encoded =
      EncodeCp932(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())), &bad);
  if (!encoded) {
    const QString rest = text.mid(static_cast<qsizetype>(bad));
    emit InputRefused(rest.isEmpty() ? U'\0' : rest.toUcs4().value(0), pasted);
    return false;
  }
  sjis = std::move(*encoded);
  return true;
}

void TEditorView::TypeText(const QString& text) {
  std::string sjis;
  if (!Encode(text, sjis, false)) return;
  m_editor->CaretBeginUpdate();
  if (sjis.size() <= 2) {
    for (char ch : sjis) m_editor->KeyPress(static_cast<unsigned char>(ch));
  } else {
    m_editor->ImeResult(CutAtCharBoundary(sjis, TEditor::kMaxImeBytes));
  }
  m_editor->ScrollCaret();
  m_editor->CaretEndUpdate();
}

void TEditorView::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers();
  const bool ctrl = mods & Qt::ControlModifier;
  if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) && ctrl) {
    emit CtrlTabPressed();
    return;
  }
  if (PageKey(event)) return;
  if (event->key() == Qt::Key_Insert && mods == Qt::NoModifier) {
    m_editor->SetOverWrite(!m_editor->OverWrite());
    viewport()->update(CaretRect().adjusted(-2, -2, 2 * m_geometry.ColumnWidth, 2));
    emit OverwriteToggled(m_editor->OverWrite());
    return;
  }
  if (mods & Qt::AltModifier) {
    event->ignore();
    return;
  }
  TKeyState state{(mods & Qt::ShiftModifier) != 0, ctrl, event->isAutoRepeat()};
  TEditorKey key;
  switch (event->key()) {
    case Qt::Key_Left: key = TEditorKey::Left; break;
    case Qt::Key_Right: key = TEditorKey::Right; break;
    case Qt::Key_Up: key = TEditorKey::Up; break;
    case Qt::Key_Down: key = TEditorKey::Down; break;
    case Qt::Key_Home: key = TEditorKey::Home; break;
    case Qt::Key_End: key = TEditorKey::End; break;
    case Qt::Key_PageUp: key = TEditorKey::PageUp; break;
    case Qt::Key_PageDown: key = TEditorKey::PageDown; break;
    case Qt::Key_Delete: key = TEditorKey::Delete; break;
    case Qt::Key_Backspace: key = TEditorKey::Backspace; break;
    case Qt::Key_Return: case Qt::Key_Enter: key = TEditorKey::Return; break;
    case Qt::Key_Backtab: key = TEditorKey::Tab; state.Shift = true; break;
    case Qt::Key_Tab: key = TEditorKey::Tab; break;
    default: {
      const QString text = event->text();
      if (!ctrl && !text.isEmpty() && text.front().unicode() >= 0x20 && text.front().unicode() != 0x7F) {
        TypeText(text);
        return;
      }
      event->ignore();
      return;
    }
  }
  m_editor->CaretBeginUpdate();
  m_editor->KeyDown(key, state);
  m_editor->ScrollCaret();
  m_editor->CaretEndUpdate();
}

void TEditorView::inputMethodEvent(QInputMethodEvent* event) {
  if (!event->commitString().isEmpty()) {
    std::string sjis;
    if (Encode(event->commitString(), sjis, false)) {
      m_editor->CaretBeginUpdate();
      m_editor->ImeResult(CutAtCharBoundary(sjis, TEditor::kMaxImeBytes));
      m_editor->ScrollCaret();
      m_editor->CaretEndUpdate();
    }
  }
  m_preedit = event->preeditString();
  m_preeditCursor = static_cast<int>(m_preedit.size());
  for (const QInputMethodEvent::Attribute& a : event->attributes())
    if (a.type == QInputMethodEvent::Cursor) m_preeditCursor = a.start;
  viewport()->update();
  updateMicroFocus();
  event->accept();
}

QVariant TEditorView::inputMethodQuery(Qt::InputMethodQuery query) const {
  switch (query) {
    case Qt::ImEnabled: return true;
    case Qt::ImCursorRectangle: return QRectF(CaretRect().translated(viewport()->pos()));
    case Qt::ImFont: return m_text.Font();
    case Qt::ImHints: return static_cast<int>(Qt::ImhNone);
    case Qt::ImSurroundingText: return QString::fromStdU16String(DecodeCp932(m_editor->ListStr(m_editor->Row())));
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition: {
      const std::string row = m_editor->ListStr(m_editor->Row());
      const int byte = std::min(m_editor->ColToByteIndex(m_editor->Row(), m_editor->Col()), static_cast<int>(row.size()));
      return static_cast<int>(DecodeCp932(std::string_view(row).substr(0, static_cast<std::size_t>(byte))).size());
    }
    default: return QAbstractScrollArea::inputMethodQuery(query);
  }
}

void TEditorView::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  m_editor->SetFocused(true);
  RestartBlink();
  viewport()->update(CaretRect().adjusted(-1, -1, 1, 1));
}

void TEditorView::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  m_editor->SetFocused(false);
  m_blink.stop();
  viewport()->update(CaretRect().adjusted(-1, -1, 1, 1));
  // Opening a menu or the popup, or another window coming to the front, is no
  // move of the focus to another control.
  const Qt::FocusReason reason = event->reason();
  if (reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason && reason != Qt::ActiveWindowFocusReason)
    emit FocusLost();
}

namespace {

TKeyState KeyStateOf(Qt::KeyboardModifiers modifiers) {
  TKeyState state;
  state.Shift = modifiers & Qt::ShiftModifier;
  state.Ctrl = modifiers & Qt::ControlModifier;
  return state;
}

}  // namespace

// The mouse goes to the core, which selects, extends, selects rows from the
// left bar and drags selected text.
void TEditorView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  const QPoint at = event->position().toPoint();
  m_mouseSelecting = true;
  m_editor->MouseDown(at.x(), at.y(), KeyStateOf(event->modifiers()));
  viewport()->update();
}

void TEditorView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  m_editor->MouseMove(at.x(), at.y(), m_mouseSelecting && (event->buttons() & Qt::LeftButton),
                      KeyStateOf(event->modifiers()));
  if (m_mouseSelecting) viewport()->update();
}

void TEditorView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !m_mouseSelecting) return;
  m_mouseSelecting = false;
  const QPoint at = event->position().toPoint();
  m_editor->MouseUp(at.x(), at.y(), KeyStateOf(event->modifiers()));
  viewport()->update();
}

void TEditorView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  m_editor->DblClick();
  viewport()->update();
}

void TEditorView::wheelEvent(QWheelEvent* event) {
  const int notches = event->angleDelta().y() / 120;
  if (notches == 0) return;
  const int oldTop = m_editor->TopRow();
  m_editor->SetTopRow(oldTop - notches * m_scrollLine);
  UpdateScrollBars();
  ScrolledFrom(oldTop, m_editor->TopCol());
  event->accept();
}

void TEditorView::contextMenuEvent(QContextMenuEvent* event) { emit PopupRequested(event->globalPos()); }

}  // namespace nuv
