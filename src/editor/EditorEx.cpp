// The extended editor's find and replace, its find marks and the character
// classes of the whole-word test.
#include "editor/EditorEx.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <set>

#include "base/Codec.h"
#include "base/Sjis.h"
#include "regex/WChar.h"

namespace nuv {

namespace {

// The full-width symbols of class 0 (the iteration marks of the same code
// range are not among them: they belong to the word around them).
const char* const kSymbolsUtf8 =
    "　、。，．・：；？！゛゜´｀¨＾￣＿〇ー―‐／＼～∥｜…‥‘’“”（）〔〕［］｛｝〈〉《》「」『』【】＋－±×÷＝≠＜＞≦≧∞∴"
    "♂♀°′″℃￥＄￠￡％＃＆＊＠§☆★○●◎◇◆□■△▲▽";

const std::set<unsigned>& SymbolCodes() {
  static const std::set<unsigned> codes = [] {
    std::set<unsigned> out;
    const std::string sjis = SjisFromLiteral(kSymbolsUtf8);
    for (std::size_t i = 0; i + 1 < sjis.size(); i += 2) {
      out.insert(static_cast<unsigned>(static_cast<unsigned char>(sjis[i])) << 8 | static_cast<unsigned char>(sjis[i + 1]));
    }
    return out;
  }();
  return codes;
}

int SingleByteKind(unsigned char b) {
  if (b == 9 || b == 10 || b == 13 || (b >= 32 && b <= 44) || b == 46 || b == 47 || (b >= 58 && b <= 64) ||
      (b >= 91 && b <= 96) || (b >= 123 && b <= 126))
    return 0;
  if (b >= 1 && b <= 127) return 1;
  if ((b >= 166 && b <= 223) || b == 162 || b == 163) return 2;
  return 0;  // 0, 128-161, 164, 165, 224-255
}

int DoubleByteKind(unsigned code) {
  if (code >= 0x889F) return 6;
  if (code >= 0x824F && code <= 0x829A) return 3;
  if (code >= 0x829F && code <= 0x82F1) return 5;
  if (code >= 0x8340 && code <= 0x8396) return 4;
  // Iteration and repetition marks join the word they follow.
  if (code == 0x8152 || code == 0x8153) return 4;         // ヽ ヾ
  if (code == 0x8154 || code == 0x8155) return 5;         // ゝ ゞ
  if (code >= 0x8156 && code <= 0x8159) return 6;         // 〃 仝 々 〆
  if (SymbolCodes().count(code) != 0) return 0;
  return 0;
}

// The class of the character that starts at byte i (a character start).
int KindAt(std::string_view s, std::size_t i) {
  if (i >= s.size()) return 0;
  const unsigned char b = static_cast<unsigned char>(s[i]);
  if (CharLength(s, i) == 2) return DoubleByteKind(static_cast<unsigned>(b) << 8 | static_cast<unsigned char>(s[i + 1]));
  return SingleByteKind(b);
}

// The start of the character before the character start j > 0.
std::size_t PrevCharStart(std::string_view s, std::size_t j) {
  if (j >= 2 && CharLength(s, j - 2) == 2 && IsCharBoundaryFrom(s, 0, j - 2)) return j - 2;
  return j - 1;
}

bool IsAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }

void LowerInPlace(std::string& s) {
  // Only capital letters are looked at; whether one is a character of its
  // own or a trail byte is decided from the last known character start.
  std::size_t from = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (!IsAsciiUpper(s[i]) || !IsCharBoundaryFrom(s, from, i)) continue;
    s[i] = static_cast<char>(s[i] - 'A' + 'a');
    from = i + 1;
  }
}

}  // namespace

int CharKind(std::string_view s, int index) {
  if (index < 1 || static_cast<std::size_t>(index) > s.size()) return 0;
  std::size_t i = static_cast<std::size_t>(index - 1);
  if (!IsCharBoundaryFrom(s, 0, i)) --i;
  return KindAt(s, i);
}

bool IsWholeWord(std::string_view s, int pos, int len) {
  if (pos <= 0 || static_cast<std::size_t>(pos) > s.size() || len <= 0) return false;
  const std::size_t start = static_cast<std::size_t>(pos - 1);
  const std::size_t end = std::min(s.size(), start + static_cast<std::size_t>(len));
  const int before = start == 0 ? 0 : KindAt(s, PrevCharStart(s, start));
  const int after = end >= s.size() ? 0 : KindAt(s, end);
  return KindAt(s, start) != before && KindAt(s, PrevCharStart(s, end)) != after;
}

std::string LowerSjis(std::string_view s) {
  std::string out(s);
  LowerInPlace(out);
  return out;
}

std::string ExpandCrLfText(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    if (s[i] == '\\' && i + 3 < s.size() && (s[i + 1] == 'r' || s[i + 1] == 'R') && s[i + 2] == '\\' &&
        (s[i + 3] == 'n' || s[i + 3] == 'N')) {
      out += "\r\n";
      i += 4;
      continue;
    }
    const std::size_t l = CharLength(s, i);
    out.append(s, i, l);
    i += l;
  }
  return out;
}

// ---- marks and lines -------------------------------------------------------------

TEditorExMarks::TEditorExMarks() {
  for (TEditorMark& mark : m_marks) mark.OnChange = [this](TNotifyPersistent&) { Changed(); };
}

TVerticalLine& TVerticalLines::Add(int position, std::uint32_t color, bool visible) {
  m_items.push_back({std::max(0, position), color, visible});
  Changed();
  return m_items.back();
}

void TVerticalLines::SetItem(int i, const TVerticalLine& line) {
  if (i < 0 || i >= Count()) return;
  TVerticalLine& item = m_items[static_cast<std::size_t>(i)];
  if (line.Position >= 0) item.Position = line.Position;
  item.Color = line.Color;
  item.Visible = line.Visible;
  Changed();
}

void TVerticalLines::Clear() {
  m_items.clear();
  Changed();
}

void TVerticalLines::SetAllVisible(bool visible) {
  for (TVerticalLine& item : m_items) item.Visible = visible;
  Changed();
}

std::vector<int> TVerticalLines::VisibleXs(int columnWidth, int leftMargin, int scrollOffset) const {
  std::vector<int> xs;
  for (const TVerticalLine& item : m_items) {
    if (!item.Visible) continue;
    const int x = item.Position * columnWidth + leftMargin - scrollOffset;
    if (x >= leftMargin) xs.push_back(x);
  }
  return xs;
}

// ---- options -----------------------------------------------------------------------

TEditorEx::TEditorEx() {
  m_exMarks.OnChange = [this](TNotifyPersistent&) { Repaint(); };
  m_verticalLines.OnChange = [this] { Repaint(); };
  // The editor searches texts cut at their zero bytes itself.
  m_matcher.SetZeroFree(true);
}

TExSearchOptions TEditorEx::NormalizeSearchOptions(TExSearchOptions options) {
  TExSearchOptions out = 0;
  if (HasSearchOption(options, soMatchCase)) {
    out |= SearchOption(soMatchCase);
  } else if (HasSearchOption(options, soRegexp)) {
    out |= SearchOption(soRegexp);
    if (HasSearchOption(options, soFuzzy)) out |= SearchOption(soFuzzy);
  }
  if (HasSearchOption(options, soWholeWord)) out |= SearchOption(soWholeWord);
  return out;
}

void TEditorEx::SetFindString(std::string_view pattern) {
  if (pattern == m_findString) return;
  m_findString.assign(pattern);
  m_matcherReady = false;
  ++m_changeCount;
  if (m_exMarks.FindMark().Visible()) Repaint();
}

void TEditorEx::SetExSearchOptions(TExSearchOptions options) {
  options = NormalizeSearchOptions(options);
  if (options == m_options) return;
  m_options = options;
  m_matcherReady = false;
  ++m_changeCount;
  if (m_exMarks.FindMark().Visible()) Repaint();
}

void TEditorEx::DoChange(const TDrawInfo& info) {
  ++m_changeCount;
  TEditor::DoChange(info);
}

// ---- matching ----------------------------------------------------------------------

void TEditorEx::PrepareMatcher() {
  if (HasSearchOption(m_options, soRegexp)) {
    // Both are cheap when unchanged; the pattern throws when it is bad.
    m_matcher.SetUseFuzzyCharDic(HasSearchOption(m_options, soFuzzy));
    m_matcher.SetRegExp(m_findString);
  } else {
    m_foldedPattern = HasSearchOption(m_options, soMatchCase) ? m_findString : LowerSjis(m_findString);
  }
  m_matcherReady = true;
}

std::string TEditorEx::Folded(std::string_view s) const {
  std::string buffer;
  return std::string(FoldedView(s, buffer));
}

std::string_view TEditorEx::FoldedView(std::string_view s, std::string& buffer) const {
  if (FoldsCase()) {
    buffer.assign(s);
    LowerInPlace(buffer);
    return buffer;
  }
  return s;
}

std::string_view TEditorEx::LineView(int lineRow, int end, std::string& buffer) const {
  if (end == lineRow) return List().Get(lineRow);
  buffer.clear();
  for (int r = lineRow; r <= end; ++r) buffer += List().Get(r);
  return buffer;
}

bool TEditorEx::PatternHasCrLf() const {
  return HasSearchOption(m_options, soRegexp) && LowerSjis(m_findString).find("\\r\\n") != std::string::npos;
}

bool TEditorEx::RawMatch(std::string_view s, std::size_t from, std::size_t& pos, std::size_t& len, TZeroCursor& zero) {
  if (!HasSearchOption(m_options, soRegexp)) {
    if (m_foldedPattern.empty() || m_foldedPattern.size() > s.size()) return false;
    for (;;) {
      const std::size_t at = FindAtCharBoundary(s, m_foldedPattern, from);
      if (at == std::string_view::npos) return false;
      // The match must also end at a character start (a pattern ending in a
      // lead byte never takes half of a character).
      std::size_t end = at;
      while (end < at + m_foldedPattern.size()) end += CharLength(s, end);
      if (end == at + m_foldedPattern.size()) {
        pos = at;
        len = m_foldedPattern.size();
        return true;
      }
      from = at + CharLength(s, at);
    }
  }
  // The engine's text ends at a zero byte: search up to the next one, then
  // go on after it.
  for (;;) {
    if (from > s.size()) return false;
    if (!zero.known || zero.at < from) {
      const void* nul = std::memchr(s.data() + from, 0, s.size() - from);
      zero.at = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - s.data()) : s.size();
      zero.known = true;
    }
    const std::size_t stop = zero.at;
    int position = 0, length = 0;
    if (m_matcher.Match(s.substr(0, stop), from, position, length) > 0) {
      pos = static_cast<std::size_t>(position - 1);
      len = static_cast<std::size_t>(length);
      return true;
    }
    if (stop >= s.size()) return false;
    from = stop + 1;
  }
}

bool TEditorEx::SearchFrom(std::string_view s, std::size_t from, bool allowEmpty, std::size_t& pos, std::size_t& len,
                           TZeroCursor* zero) {
  if (m_findString.empty()) return false;
  TZeroCursor local;
  if (!zero) zero = &local;
  if (!m_matcherReady) PrepareMatcher();
  const bool wholeWord = HasSearchOption(m_options, soWholeWord);
  while (from <= s.size()) {
    std::size_t p = 0, l = 0;
    if (!RawMatch(s, from, p, l, *zero)) return false;
    const bool accepted = l <= static_cast<std::size_t>(kMaxHitLength) && (l > 0 || allowEmpty) &&
                          (!wholeWord || IsWholeWord(s, static_cast<int>(p) + 1, static_cast<int>(l)));
    if (accepted) {
      pos = p;
      len = l;
      return true;
    }
    // On after the match; after an empty one by one character.
    from = l > 0 ? p + l : p < s.size() ? p + CharLength(s, p) : s.size() + 1;
  }
  return false;
}

int TEditorEx::SearchPos(std::string_view s, int& len) {
  len = 0;
  if (m_findString.empty()) return 0;
  PrepareMatcher();
  const std::string text = Folded(s);
  std::size_t p = 0, l = 0;
  if (!SearchFrom(text, 0, true, p, l)) return 0;
  len = static_cast<int>(l);
  return static_cast<int>(p) + 1;
}

int TEditorEx::SearchRPos(std::string_view s, int& len) {
  len = 0;
  if (m_findString.empty()) return 0;
  PrepareMatcher();
  const std::string text = Folded(s);
  std::size_t from = 0, p = 0, l = 0;
  int found = 0;
  TZeroCursor zero;
  while (SearchFrom(text, from, true, p, l, &zero)) {
    found = static_cast<int>(p) + 1;
    len = static_cast<int>(l);
    from = l > 0 ? p + l : p < text.size() ? p + CharLength(text, p) : text.size() + 1;
  }
  return found;
}

// ---- find ----------------------------------------------------------------------------

std::string TEditorEx::LineString(int row) const {
  if (row < 0 || row >= List().GetCount()) return std::string();
  std::string s = List().ListInfo(List().RowStart(row), -1);
  if (s.size() >= 2 && s.compare(s.size() - 2, 2, "\r\n") == 0) s.resize(s.size() - 2);
  return s;
}

void TEditorEx::SearchStart(int& lineRow, std::int64_t& offset) const {
  const TSelectedPosition d = SelDraw();
  const bool hit = HitSelLength() > 0 && Selected();
  const int row = hit ? d.StartRow : Row();
  const int col = hit ? d.StartCol : Col();
  const int rows = List().GetCount();
  if (row >= rows) {
    lineRow = rows;
    offset = 0;
    return;
  }
  lineRow = List().RowStart(row);
  offset = GetSelIndex(lineRow, row, col) + (hit ? HitSelLength() : 0);
  // A hit across line breaks ends in a later line.
  for (;;) {
    const int end = List().RowEnd(lineRow);
    const std::int64_t size = GetSelIndex(lineRow, end, 0) + static_cast<std::int64_t>(List().Get(end).size());
    if (offset <= size || end + 1 >= rows) {
      offset = std::min(offset, size);
      return;
    }
    offset -= size + 2;
    lineRow = end + 1;
  }
}

void TEditorEx::ShowHit(int lineRow, std::int64_t offset, int len) {
  CaretBeginUpdate();
  CleanSelection();
  SetSelIndex(lineRow, offset);
  SetHitSelLength(len);
  ScrollCaret();
  CaretEndUpdate();
}

bool TEditorEx::Find() {
  if (m_findString.empty()) return false;
  PrepareMatcher();
  const std::string text = Folded(List().ListToStr());
  const std::int64_t start = SelStart() + HitSelLength();
  std::size_t p = 0, l = 0;
  if (start > static_cast<std::int64_t>(text.size()) || !SearchFrom(text, static_cast<std::size_t>(start), false, p, l)) {
    return false;
  }
  ShowHit(0, static_cast<std::int64_t>(p), static_cast<int>(l));
  return true;
}

bool TEditorEx::FindNext() {
  if (m_findString.empty()) return false;
  PrepareMatcher();
  int lineRow = 0;
  std::int64_t offset = 0;
  SearchStart(lineRow, offset);
  CleanSelection();
  SetSelIndex(lineRow, offset);
  const int rows = List().GetCount();
  std::string joined, folded;
  for (; lineRow < rows; lineRow = List().RowEnd(lineRow) + 1, offset = 0) {
    const std::string_view line = FoldedView(LineView(lineRow, List().RowEnd(lineRow), joined), folded);
    std::size_t p = 0, l = 0;
    if (SearchFrom(line, static_cast<std::size_t>(offset), false, p, l)) {
      ShowHit(lineRow, static_cast<std::int64_t>(p), static_cast<int>(l));
      return true;
    }
  }
  return false;
}

bool TEditorEx::FindPrev() {
  if (m_findString.empty()) return false;
  PrepareMatcher();
  const int rows = List().GetCount();
  int row = Row(), col = Col();
  if (Selected()) {
    const TSelectedPosition d = SelDraw();
    row = d.StartRow;
    col = d.StartCol;
  }
  CleanSelection();
  int lineRow = rows;
  std::int64_t limit = 0;
  if (row < rows) {
    lineRow = List().RowStart(row);
    limit = GetSelIndex(lineRow, row, col);
  } else if (rows > 0) {
    // The row after the last line break: the previous lines are searched whole.
    lineRow = rows;
  }
  for (;;) {
    if (lineRow < rows) {
      std::string joined, folded;
      const std::string_view line = FoldedView(LineView(lineRow, List().RowEnd(lineRow), joined), folded);
      std::size_t from = 0, p = 0, l = 0, bestP = 0, bestL = 0;
      bool found = false;
      TZeroCursor zero;
      while (SearchFrom(line, from, false, p, l, &zero) && static_cast<std::int64_t>(p + l) <= limit) {
        found = true;
        bestP = p;
        bestL = l;
        from = p + l;
      }
      if (found) {
        ShowHit(lineRow, static_cast<std::int64_t>(bestP), static_cast<int>(bestL));
        return true;
      }
    }
    if (lineRow == 0) return false;
    lineRow = List().RowStart(lineRow - 1);
    limit = std::numeric_limits<std::int64_t>::max();
  }
}

bool TEditorEx::Replace(std::string_view s, bool expandCrLf) {
  if (m_findString.empty()) return false;
  PrepareMatcher();
  const std::string with = expandCrLf ? ExpandCrLfText(s) : std::string(s);
  // A hit still shown is replaced first; otherwise the next one is found.
  bool found = false;
  if (HitSelLength() > 0 && Selected()) {
    const TSelectedPosition d = SelDraw();
    const int lineRow = List().RowStart(d.StartRow);
    const std::int64_t offset = GetSelIndex(lineRow, d.StartRow, d.StartCol);
    const std::string text = PatternHasCrLf() ? Folded(List().ListToStr()) : Folded(LineString(lineRow));
    const std::int64_t base = PatternHasCrLf() ? GetSelIndex(0, lineRow, 0) : 0;
    std::size_t p = 0, l = 0;
    found = SearchFrom(text, static_cast<std::size_t>(base + offset), false, p, l) &&
            static_cast<std::int64_t>(p) == base + offset && static_cast<int>(l) == HitSelLength();
  }
  if (!found) found = PatternHasCrLf() ? Find() : FindNext();
  if (!found) return false;
  HitToSelected();
  if (ReadOnly()) return false;
  if (with.empty()) {
    ClearSelection();
  } else {
    SetSelText(with);
  }
  return true;
}

namespace {

// Every acceptable match of `folded` replaced by `with` in `text` (the same
// bytes before folding); an empty match puts `with` before the character it
// stands at. Returns the count.
template <typename TSearch>
int ReplaceIn(std::string_view text, std::string_view folded, const std::string& with, TSearch search, std::string& out) {
  int count = 0;
  std::size_t from = 0, last = 0, p = 0, l = 0;
  TEditorEx::TZeroCursor zero;
  out.clear();
  while (from <= folded.size() && search(folded, from, p, l, zero)) {
    out.append(text, last, p - last);
    out += with;
    ++count;
    if (l > 0) {
      from = last = p + l;
    } else if (p < text.size()) {
      const std::size_t cl = CharLength(text, p);
      out.append(text, p, cl);
      from = last = p + cl;
    } else {
      from = last = text.size() + 1;
    }
  }
  if (last < text.size()) out.append(text, last, std::string::npos);
  return count;
}

}  // namespace

int TEditorEx::ReplaceAll(std::string_view s, bool expandCrLf) {
  if (m_findString.empty() || ReadOnly()) return 0;
  PrepareMatcher();
  const std::string with = expandCrLf ? ExpandCrLfText(s) : std::string(s);
  auto search = [this](std::string_view t, std::size_t from, std::size_t& p, std::size_t& l, TZeroCursor& zero) {
    return SearchFrom(t, from, true, p, l, &zero);
  };
  const int rows = List().GetCount();
  int count = 0;
  std::string replaced;
  CaretBeginUpdate();
  CleanSelection();
  if (PatternHasCrLf()) {
    const std::string text = List().ListToStr();
    count = ReplaceIn(text, Folded(text), with, search, replaced);
    // Replacements that change nothing record no step.
    if (count > 0 && replaced != text) {
      List().UpdateList(0, rows, replaced);
      SetRowCol(0, 0);
    }
  } else {
    // Each logical line on its own; one replacement over the rows from the
    // first to the last changed line, so it is one undo step.
    int first = -1, last = -1;
    bool changed = false;
    std::string block, lineOut, joined, folded;
    for (int lineRow = 0; lineRow < rows;) {
      const int end = List().RowEnd(lineRow);
      const std::string_view line = LineView(lineRow, end, joined);
      const int n = ReplaceIn(line, FoldedView(line, folded), with, search, lineOut);
      count += n;
      if (n > 0 && lineOut != line) {
        if (first < 0) {
          first = lineRow;
        } else {
          // The unchanged lines since the last change go in as they are.
          block += List().ListInfo(last + 1, lineRow - last - 1);
        }
        block += lineOut;
        if (List().GetRows(end) == raCrlf) block += "\r\n";
        last = end;
        changed = true;
      }
      lineRow = end + 1;
    }
    if (changed) {
      List().UpdateList(first, last - first + 1, block);
      SetRowCol(first, 0);
    }
  }
  CaretEndUpdate();
  return count;
}

// ---- find marks ------------------------------------------------------------------------

int TEditorEx::SearchLine(int row) {
  m_segments.clear();
  const int rows = List().GetCount();
  if (m_findString.empty() || row < 0 || row >= rows) return 0;
  TLineMatches& cache = m_lineMatches;
  // Rows of the line searched last are found without walking back to its start.
  const bool cached = cache.valid && cache.change == m_changeCount && row >= cache.lineRow &&
                      row < cache.lineRow + static_cast<int>(cache.rowStarts.size());
  const int lineRow = cached ? cache.lineRow : List().RowStart(row);
  if (!cached) {
    cache.valid = false;
    cache.rowStarts.clear();
    std::size_t start = 0;
    for (int r = lineRow, end = List().RowEnd(lineRow); r <= end; ++r) {
      cache.rowStarts.push_back(start);
      start += List().Get(r).size();
    }
    cache.lineRow = lineRow;
    cache.change = m_changeCount;
    cache.winFirst = cache.winLast = -1;
    cache.valid = true;
  }
  const int index = row - lineRow;
  if (index < cache.winFirst || index > cache.winLast) {
    // A window of rows is searched once per change, not once per row (and
    // not the whole of a long line for the few rows a paint shows). It starts
    // 250 bytes before its first row, so a hit begun on an earlier row is
    // found, with one more row before that for the whole-word test.
    cache.matches.clear();
    cache.winFirst = cache.winLast = -1;
    try {
      PrepareMatcher();
    } catch (...) {
      // A bad pattern marks nothing; the find itself reports the error.
      return 0;
    }
    const std::vector<std::size_t>& starts = cache.rowStarts;
    const int count = static_cast<int>(starts.size());
    const std::size_t back = static_cast<std::size_t>(kMaxHitLength);
    int first = index;
    while (first > 0 && starts[static_cast<std::size_t>(index)] - starts[static_cast<std::size_t>(first)] < back) --first;
    const int context = std::max(0, first - 1);
    const int last = std::min(count - 1, index + kWindowRows - 1);
    int tail = last;
    const std::size_t windowEnd = starts[static_cast<std::size_t>(last)] + List().Get(lineRow + last).size();
    while (tail + 1 < count && starts[static_cast<std::size_t>(tail + 1)] < windowEnd + back) ++tail;
    std::string text;
    for (int r = context; r <= tail; ++r) text += List().Get(lineRow + r);
    if (FoldsCase()) LowerInPlace(text);
    const std::size_t base = starts[static_cast<std::size_t>(context)];
    std::size_t from = starts[static_cast<std::size_t>(first)] - base, p = 0, l = 0;
    TZeroCursor zero;
    while (from <= text.size() && SearchFrom(text, from, false, p, l, &zero) && base + p < windowEnd) {
      cache.matches.emplace_back(base + p, l);
      from = p + l;
    }
    cache.winFirst = index;
    cache.winLast = last;
  }
  const std::string& text = List().Get(row);
  const std::size_t a = cache.rowStarts[static_cast<std::size_t>(index)], b = a + text.size();
  // The first match that ends inside or after this row's start.
  auto it = std::lower_bound(cache.matches.begin(), cache.matches.end(), a,
                             [](const std::pair<std::size_t, std::size_t>& m, std::size_t at) { return m.first + m.second <= at; });
  if (it == cache.matches.end() || it->first >= b) return 0;
  std::string codes;
  StrToAttributes(text, codes);
  // Display column of each byte of the row (a trail byte has its lead's);
  // bytes past the column cap count one column each.
  std::vector<int> column(text.size() + 1, 0);
  std::size_t byte = 0;
  for (int c = 0, n = static_cast<int>(codes.size()); c < n && byte < text.size(); ++c) {
    const char code = codes[static_cast<std::size_t>(c)];
    if (code == kColTabRest) continue;
    column[byte] = code == kColTrail ? c - 1 : c;
    ++byte;
  }
  for (int c = static_cast<int>(codes.size()); byte <= text.size(); ++byte, ++c) column[byte] = c;
  for (; it != cache.matches.end() && it->first < b && static_cast<int>(m_segments.size()) < kMaxRowSegments; ++it) {
    const std::size_t s = std::max(it->first, a) - a;
    const std::size_t e = std::min(it->first + it->second, b) - a;
    const int c1 = column[s], c2 = column[e];
    if (c2 > c1) m_segments.push_back({c1, c2 - c1});
  }
  return static_cast<int>(m_segments.size());
}

TEditorEx::TBlankMarks TEditorEx::BlankMarks(int row) const {
  TBlankMarks marks;
  const std::string text = ListStr(row);
  const TColumnRules rules = Rules();
  int col = 0;
  for (std::size_t i = 0; i < text.size() && col < kMaxCol;) {
    const std::size_t l = CharLength(text, i);
    if (text[i] == '\t') {
      marks.Tabs.push_back(col);
      col += rules.TabAdvance(col);
    } else {
      if (text[i] == ' ') marks.Spaces.push_back(col);
      if (l == 2 && static_cast<unsigned char>(text[i]) == 0x81 && text[i + 1] == 0x40) marks.DBSpaces.push_back(col);
      col += static_cast<int>(l);
    }
    i += l;
  }
  return marks;
}

// ---- double click ----------------------------------------------------------------------

void TEditorEx::DblClick() {
  if (OnDblClick) OnDblClick();
  SelectTokenFromCaret();
}

}  // namespace nuv
