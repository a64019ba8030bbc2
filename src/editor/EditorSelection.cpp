// The selection of the editor core: line and box ranges, box text, block
// indentation, the clipboard rules, row marks, search hits and the mouse.
#include <algorithm>
#include <cstdlib>

#include "base/Sjis.h"
#include "editor/Editor.h"

namespace nuv {

namespace {

bool IsBlankAt(const std::string& s, std::size_t i) {
  if (i >= s.size()) return false;
  if (s[i] == ' ' || s[i] == '\t') return true;
  return i + 1 < s.size() && static_cast<unsigned char>(s[i]) == 0x81 && static_cast<unsigned char>(s[i + 1]) == 0x40;
}

}  // namespace

// ---- ranges ------------------------------------------------------------------------

TEditor::TSelRange TEditor::Selection() const {
  if (m_dragState != sdNone) return m_dragRange;
  const int ac = ClampToRowEnd(m_anchorRow, m_anchorCol), cc = ClampToRowEnd(m_row, m_col);
  const bool caretFirst = m_row < m_anchorRow || (m_row == m_anchorRow && cc < ac);
  if (caretFirst) return {m_row, cc, m_anchorRow, ac};
  return {m_anchorRow, ac, m_row, cc};
}

bool TEditor::Selected() const {
  if (m_selState < sstSelected) return false;
  if (m_selMode == smBox) return m_anchorCol != m_col;
  const TSelRange sel = Selection();
  return sel.startRow != sel.endRow || sel.startCol != sel.endCol;
}

TSelectedPosition TEditor::SelDraw() const {
  if (m_selMode == smBox && m_dragState == sdNone) {
    return {std::min(m_anchorRow, m_row), std::max(m_anchorRow, m_row), std::min(m_anchorCol, m_col),
            std::max(m_anchorCol, m_col)};
  }
  const TSelRange sel = Selection();
  return {sel.startRow, sel.endRow, sel.startCol, sel.endCol};
}

TSelectedPosition TEditor::SelStr() const {
  const TSelectedPosition d = SelDraw();
  if (m_selMode == smBox && m_dragState == sdNone) {
    return {d.StartRow, d.EndRow, BoxLeftIndex(ListStr(d.StartRow), d.StartCol),
            BoxRightIndex(ListStr(d.EndRow), d.EndCol) - 1};
  }
  const int start = std::min(ColToByteIndex(d.StartRow, d.StartCol), RowLength(d.StartRow));
  const int end = std::min(ColToByteIndex(d.EndRow, d.EndCol), RowLength(d.EndRow));
  return {d.StartRow, d.EndRow, start, end - 1};
}

int TEditor::BoxLeftIndex(const std::string& text, int col) const {
  std::string codes;
  StrToAttributes(text, codes);
  const int len = static_cast<int>(codes.size());
  if (col >= len) return static_cast<int>(text.size());
  // The left edge inside a tab takes the tab in; inside a double-byte
  // character it leaves the character out.
  while (col > 0 && codes[static_cast<std::size_t>(col)] == kColTabRest) --col;
  if (codes[static_cast<std::size_t>(col)] == kColTrail) ++col;
  return std::min(ColumnToByteIndex(codes, col), static_cast<int>(text.size()));
}

int TEditor::BoxRightIndex(const std::string& text, int col) const {
  std::string codes;
  StrToAttributes(text, codes);
  const int len = static_cast<int>(codes.size());
  if (col >= len) return static_cast<int>(text.size());
  // A character or tab the right edge cuts is taken in whole.
  while (col < len && (codes[static_cast<std::size_t>(col)] == kColTabRest || codes[static_cast<std::size_t>(col)] == kColTrail)) ++col;
  return std::min(ColumnToByteIndex(codes, col), static_cast<int>(text.size()));
}

std::int64_t TEditor::SelStart() const {
  if (!Selected()) return GetSelIndex(0, m_row, m_col);
  if (m_selMode == smBox && m_dragState == sdNone) {
    const TSelectedPosition s = SelStr();
    return GetSelIndex(0, s.StartRow, 0) + s.StartCol;
  }
  const TSelRange sel = Selection();
  return GetSelIndex(0, sel.startRow, sel.startCol);
}

std::int64_t TEditor::SelLength() const {
  if (!Selected()) return 0;
  if (m_selMode == smBox && m_dragState == sdNone) return static_cast<std::int64_t>(SelText().size());
  const TSelRange sel = Selection();
  return GetSelIndex(sel.startRow, sel.endRow, sel.endCol) -
         std::min(ColToByteIndex(sel.startRow, sel.startCol), RowLength(sel.startRow));
}

std::string TEditor::SelText() const {
  if (!Selected()) return std::string();
  if (m_selMode == smBox && m_dragState == sdNone) {
    const TSelectedPosition d = SelDraw();
    std::string out;
    for (int r = d.StartRow; r <= d.EndRow; ++r) {
      const std::string text = ListStr(r);
      const int left = BoxLeftIndex(text, d.StartCol), right = BoxRightIndex(text, d.EndCol);
      if (r > d.StartRow) out += "\r\n";
      if (right > left) out.append(text, static_cast<std::size_t>(left), static_cast<std::size_t>(right - left));
    }
    return out;
  }
  const TSelRange sel = Selection();
  const int rows = m_list->GetCount();
  const std::string text = m_list->ListInfo(sel.startRow, std::min(sel.endRow, rows - 1) - sel.startRow + 1);
  const std::size_t start = static_cast<std::size_t>(std::min(ColToByteIndex(sel.startRow, sel.startCol), RowLength(sel.startRow)));
  return text.substr(std::min(start, text.size()), static_cast<std::size_t>(SelLength()));
}

// ---- states ------------------------------------------------------------------------

void TEditor::SelectionChanged() {
  const bool selected = Selected();
  if (OnSelectionChange && (selected || m_wasSelected)) OnSelectionChange(selected);
  m_wasSelected = selected;
}

void TEditor::CleanSelection() {
  const bool was = m_selState != sstNone;
  m_selState = sstNone;
  // A drag needs the selection it started from.
  m_dragState = sdNone;
  m_hitLength = 0;
  m_mouseSelecting = false;
  m_rowSelecting = false;
  if (was) SelectionChanged();
}

void TEditor::InitSelection() {
  CleanSelection();
  m_selState = sstInit;
  m_anchorRow = m_row;
  m_anchorCol = m_selMode == smLine ? ClampToRowEnd(m_row, m_col) : m_col;
}

void TEditor::ExtendSelection() {
  if (m_selState == sstNone) return;
  if (m_selState == sstInit) m_selState = sstSelected;
  SelectionChanged();
}

void TEditor::Reselect(int anchorRow, int anchorCol, int row, int col) {
  SetRowCol(anchorRow, anchorCol);
  InitSelection();
  SetRowCol(row, col);
  ExtendSelection();
}

void TEditor::SetSelectionMode(TEditorSelectionMode mode) {
  if (mode == m_selMode || m_dragState == sdDragging) return;
  m_dragState = sdNone;  // a drag only prepared is given up
  m_selMode = mode;
  if (m_selState != sstNone) SelectionChanged();
  if (OnSelectionModeChange) OnSelectionModeChange();
}

void TEditor::SetSelStart(std::int64_t index) {
  CleanSelection();
  if (index <= 0) {
    SetRowCol(0, 0);
  } else {
    SetSelIndex(0, index);
  }
}

void TEditor::SelectLocal(int fromRow, std::int64_t start, std::int64_t length) {
  CleanSelection();
  SetSelIndex(fromRow, start);
  if (length <= 0) return;
  const int row = m_row, col = m_col;
  InitSelection();
  // Placing the end steps back to a character start, so it never splits one.
  SetSelIndex(fromRow, start + length);
  m_anchorRow = row;
  m_anchorCol = col;
  ExtendSelection();
}

void TEditor::SetSelLength(std::int64_t length) {
  if (m_selMode != smLine) SetSelectionMode(smLine);
  int row = m_row, col = m_col;
  if (Selected()) {
    const TSelRange sel = Selection();
    row = sel.startRow;
    col = sel.startCol;
  }
  const int fromRow = m_list->RowStart(row);
  SelectLocal(fromRow, GetSelIndex(fromRow, row, col), length);
}

void TEditor::SelectAll() {
  if (m_selMode != smLine) SetSelectionMode(smLine);
  SetRowCol(0, 0);
  InitSelection();
  SetSelIndex(0, m_list->TextLength());
  ExtendSelection();
}

// ---- edits of the selection ------------------------------------------------------

TEditor::TSelEdit TEditor::SelectionEdit(std::string_view insert) const {
  // The rows of the selection, with the selected part replaced by `insert`.
  const TSelRange sel = Selection();
  const int rows = m_list->GetCount();
  TSelEdit edit;
  edit.row = sel.startRow;
  edit.fromRow = m_list->RowStart(sel.startRow);
  const std::string first = ListStr(sel.startRow);
  const int sb = std::min(ColToByteIndex(sel.startRow, sel.startCol), static_cast<int>(first.size()));
  edit.caret = GetSelIndex(edit.fromRow, sel.startRow, sel.startCol) + static_cast<std::int64_t>(insert.size());
  edit.text = first.substr(0, static_cast<std::size_t>(sb));
  edit.text.append(insert);
  int lastRow = sel.endRow;
  if (sel.endRow < rows) {
    const std::string last = ListStr(sel.endRow);
    const int eb = std::min(ColToByteIndex(sel.endRow, sel.endCol), static_cast<int>(last.size()));
    edit.text.append(last, static_cast<std::size_t>(eb));
    m_list->CheckCrlf(sel.endRow, edit.text);
  } else {
    lastRow = rows - 1;
  }
  edit.count = std::max(0, lastRow - sel.startRow + 1);
  return edit;
}

void TEditor::ClearSelection() {
  if (!Selected() || m_readOnly) return;
  if (m_selMode == smBox) {
    ReplaceBox({});
    return;
  }
  const TSelEdit edit = SelectionEdit(std::string_view());
  CleanSelection();
  CaretBeginUpdate();
  ReplaceAndPlace(edit.row, edit.count, edit.text, edit.fromRow, edit.caret);
  CaretEndUpdate();
}

void TEditor::RewriteRows(int first, int last, const TRowEdit& edit) {
  const int rows = m_list->GetCount();
  first = std::clamp(first, 0, rows);
  const int lastOld = std::min(last, rows - 1);
  std::string text;
  for (int r = first; r <= lastOld; ++r) {
    text += edit(r, m_list->Get(r));
    if (m_list->GetRows(r) == raCrlf) text += "\r\n";
  }
  if (last >= rows) {
    // New rows: after a last row without a line break one is added first.
    bool needBreak = rows > 0 && m_list->GetRows(rows - 1) != raCrlf;
    for (int r = std::max(rows, first); r <= last; ++r) {
      if (needBreak) text += "\r\n";
      text += edit(r, std::string());
      needBreak = true;
    }
  }
  const int count = std::max(0, lastOld - first + 1);
  if (count > 0 && text == m_list->ListInfo(first, count)) return;
  m_list->UpdateList(first, count, text);
}

void TEditor::ReplaceBox(const std::vector<std::string>& lines) {
  if (m_readOnly) return;
  const bool box = m_selMode == smBox && Selected();
  const TSelectedPosition d = SelDraw();
  const int top = box ? d.StartRow : m_row;
  const int left = box ? d.StartCol : m_col;
  const int bottom = box ? d.EndRow : top - 1;
  const int n = static_cast<int>(lines.size());
  const int last = std::max(bottom, top + n - 1);
  CaretBeginUpdate();
  CleanSelection();
  RewriteRows(top, last, [&](int row, const std::string& original) {
    std::string text = original;
    if (row <= bottom) {
      const int l = BoxLeftIndex(text, d.StartCol), r = BoxRightIndex(text, d.EndCol);
      if (r > l) text.erase(static_cast<std::size_t>(l), static_cast<std::size_t>(r - l));
    }
    const int i = row - top;
    if (i < n && !lines[static_cast<std::size_t>(i)].empty()) {
      const int width = ExpandTabLength(text);
      if (left >= width) {
        text.append(static_cast<std::size_t>(left - width), ' ');
        text += lines[static_cast<std::size_t>(i)];
      } else {
        // Inside a double-byte character or a tab the line goes in at a
        // character boundary.
        text.insert(static_cast<std::size_t>(BoxLeftIndex(text, left)), lines[static_cast<std::size_t>(i)]);
      }
    }
    return text;
  });
  if (n > 0) {
    SetRowCol(top + n - 1, left + ExpandTabLength(lines.back()));
  } else {
    SetRowCol(top, left);
  }
  CaretEndUpdate();
}

void TEditor::SetSelTextBox(std::string_view s) {
  if (m_readOnly) return;
  if (m_selMode == smLine && Selected()) ClearSelection();
  ReplaceBox(StrToStrings(s));
}

void TEditor::ConvertSelection(const TTextConvert& convert) {
  if (m_readOnly || m_list->GetCount() == 0) return;
  if (!Selected()) {
    const std::string text = m_list->ListToStr();
    const std::string converted = convert(text);
    if (converted == text) return;
    const std::int64_t caret = GetSelIndex(0, m_row, m_col);
    // The caret keeps its place in the converted text.
    const std::int64_t at = static_cast<std::int64_t>(
        convert(std::string_view(text).substr(0, static_cast<std::size_t>(std::clamp<std::int64_t>(caret, 0, static_cast<std::int64_t>(text.size())))))
            .size());
    CaretBeginUpdate();
    CleanSelection();
    ReplaceAndPlace(0, m_list->GetCount(), converted, 0, std::min<std::int64_t>(at, static_cast<std::int64_t>(converted.size())));
    CaretEndUpdate();
    return;
  }
  if (m_selMode == smBox) {
    const TSelectedPosition d = SelDraw();
    const int last = std::min(d.EndRow, m_list->GetCount() - 1);
    int right = d.StartCol;
    CaretBeginUpdate();
    RewriteRows(d.StartRow, last, [&](int, const std::string& text) {
      const int l = BoxLeftIndex(text, d.StartCol), r = BoxRightIndex(text, d.EndCol);
      if (r <= l) return text;
      std::string out = text.substr(0, static_cast<std::size_t>(l));
      out += convert(std::string_view(text).substr(static_cast<std::size_t>(l), static_cast<std::size_t>(r - l)));
      right = std::max(right, ExpandTabLength(out));
      out.append(text, static_cast<std::size_t>(r));
      return out;
    });
    // The box keeps its rows and left edge; its right edge takes the widest converted part.
    const bool caretRight = m_col >= m_anchorCol;
    const int anchorRow = m_anchorRow, row = m_row;
    Reselect(anchorRow, caretRight ? d.StartCol : right, row, caretRight ? right : d.StartCol);
    CaretEndUpdate();
    return;
  }
  const std::string selected = SelText();
  const std::string converted = convert(selected);
  if (converted == selected) return;
  const TSelEdit edit = SelectionEdit(converted);
  const std::int64_t start = edit.caret - static_cast<std::int64_t>(converted.size());
  CaretBeginUpdate();
  CleanSelection();
  ReplaceAndPlace(edit.row, edit.count, edit.text, edit.fromRow, edit.caret);
  SelectLocal(edit.fromRow, start, static_cast<std::int64_t>(converted.size()));
  CaretEndUpdate();
}

void TEditor::IndentSelection(int how) {
  if (m_readOnly || !Selected()) return;
  const bool box = m_selMode == smBox;
  const TSelectedPosition d = SelDraw();
  int last = d.EndRow;
  if (!box && d.EndCol == 0 && d.EndRow > d.StartRow) --last;
  last = std::min(last, m_list->GetCount() - 1);
  if (last < d.StartRow) return;
  const bool wrap = m_list->WordWrap();
  const int wrapByte = m_list->WrapOption().WrapByte();
  std::vector<int> shift(static_cast<std::size_t>(last - d.StartRow + 1), 0);
  std::vector<int> at(shift.size(), 0);
  const int anchorRow = m_anchorRow, anchorCol = m_anchorCol, caretRow = m_row, caretCol = m_col;
  CaretBeginUpdate();
  RewriteRows(d.StartRow, last, [&](int row, const std::string& text) {
    if (wrap && (m_list->GetRows(row) == raWrapped || (row > 0 && m_list->GetRows(row - 1) == raWrapped))) return text;
    const std::size_t p = box ? static_cast<std::size_t>(BoxLeftIndex(text, d.StartCol)) : 0;
    if (box && p >= text.size()) return text;
    std::size_t e = p;
    while (IsBlankAt(text, e)) e += text[e] == '\t' || text[e] == ' ' ? 1 : 2;
    const int startCol = ExpandTabLength(std::string_view(text).substr(0, p));
    const int width = ExpandTabLength(std::string_view(text).substr(0, e)) - startCol;
    std::string result;
    switch (how) {
      case 0:  // one column wider, as spaces
        result = text.substr(0, p) + std::string(static_cast<std::size_t>(width + 1), ' ') + text.substr(e);
        break;
      case 1:  // one column narrower, as spaces
        if (e == p) return text;
        result = text.substr(0, p) + std::string(static_cast<std::size_t>(width - 1), ' ') + text.substr(e);
        break;
      case 2:
        result = text.substr(0, p) + "\t" + text.substr(p);
        break;
      default:
        if (p >= text.size() || text[p] != '\t') return text;
        result = text.substr(0, p) + text.substr(p + 1);
        break;
    }
    const int newWidth = ExpandTabLength(result);
    if (wrap && newWidth >= wrapByte && newWidth > ExpandTabLength(text)) return text;
    const std::size_t k = static_cast<std::size_t>(row - d.StartRow);
    shift[k] = newWidth - ExpandTabLength(text);
    at[k] = startCol;
    return result;
  });
  // The selection and the caret move with the text of their rows.
  auto moved = [&](int row, int col) {
    if (row < d.StartRow || row > last) return col;
    const std::size_t k = static_cast<std::size_t>(row - d.StartRow);
    return col > at[k] || (col == at[k] && !box && col > 0) ? std::max(at[k], col + shift[k]) : col;
  };
  Reselect(anchorRow, moved(anchorRow, anchorCol), caretRow, moved(caretRow, caretCol));
  CaretEndUpdate();
}

void TEditor::SelIndent() { IndentSelection(0); }
void TEditor::SelUnIndent() { IndentSelection(1); }
void TEditor::SelTabIndent() { IndentSelection(2); }
void TEditor::SelTabUnIndent() { IndentSelection(3); }

// ---- clipboard -----------------------------------------------------------------------

void TEditor::CopyToClipboard() {
  if (Selected()) m_clipboard->SetText(SelText(), m_selMode == smBox);
}

void TEditor::CutToClipboard() {
  if (!Selected() || m_readOnly) return;
  CopyToClipboard();
  ClearSelection();
}

void TEditor::PasteFromClipboard() {
  if (!CanPaste()) return;
  bool box = false;
  const std::string text = m_clipboard->GetText(box);
  if (box) {
    SetSelTextBox(text);
  } else if (!text.empty()) {
    SetSelTextBuf(text);
  }
}

void TEditor::PasteBoxFromClipboard() {
  if (!CanPaste()) return;
  bool box = false;
  SetSelTextBox(m_clipboard->GetText(box));
}

// ---- row marks ---------------------------------------------------------------------

void TEditor::PutRowMark(int row, TRowMark mark) {
  if (row < 0 || row >= m_list->GetCount() || mark < rm0 || mark > rm15) return;
  const TRowMarks bit = TRowMarks::Of(mark);
  if (mark <= rm9 && m_list->ValidRowMarks().Has(mark)) {
    for (int r = 0, n = m_list->GetCount(); r < n; ++r) {
      if (m_list->GetRowMarks(r).Has(mark)) {
        m_list->SetRowMarks(r, m_list->GetRowMarks(r) - bit);
        break;
      }
    }
  }
  m_list->SetRowMarks(row, m_list->GetRowMarks(row) | bit);
}

void TEditor::DeleteRowMark(int row, TRowMark mark) {
  if (row < 0 || row >= m_list->GetCount() || mark < rm0 || mark > rm15) return;
  m_list->SetRowMarks(row, m_list->GetRowMarks(row) - TRowMarks::Of(mark));
}

bool TEditor::GotoRowMark(TRowMark mark) {
  if (mark < rm0 || mark > rm15 || !m_list->ValidRowMarks().Has(mark)) return false;
  for (int r = 0, n = m_list->GetCount(); r < n; ++r) {
    if (!m_list->GetRowMarks(r).Has(mark)) continue;
    CleanSelection();
    const int visible = m_measurer->VisibleRows();
    if (r < m_topRow || r >= m_topRow + visible) SetTopRow(r - visible / 2);
    SetRow(r);
    return true;
  }
  return false;
}

// ---- search hits -------------------------------------------------------------------

void TEditor::SetHitStyle(TEditorHitStyle style) {
  CleanSelection();
  m_hitStyle = style;
}

void TEditor::SetHitSelLength(int length) {
  const int fromRow = m_list->RowStart(m_row);
  SelectLocal(fromRow, GetSelIndex(fromRow, m_row, m_col), length);
  if (!Selected()) return;
  m_hitLength = static_cast<int>(SelLength());
  if (m_hitStyle == hsSelect) return;
  m_selState = sstHitSelected;
  if (m_hitStyle == hsCaret) {
    // The caret stands at the hit's start; the anchor holds its end.
    std::swap(m_anchorRow, m_row);
    std::swap(m_anchorCol, m_col);
    CaretMoved();
  }
  SelectionChanged();
}

void TEditor::HitToSelected() {
  if (m_selState != sstHitSelected) return;
  if (m_hitStyle == hsCaret) {
    std::swap(m_anchorRow, m_row);
    std::swap(m_anchorCol, m_col);
    CaretMoved();
  }
  m_selState = sstSelected;
  SelectionChanged();
}

// ---- mouse ---------------------------------------------------------------------------

bool TEditor::CanSelDrag() const {
  return !m_readOnly && m_selMode == smLine && m_caret.SelMove() && Selected();
}

bool TEditor::InSelection(int row, int col) const {
  if (!Selected()) return false;
  const TSelRange sel = Selection();
  col = ClampToRowEnd(row, col);
  const bool afterStart = row > sel.startRow || (row == sel.startRow && col >= sel.startCol);
  const bool beforeEnd = row < sel.endRow || (row == sel.endRow && col < sel.endCol);
  return afterStart && beforeEnd;
}

void TEditor::PointToRowCol(int x, int y, int& row, int& col) const {
  PosToRowCol(x, y, true, col, row);
  // Above the text the row over the first visible one is taken, so a drag
  // there scrolls up.
  if (y < m_measurer->TopMargin()) row = m_topRow - 1;
  row = std::clamp(row, 0, std::max(0, MaxRow()));
}

void TEditor::SelectRows(int fromRow, int toRow) {
  // Whole rows with their line breaks; the pressed row stays selected.
  const int rows = m_list->GetCount();
  auto after = [&](int r, int& row, int& col) {
    if (r + 1 <= MaxRow() && r + 1 <= rows) {
      row = r + 1;
      col = 0;
    } else {
      row = r;
      col = EndCol(r);
    }
  };
  int ar = fromRow, ac = 0, cr = toRow, cc = 0;
  if (toRow >= fromRow) {
    after(toRow, cr, cc);
  } else {
    after(fromRow, ar, ac);
  }
  m_anchorRow = ar;
  m_anchorCol = ac;
  m_selState = sstSelected;
  SetRowCol(cr, cc);
  SelectionChanged();
}

void TEditor::MouseDown(int x, int y, TKeyState state) {
  m_pressX = x;
  m_pressY = y;
  int row = 0, col = 0;
  PointToRowCol(x, y, row, col);
  CaretBeginUpdate();
  if (state.Shift) {
    if (m_selState == sstNone) InitSelection();
    const TEditorSelectionState keep = m_selState;
    SetRowCol(row, col);
    m_selState = keep;
    m_mouseSelecting = true;
    ExtendSelection();
  } else if (CanSelDrag() && InSelection(row, col) && x >= m_measurer->LeftMargin() &&
             m_caret.SelDragMode() == TEditorSelDragMode::dmAutomatic) {
    m_dragRange = Selection();
    m_dragState = sdInit;
    SetRowCol(row, col);
  } else if (x < m_measurer->LeftMargin() && m_caret.RowSelect() && row < std::max(1, m_list->GetCount())) {
    CleanSelection();
    m_rowSelecting = true;
    m_rowSelectRow = row;
    SelectRows(row, row);
    m_rowSelecting = true;
  } else {
    CleanSelection();
    SetRowCol(row, col);
    InitSelection();
    m_mouseSelecting = true;
  }
  CaretEndUpdate();
}

void TEditor::MouseMove(int x, int y, bool buttonDown, TKeyState state) {
  int row = 0, col = 0;
  PointToRowCol(x, y, row, col);
  if (!buttonDown) {
    if (x < m_measurer->LeftMargin()) {
      m_cursorState = mcLeftMargin;
    } else if (y < m_measurer->TopMargin()) {
      m_cursorState = mcTopMargin;
    } else if (CanSelDrag() && InSelection(row, col)) {
      m_cursorState = mcInSel;
    } else {
      m_cursorState = mcClient;
    }
    return;
  }
  const int half = std::max(1, m_measurer->ColumnWidth() / 2);
  const bool movedEnough = std::abs(x - m_pressX) >= half || std::abs(y - m_pressY) >= half;
  CaretBeginUpdate();
  if (m_rowSelecting) {
    PosToRowCol(x, y, true, col, row);
    if (y < m_measurer->TopMargin()) row = m_topRow - 1;
    row = std::clamp(row, 0, std::max(0, std::min(MaxRow(), m_list->GetCount() - 1)));
    SelectRows(m_rowSelectRow, row);
    m_rowSelecting = true;
    ScrollCaret();
  } else if (m_dragState != sdNone) {
    if (m_dragState == sdInit && movedEnough) m_dragState = sdDragging;
    if (m_dragState == sdDragging) {
      SetRowCol(row, col);
      ScrollCaret();
      m_cursorState = state.Ctrl ? mcDraggingCopy : mcDragging;
    }
  } else if (m_mouseSelecting && (movedEnough || m_selState == sstSelected)) {
    SetRowCol(row, col);
    ScrollCaret();
    ExtendSelection();
  }
  CaretEndUpdate();
}

void TEditor::MouseUp(int x, int y, TKeyState state) {
  if (m_dragState == sdDragging) {
    int row = 0, col = 0;
    PointToRowCol(x, y, row, col);
    SetRowCol(row, col);
    MoveSelectionTo(state.Ctrl);
  } else if (m_dragState == sdInit) {
    // A prepared drag that never started: the caret stays at the press.
    m_dragState = sdNone;
    CleanSelection();
  }
  m_mouseSelecting = false;
  m_rowSelecting = false;
  m_cursorState = mcClient;
}

void TEditor::CancelDrag() {
  if (m_dragState == sdNone) return;
  m_dragState = sdNone;
  CleanSelection();
  m_cursorState = mcClient;
}

void TEditor::MoveSelectionTo(bool copy) {
  const TSelRange sel = m_dragRange;
  const int dropRow = m_row, dropCol = ClampToRowEnd(m_row, m_col);
  const bool inside = (dropRow > sel.startRow || (dropRow == sel.startRow && dropCol >= sel.startCol)) &&
                      (dropRow < sel.endRow || (dropRow == sel.endRow && dropCol <= sel.endCol));
  const std::string text = SelText();
  m_dragState = sdNone;
  m_cursorState = mcClient;
  if (inside || m_readOnly || text.empty()) {
    CleanSelection();
    return;
  }
  CaretBeginUpdate();
  CleanSelection();
  const int rows = m_list->GetCount();
  const int first = std::min(sel.startRow, dropRow);
  const int fromRow = m_list->RowStart(first);
  const std::int64_t dropIndex = GetSelIndex(fromRow, dropRow, dropCol);
  if (copy) {
    SetRowCol(dropRow, dropCol);
    PutStringToLine(text);
    SelectLocal(fromRow, dropIndex, static_cast<std::int64_t>(text.size()));
    CaretEndUpdate();
    return;
  }
  // The rows from the earlier to the later of selection and drop point are
  // rewritten in one change.
  const int last = std::min(std::max(sel.endRow, dropRow), rows - 1);
  std::string block = m_list->ListInfo(fromRow, last - fromRow + 1);
  const std::int64_t s = GetSelIndex(fromRow, sel.startRow, sel.startCol);
  const std::int64_t e = s + static_cast<std::int64_t>(text.size());
  std::int64_t d = dropIndex;
  block.erase(static_cast<std::size_t>(s), text.size());
  if (d > e) d -= e - s;
  block.insert(static_cast<std::size_t>(std::min<std::int64_t>(d, static_cast<std::int64_t>(block.size()))), text);
  m_list->UpdateList(fromRow, last - fromRow + 1, block);
  SelectLocal(fromRow, d, static_cast<std::int64_t>(text.size()));
  CaretEndUpdate();
}

}  // namespace nuv
