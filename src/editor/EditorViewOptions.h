// The view options of the editor (image bar, line-number bar, ruler, marks,
// guide lines, colours, font) and the pixel geometry they give, without any
// window: the widget paints from them, the settings code sets them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/EditorOptions.h"

namespace nuv {

// Colours are 0x00BBGGRR, or 0x80000000 plus a system colour index; "none"
// stands for the editor's default colour.
using TViewColor = std::int32_t;
constexpr TViewColor kViewColorNone = 0x1FFFFFFF;
constexpr TViewColor kViewBlack = 0x000000;
constexpr TViewColor kViewWhite = 0xFFFFFF;
constexpr TViewColor kViewSilver = 0xC0C0C0;
constexpr TViewColor kViewGray = 0x808080;

class TEditorImagebar : public TEditorOption {
 public:
  int DigitWidth() const { return m_digitWidth; }
  void SetDigitWidth(int v) { Set(m_digitWidth, Clamp(v, 0, 100)); }
  int LeftMargin() const { return m_leftMargin; }
  void SetLeftMargin(int v) { Set(m_leftMargin, Clamp(v, 0, 100)); }
  int MarkWidth() const { return m_markWidth; }
  void SetMarkWidth(int v) { Set(m_markWidth, Clamp(v, 0, 100)); }
  int RightMargin() const { return m_rightMargin; }
  void SetRightMargin(int v) { Set(m_rightMargin, Clamp(v, 0, 100)); }
  bool Visible() const { return m_visible; }
  void SetVisible(bool v) { Set(m_visible, v); }
  // Pixels taken from the left when visible.
  int Width() const { return m_visible ? m_leftMargin + m_digitWidth + m_markWidth + m_rightMargin : 0; }

 private:
  int m_digitWidth = 8;
  int m_leftMargin = 2;
  int m_markWidth = 0;
  int m_rightMargin = 2;
  bool m_visible = true;
};

enum class TEditorShowNumberMode { nmRow, nmLine };

class TEditorLeftbar : public TEditorOption {
 public:
  TViewColor BkColor() const { return m_bkColor; }
  void SetBkColor(TViewColor v) { Set(m_bkColor, v); }
  TViewColor Color() const { return m_color; }
  void SetColor(TViewColor v) { Set(m_color, v); }
  // The least number of digits shown.
  int Column() const { return m_column; }
  void SetColumn(int v) { Set(m_column, Clamp(v, 1, 8)); }
  bool Edge() const { return m_edge; }
  void SetEdge(bool v) { Set(m_edge, v); }
  int LeftMargin() const { return m_leftMargin; }
  void SetLeftMargin(int v) { Set(m_leftMargin, Clamp(v, 0, 100)); }
  int RightMargin() const { return m_rightMargin; }
  void SetRightMargin(int v) { Set(m_rightMargin, Clamp(v, 0, 100)); }
  bool ShowNumber() const { return m_showNumber; }
  void SetShowNumber(bool v) { Set(m_showNumber, v); }
  TEditorShowNumberMode ShowNumberMode() const { return m_mode; }
  void SetShowNumberMode(TEditorShowNumberMode v) { Set(m_mode, v); }
  bool Visible() const { return m_visible; }
  void SetVisible(bool v) { Set(m_visible, v); }
  bool ZeroBase() const { return m_zeroBase; }
  void SetZeroBase(bool v) { Set(m_zeroBase, v); }
  bool ZeroLead() const { return m_zeroLead; }
  void SetZeroLead(bool v) { Set(m_zeroLead, v); }

 private:
  TViewColor m_bkColor = kViewSilver;
  TViewColor m_color = kViewBlack;
  int m_column = 4;
  bool m_edge = true;
  int m_leftMargin = 8;
  int m_rightMargin = 4;
  bool m_showNumber = true;
  TEditorShowNumberMode m_mode = TEditorShowNumberMode::nmRow;
  bool m_visible = false;
  bool m_zeroBase = false;
  bool m_zeroLead = false;
};

class TEditorRuler : public TEditorOption {
 public:
  TViewColor BkColor() const { return m_bkColor; }
  void SetBkColor(TViewColor v) { Set(m_bkColor, v); }
  TViewColor Color() const { return m_color; }
  void SetColor(TViewColor v) { Set(m_color, v); }
  bool Edge() const { return m_edge; }
  void SetEdge(bool v) { Set(m_edge, v); }
  // 8 or 10: clamped to 8..10 and lowered to an even number.
  int GaugeRange() const { return m_gaugeRange; }
  void SetGaugeRange(int v) { Set(m_gaugeRange, Clamp(v, 8, 10) & ~1); }
  TViewColor MarkColor() const { return m_markColor; }
  void SetMarkColor(TViewColor v) { Set(m_markColor, v); }
  bool Visible() const { return m_visible; }
  void SetVisible(bool v) { Set(m_visible, v); }
  int Height() const { return m_visible ? (m_edge ? 11 : 10) : 0; }

 private:
  TViewColor m_bkColor = kViewSilver;
  TViewColor m_color = kViewBlack;
  bool m_edge = true;
  int m_gaugeRange = 10;
  TViewColor m_markColor = kViewBlack;
  bool m_visible = false;
};

class TEditorMark : public TEditorOption {
 public:
  TViewColor Color() const { return m_color; }
  void SetColor(TViewColor v) { Set(m_color, v); }
  bool Visible() const { return m_visible; }
  void SetVisible(bool v) { Set(m_visible, v); }

 private:
  TViewColor m_color = kViewGray;
  bool m_visible = false;
};

// The row marks drawn by the editor itself: end of text, line break, wrap,
// a row cut at the column limit, and the caret-row underline.
class TEditorMarks : public TEditorOption {
 public:
  TEditorMarks();
  TEditorMark EofMark, RetMark, WrapMark, HideMark, Underline;
};

// The marks of characters: full-width spaces, spaces, tabs and find matches.
class TEditorExMarks : public TEditorOption {
 public:
  TEditorExMarks();
  TEditorMark DBSpaceMark, SpaceMark, TabMark, FindMark;
};

// A vertical guide line at a column; a negative position is not drawn.
struct TVerticalLine {
  int Position = 0;
  TViewColor Color = kViewBlack;
  bool Visible = true;
  bool operator==(const TVerticalLine&) const = default;
};

class TVerticalLines : public TEditorOption {
 public:
  const std::vector<TVerticalLine>& Items() const { return m_items; }
  void SetItems(std::vector<TVerticalLine> items) { Set(m_items, std::move(items)); }
  void Add(const TVerticalLine& line);
  void Show() { SetAllVisible(true); }
  void Hide() { SetAllVisible(false); }
  // Item 0, created at column 0 when there is none.
  void SetFirst(const TVerticalLine& line);
  // The x of each visible line in the view; a line left of the text area
  // (scrolled out, or at a negative column) is not drawn.
  std::vector<int> VisibleXs(int columnWidth, int leftMargin, int scrollOffset) const;

 private:
  void SetAllVisible(bool visible);
  std::vector<TVerticalLine> m_items;
};

enum class TScrollBars { None, Horizontal, Vertical, Both };

// Everything the painter reads besides the rows and the fountain colours.
// OnChange of the aggregate fires for a change of any part.
class TEditorViewOptions : public TEditorOption {
 public:
  TEditorViewOptions();
  TEditorViewOptions(const TEditorViewOptions&) = delete;
  TEditorViewOptions& operator=(const TEditorViewOptions&) = delete;

  TEditorImagebar Imagebar;
  TEditorLeftbar Leftbar;
  TEditorRuler Ruler;
  TEditorMarks Marks;
  TEditorExMarks ExMarks;
  TVerticalLines VerticalLines;

  // The background of the text.
  TViewColor Color() const { return m_color; }
  void SetColor(TViewColor v) { Set(m_color, v); }
  TViewColor FontColor() const { return m_fontColor; }
  void SetFontColor(TViewColor v) { Set(m_fontColor, v); }
  // Font family as the settings name it (Shift JIS), and size in points.
  const std::string& FontName() const { return m_fontName; }
  void SetFontName(std::string v) { Set(m_fontName, std::move(v)); }
  int FontSize() const { return m_fontSize; }
  void SetFontSize(int v) { Set(m_fontSize, Clamp(v, 1, 200)); }
  TScrollBars ScrollBars() const { return m_scrollBars; }
  void SetScrollBars(TScrollBars v) { Set(m_scrollBars, v); }

  // The look of the main window's page editor.
  void InitPageEditorDefaults();

 private:
  TViewColor m_color = kViewWhite;
  TViewColor m_fontColor = kViewBlack;
  std::string m_fontName;
  int m_fontSize = 10;
  TScrollBars m_scrollBars = TScrollBars::Both;
};

// Font metrics in pixels, measured by the widget.
struct TFontMetrics {
  int Height = 16;          // ascent + descent
  int ExternalLeading = 0;
  int AveCharWidth = 8;
};

// The pixel grid of the editor (see the design note of the view).
struct TEditorGeometry {
  int FontHeight = 16;     // FH
  int ColumnWidth = 8;     // CW
  int RowHeight = 16;      // RH
  int RulerHeight = 0;
  int TopMargin = 2;       // TM: Margin.Top + ruler
  int ImagebarWidth = 0;   // IBW
  int LeftbarDigits = 4;   // D
  int LeftbarWidth = 0;    // LBW
  int LeftMargin = 19;     // LM: Margin.Left + IBW + LBW
  int VisibleRows = 1;
  int VisibleColumns = 1;
};

// Digits of the largest number the line-number bar shows (at least 1).
int NumberDigits(std::int64_t number);
// `largestNumber` is the largest line number to show; width and height are
// the text area's client size less any scroll bars.
TEditorGeometry ComputeGeometry(const TEditorViewOptions& view, const TEditorMargin& margin, const TFontMetrics& font,
                                std::int64_t largestNumber, int width, int height);

}  // namespace nuv
