// The extended editor: find and replace over the editor's text with the
// regular-expression engine, the marks that show spaces, tabs and find hits,
// vertical guide lines and word selection on double click. The same search
// serves a shown editor and a hidden one (the outline-wide find).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/NotifyPersistent.h"
#include "editor/Editor.h"
#include "outline/PageEditor.h"
#include "regex/AwkStr.h"

namespace nuv {

constexpr std::uint32_t kMarkGray = 0x808080;
constexpr std::uint32_t kMarkBlack = 0x000000;

// A mark image: its colour (0xRRGGBB) and whether it is drawn.
class TEditorMark : public TEditorOption {
 public:
  std::uint32_t Color() const { return m_color; }
  void SetColor(std::uint32_t v) { Set(m_color, v); }
  bool Visible() const { return m_visible; }
  void SetVisible(bool v) { Set(m_visible, v); }

 private:
  std::uint32_t m_color = kMarkGray;
  bool m_visible = false;
};

class TEditorExMarks : public TNotifyPersistent {
 public:
  TEditorExMarks();
  TEditorMark& DBSpaceMark() { return m_marks[0]; }
  TEditorMark& SpaceMark() { return m_marks[1]; }
  TEditorMark& TabMark() { return m_marks[2]; }
  TEditorMark& FindMark() { return m_marks[3]; }

 private:
  TEditorMark m_marks[4];
};

struct TVerticalLine {
  int Position = 0;  // column
  std::uint32_t Color = kMarkBlack;
  bool Visible = true;
};

// The vertical guide lines; any change calls OnChange (a repaint).
class TVerticalLines {
 public:
  // A negative position is ignored (the line stays at column 0).
  TVerticalLine& Add(int position = 0, std::uint32_t color = kMarkBlack, bool visible = true);
  void Show() { SetAllVisible(true); }
  void Hide() { SetAllVisible(false); }
  int Count() const { return static_cast<int>(m_items.size()); }
  const TVerticalLine& Items(int i) const { return m_items[static_cast<std::size_t>(i)]; }
  void SetItem(int i, const TVerticalLine& line);
  void Clear();
  // The x of each visible line in the view, left of the text area excluded.
  std::vector<int> VisibleXs(int columnWidth, int leftMargin, int scrollOffset) const;

  std::function<void()> OnChange;

 private:
  void SetAllVisible(bool visible);
  void Changed() {
    if (OnChange) OnChange();
  }
  std::vector<TVerticalLine> m_items;
};

// A find mark of one row: start column and width in columns.
struct TFindSegment {
  int Col = 0;
  int Length = 0;
  bool operator==(const TFindSegment&) const = default;
};

// Character classes of the whole-word test: 0 blanks, punctuation and
// symbols (and outside the text), 1 ASCII words, 2 half-width katakana, 3
// full-width digits and letters, 4 full-width katakana, 5 hiragana, 6 kanji.
// `index` is 1-based; a trail byte is taken with its lead byte.
int CharKind(std::string_view s, int index);
// Whether the match at 1-based `pos` of `len` bytes is a whole word: its
// first and last characters differ in class from their outer neighbours.
bool IsWholeWord(std::string_view s, int pos, int len);
// The lowered text for a search without case: ASCII letters at character
// starts only (a trail byte such as the 41 of 83 41 stays).
std::string LowerSjis(std::string_view s);
// "\r\n" written as text (either case) becomes CR LF, read at character starts.
std::string ExpandCrLfText(std::string_view s);

class TEditorEx : public TEditor {
 public:
  static constexpr int kMaxHitLength = 250;
  // Find-mark segments kept for one row, so a row of repeated one-byte
  // matches costs a bounded paint.
  static constexpr int kMaxRowSegments = 1000;
  // Rows of a logical line searched at once for find marks.
  static constexpr int kWindowRows = 256;

  TEditorEx();

  TEditorExMarks& ExMarks() { return m_exMarks; }
  const std::string& FindString() const { return m_findString; }
  void SetFindString(std::string_view pattern);
  TExSearchOptions ExSearchOptions() const { return m_options; }
  // Stores the normalised set.
  void SetExSearchOptions(TExSearchOptions options);
  static TExSearchOptions NormalizeSearchOptions(TExSearchOptions options);
  TVerticalLines& VerticalLines() { return m_verticalLines; }

  // 1-based position of the first (last) match of the find string in s with
  // its length; 0 when none, the find string is empty or the match is longer
  // than 250 bytes. A bad pattern throws the engine's error.
  int SearchPos(std::string_view s, int& len);
  int SearchRPos(std::string_view s, int& len);
  // The first acceptable match at or after byte `from` (a character start):
  // at most 250 bytes, a whole word when asked, not empty unless allowEmpty.
  // 0-based; false when none.
  // Where the next zero byte of a text lies (the engine's text ends there),
  // kept by a caller that searches one text from later and later starts, so
  // that many searches along a long text stay linear.
  struct TZeroCursor {
    bool known = false;
    std::size_t at = 0;
  };
  bool SearchFrom(std::string_view s, std::size_t from, bool allowEmpty, std::size_t& pos, std::size_t& len,
                  TZeroCursor* zero = nullptr);
  // The text a search compares, which SearchFrom takes: lowered without match case.
  std::string Folded(std::string_view s) const;

  // The whole logical line that holds `row`; empty outside the rows.
  std::string LineString(int row) const;
  // Fills the find-mark segments of a row and returns their number.
  int SearchLine(int row);
  const std::vector<TFindSegment>& FindSegments() const { return m_segments; }

  // Columns of the blanks a row shows marks for, within the first 1000
  // columns: full-width spaces, spaces and tabs (never a trail byte).
  struct TBlankMarks {
    std::vector<int> DBSpaces, Spaces, Tabs;
  };
  TBlankMarks BlankMarks(int row) const;

  bool Find();
  bool FindNext();
  bool FindPrev();
  bool Replace(std::string_view s, bool expandCrLf);
  // One undo step; sets the modified flag. Returns the number replaced.
  int ReplaceAll(std::string_view s, bool expandCrLf);

  // Fires OnDblClick, then selects the token at the caret.
  void DblClick();
  std::function<void()> OnDblClick;
  // Repaint requests of the marks, the find string and the lines.
  std::function<void()> OnRepaint;

  void DoChange(const TDrawInfo& info) override;

 private:
  // Compiles the pattern for the current options (throws on a bad one).
  void PrepareMatcher();
  // The first raw match at or after `from`: 0-based, false when none.
  bool RawMatch(std::string_view s, std::size_t from, std::size_t& pos, std::size_t& len, TZeroCursor& zero);
  // A search without match case or regular expression compares lowered texts.
  bool FoldsCase() const { return (m_options & (SearchOption(soMatchCase) | SearchOption(soRegexp))) == 0; }
  // The same without copying when nothing is lowered; `buffer` holds a copy.
  std::string_view FoldedView(std::string_view s, std::string& buffer) const;
  // The logical line of rows lineRow..end: the row itself when it is the
  // whole line, else the rows joined in `buffer`.
  std::string_view LineView(int lineRow, int end, std::string& buffer) const;
  bool PatternHasCrLf() const;
  // Shows a hit of `len` bytes at byte `offset` of the logical line from `lineRow`.
  void ShowHit(int lineRow, std::int64_t offset, int len);
  // The start of the next search: the caret's line, byte offset in it.
  void SearchStart(int& lineRow, std::int64_t& offset) const;
  void Repaint() {
    if (OnRepaint) OnRepaint();
  }

  TEditorExMarks m_exMarks;
  std::string m_findString;
  std::string m_foldedPattern;
  TExSearchOptions m_options = 0;
  TVerticalLines m_verticalLines;
  TAWKStr m_matcher;
  bool m_matcherReady = false;
  std::vector<TFindSegment> m_segments;
  // The logical line last searched for find marks and the matches of a
  // window of its rows, valid while the text, the pattern and the options
  // are unchanged.
  struct TLineMatches {
    bool valid = false;
    int lineRow = -1;
    std::uint64_t change = 0;
    std::vector<std::size_t> rowStarts;  // byte start of each row of the line
    int winFirst = -1, winLast = -1;     // rows (from lineRow) the matches cover
    std::vector<std::pair<std::size_t, std::size_t>> matches;  // (start, length) in the line
  } m_lineMatches;
  std::uint64_t m_changeCount = 0;
};

}  // namespace nuv
