// The editor core: caret rules, key commands, typing and the selection.
#include "editor/Editor.h"

#include <algorithm>

#include "base/FileIo.h"
#include "base/Sjis.h"
#include "editor/EditorStrings.h"

namespace nuv {

namespace {
const std::string kEmpty;
}  // namespace

TEditor::TEditor() : m_list(new TEditorScreenStrings()) {
  WireList();
  m_lines = std::make_unique<TEditorStrings>(*this);
  m_caret.OnChange = [this](TNotifyPersistent&) { OptionsChanged(); };
  m_speed.OnChange = [this](TNotifyPersistent&) { m_list->SetInitBracketsFull(m_speed.InitBracketsFull()); };
}

TEditor::~TEditor() {
  SetFountain(nullptr);
  ReleaseList();
}

void TEditor::WireList() {
  m_list->Reference(this);
  m_list->SetTabSpaceCount(m_caret.TabSpaceCount());
}

void TEditor::ReleaseList() {
  // The document lives as long as some editor shows it.
  if (m_list && m_list->Release(this)) delete m_list;
  m_list = nullptr;
}

void TEditor::ExchangeList(TEditor& other) {
  if (other.m_list == m_list) return;
  TEditorScreenStrings* shared = other.m_list;
  ReleaseList();
  m_list = shared;
  m_list->Reference(this);
  m_row = m_col = m_topRow = m_topCol = 0;
  m_selState = sstNone;
  m_hitLength = 0;
  AdjustCol(true, -1);
}

void TEditor::OptionsChanged() {
  if (m_list->Client() == this) m_list->SetTabSpaceCount(m_caret.TabSpaceCount());
  AdjustCol(false, -1);
}

void TEditor::SetMeasurer(IEditorMeasurer* measurer) { m_measurer = measurer ? measurer : &m_fixedMeasurer; }

void TEditor::SetFountain(IEditorFountain* fountain) {
  if (fountain == m_fountain) return;
  if (m_fountain) {
    m_fountain->ChangeList().Remove(this);
    m_fountain->FreeNotifyList().Remove(this);
  }
  m_fountain = fountain;
  if (m_fountain) {
    m_fountain->ChangeList().Add(this, [this](const void*) { m_list->InitBrackets(); });
    m_fountain->FreeNotifyList().Add(this, [this](const void*) { FountainDestroyed(m_fountain); });
  }
  if (m_list) m_list->InitBrackets();
}

void TEditor::FountainDestroyed(IEditorFountain* fountain) {
  if (fountain != m_fountain) return;
  m_fountain = nullptr;
  m_list->InitBrackets();
}

// ---- rows and columns --------------------------------------------------------

std::string TEditor::ListStr(int row) const {
  return row >= 0 && row < m_list->GetCount() ? m_list->Get(row) : std::string();
}

TRowAttribute TEditor::ListRows(int row) const {
  return row >= 0 && row < m_list->GetCount() ? m_list->GetRows(row) : raEof;
}

TRowMarks TEditor::GetListRowMarks(int row) const {
  return row >= 0 && row < m_list->GetCount() ? m_list->GetRowMarks(row) : TRowMarks();
}

void TEditor::SetListRowMarks(int row, TRowMarks marks) {
  if (row >= 0 && row < m_list->GetCount()) m_list->SetRowMarks(row, marks);
}

bool TEditor::ListToFile(const std::string& fileName) const {
  std::string out;
  for (int r = 0, n = m_list->GetCount(); r < n; ++r) {
    out += m_list->Get(r);
    out += "\r\n";
  }
  return WriteFileAtomic(fileName, out);
}

TColumnRules TEditor::Rules() const {
  TColumnRules rules = m_list->Rules();
  rules.TabSpaceCount = m_caret.TabSpaceCount();
  return rules;
}

void TEditor::StrToAttributes(std::string_view s, std::string& attributes) const {
  nuv::StrToAttributes(s, Rules(), attributes);
}

int TEditor::ExpandListLength(int row) const {
  return row >= 0 && row < m_list->GetCount() ? ExpandTabLength(m_list->Get(row)) : 0;
}

std::string TEditor::ExpandListStr(int row) const {
  return row >= 0 && row < m_list->GetCount() ? ExpandTab(m_list->Get(row)) : std::string();
}

int TEditor::RowLength(int row) const {
  return row >= 0 && row < m_list->GetCount() ? static_cast<int>(m_list->Get(row).size()) : 0;
}

bool TEditor::LastRowIsEof() const {
  const int rows = m_list->GetCount();
  return rows > 0 && m_list->GetRows(rows - 1) != raCrlf;
}

int TEditor::MaxRow() const {
  const int rows = m_list->GetCount();
  return LastRowIsEof() ? rows - 1 : rows;
}

int TEditor::ColToByteIndex(int row, int col) const {
  std::string codes;
  const std::string& text = row >= 0 && row < m_list->GetCount() ? m_list->Get(row) : kEmpty;
  StrToAttributes(text, codes);
  return ColumnToByteIndex(codes, col);
}

int TEditor::EndCol(int row) const { return ExpandListLength(row); }

// ---- caret -----------------------------------------------------------------------

void TEditor::AdjustCol(bool rowChanged, int direction, bool vertical) {
  std::string codes;
  const bool onText = m_row >= 0 && m_row < m_list->GetCount();
  StrToAttributes(onText ? m_list->Get(m_row) : kEmpty, codes);
  const int len = static_cast<int>(codes.size());
  auto code = [&codes, len](int c) { return c >= 0 && c < len ? codes[static_cast<std::size_t>(c)] : kColEnd; };

  if (!rowChanged) {
    m_keepCol = -1;
  } else if (m_keepCol >= 0) {
    m_col = m_keepCol;
  }
  if (!m_caret.FreeCaret() && m_col > len) {
    if (m_caret.KeepCaret() && m_keepCol < 0) m_keepCol = m_col;
    if (!(m_caret.FreeRow() && vertical)) m_col = len;
  }
  if (code(m_col) == kColTrail) {
    if (rowChanged && m_caret.KeepCaret() && m_keepCol < 0) m_keepCol = m_col;
    m_col += direction;
  }
  if (!m_caret.InTab()) {
    while (code(m_col) == kColTabRest) m_col += direction;
  }
  if (m_list->WordWrap() && m_col >= len) {
    const int w = m_list->WrapOption().WrapByte();
    if (onText && m_list->GetRows(m_row) == raWrapped) {
      // The end of a wrapped row is the start of the next row.
      m_col = std::max(0, len - 1);
    } else if (m_col >= w) {
      m_col = std::max(len, w - 1);
    }
    if (code(m_col) == kColTrail) --m_col;
    if (!m_caret.InTab()) {
      while (code(m_col) == kColTabRest) --m_col;
    }
  }
  // The column cap finishes a double-byte character that starts at its last column.
  const int cap = code(kMaxCol - 1) == kColLead ? kMaxCol + 1 : kMaxCol;
  if (m_col > cap) m_col = cap;
  if (!m_caret.InTab()) {
    while (code(m_col) == kColTabRest) --m_col;
  }
  if (m_col < 0) m_col = 0;
  CaretMoved();
}

void TEditor::CaretMoved() {
  if (m_caretUpdateCount > 0) {
    m_caretMovedPending = true;
    return;
  }
  m_caretMovedPending = false;
  if (OnCaretMoved) OnCaretMoved();
}

void TEditor::CaretEndUpdate() {
  if (m_caretUpdateCount > 0) --m_caretUpdateCount;
  if (m_caretUpdateCount == 0 && m_caretMovedPending) CaretMoved();
}

void TEditor::SetRow(int row) {
  m_row = std::clamp(row, 0, std::max(0, MaxRow()));
  AdjustCol(true, -1);
}

void TEditor::SetCol(int col) {
  col = std::clamp(col, 0, kMaxCol + 1);
  const int direction = col > m_col ? 1 : -1;
  m_col = col;
  AdjustCol(false, direction);
}

void TEditor::SetRowCol(int row, int col) {
  m_row = std::clamp(row, 0, std::max(0, MaxRow()));
  m_col = std::clamp(col, 0, kMaxCol + 1);
  m_keepCol = -1;
  AdjustCol(false, -1);
}

void TEditor::SetTopRow(int row) {
  m_topRow = std::clamp(row, 0, std::max(0, m_list->GetCount()));
}

void TEditor::SetTopCol(int col) {
  m_topCol = std::clamp(col, 0, std::max(0, kMaxCol - m_measurer->VisibleColumns() / 2));
}

void TEditor::ScrollCaret() {
  const int visible = m_measurer->VisibleRows();
  if (m_row < m_topRow) m_topRow = m_row;
  if (m_row >= m_topRow + visible) m_topRow = m_row - visible + 1;
  const int columns = m_measurer->VisibleColumns();
  if (m_col < m_topCol) SetTopCol(m_col);
  if (m_col >= m_topCol + columns) SetTopCol(m_col - columns + 1);
}

void TEditor::AdjustRow() {
  const int maxRow = std::max(0, MaxRow());
  if (m_topRow > m_list->GetCount()) m_topRow = m_list->GetCount();
  if (m_row > maxRow) {
    m_row = maxRow;
    AdjustCol(true, -1);
    return;
  }
  // The text may have changed under the caret: step off a trail half or a
  // tab's inside, keeping the remembered column.
  const int keep = m_keepCol;
  AdjustCol(false, -1);
  m_keepCol = keep;
}

void TEditor::InitCol() {
  m_col = 0;
  m_keepCol = -1;
  CaretMoved();
}

int TEditor::ScreenRows() const { return m_measurer->ScreenHeight() / std::max(1, m_measurer->RowHeight()); }

void TEditor::DoChange(const TDrawInfo& info) {
  // Any change of the text ends a selection or hit: its positions are stale.
  CleanSelection();
  if (!info.Valid) return;
  m_modified = true;
  if (OnChange) OnChange();
}

// ---- character indices ---------------------------------------------------------

std::int64_t TEditor::GetSelIndex(int fromRow, int row, int col) const {
  const int rows = m_list->GetCount();
  fromRow = std::clamp(fromRow, 0, rows);
  row = std::clamp(row, 0, rows);
  std::int64_t index = 0;
  for (int r = fromRow; r < row; ++r) {
    const TRowAttribute a = m_list->GetRows(r);
    index += RowLength(r) + (a == raCrlf ? 2 : a == raEof ? 1 : 0);
  }
  if (row < rows) index += std::min(ColToByteIndex(row, col), RowLength(row));
  return index;
}

void TEditor::SetSelIndex(int fromRow, std::int64_t index) {
  const int rows = m_list->GetCount();
  if (rows == 0) {
    SetRowCol(0, 0);
    return;
  }
  auto place = [this](int r, std::int64_t byte) {
    SetRowCol(r, ByteIndexToColumn(ListStr(r), static_cast<int>(byte), Rules()));
  };
  int r = std::clamp(fromRow, 0, rows - 1);
  std::int64_t rest = std::max<std::int64_t>(0, index);
  for (; r < rows; ++r) {
    const std::int64_t len = RowLength(r);
    const TRowAttribute a = m_list->GetRows(r);
    if (rest < len || (rest == len && a != raWrapped)) {
      place(r, rest);
      return;
    }
    const std::int64_t step = len + (a == raCrlf ? 2 : a == raEof ? 1 : 0);
    if (rest < step) {
      place(r, len);
      return;
    }
    rest -= step;
  }
  if (m_list->GetRows(rows - 1) == raCrlf) {
    SetRowCol(rows, 0);
  } else {
    place(rows - 1, RowLength(rows - 1));
  }
}

int TEditor::ColToChar(int row, int col) const {
  return static_cast<int>(GetSelIndex(m_list->RowStart(row), row, col));
}

int TEditor::RowToLines(int row) const {
  const int rows = m_list->GetCount();
  // Without word wrap no row is wrapped: every row is a line.
  if (!WordWrap()) return std::clamp(row, 0, rows);
  int lines = 0;
  for (int r = 0; r < std::min(row, rows); ++r) {
    if (m_list->GetRows(r) == raCrlf) ++lines;
  }
  return lines;
}

int TEditor::LinesToRow(int line) const {
  const int rows = m_list->GetCount();
  if (!WordWrap()) return std::clamp(line, 0, rows);
  int r = 0;
  for (int l = 0; l < line && r < rows; ++l) {
    while (r < rows - 1 && m_list->GetRows(r) == raWrapped) ++r;
    ++r;
  }
  return r;
}

void TEditor::PosToRowCol(int x, int y, bool nearest, int& col, int& row) const {
  const int cw = std::max(1, m_measurer->ColumnWidth());
  const int lm = m_measurer->LeftMargin();
  if (x < lm) x = x + 1 - cw;
  col = nearest ? (x + cw / 2 - lm) / cw + m_topCol : (x - lm) / cw + m_topCol;
  col = std::max(0, col);
  row = (y - m_measurer->TopMargin()) / std::max(1, m_measurer->RowHeight()) + m_topRow;
}

std::int64_t TEditor::CharFromPos(int x, int y) const {
  int col = 0, row = 0;
  PosToRowCol(x, y, false, col, row);
  if (row < 0 || row >= m_list->GetCount() || col > ExpandListLength(row)) return -1;
  return GetSelIndex(0, row, col);
}

// ---- keys ----------------------------------------------------------------------

void TEditor::KeyDown(TEditorKey key, TKeyState state) {
  switch (key) {
    case TEditorKey::Left:
    case TEditorKey::Right:
    case TEditorKey::Up:
    case TEditorKey::Down:
    case TEditorKey::Home:
    case TEditorKey::End:
    case TEditorKey::PageUp:
    case TEditorKey::PageDown:
      break;
    case TEditorKey::Delete:
      DeleteKey();
      return;
    case TEditorKey::Backspace:
      BackspaceKey();
      return;
    case TEditorKey::Return:
      if (m_wantReturns) ReturnKey(state.Shift);
      return;
    case TEditorKey::Tab:
      if (m_wantTabs && !state.Shift && !state.Ctrl) TabKey();
      return;
  }
  // Navigation: Shift extends the selection from an anchor, otherwise any
  // selection is removed.
  if (state.Shift) {
    if (m_selState == sstNone) InitSelection();
  } else {
    CleanSelection();
  }
  CaretBeginUpdate();
  switch (key) {
    case TEditorKey::Left:
      MoveLeft(state.Ctrl);
      break;
    case TEditorKey::Right:
      MoveRight(state.Ctrl);
      break;
    case TEditorKey::Up:
    case TEditorKey::Down: {
      const int direction = key == TEditorKey::Up ? -1 : 1;
      if (state.Ctrl) {
        ScrollRows(direction * (state.AutoRepeat ? m_speed.CaretVerticalAc() : 1));
      } else {
        MoveVertical(direction, state.AutoRepeat);
      }
      break;
    }
    case TEditorKey::Home:
      if (state.Ctrl) {
        SetRowCol(0, 0);
      } else {
        SetCol(0);
      }
      break;
    case TEditorKey::End:
      EndKey(state.Ctrl);
      break;
    case TEditorKey::PageUp:
      PageMove(-1, state.AutoRepeat);
      break;
    case TEditorKey::PageDown:
      PageMove(1, state.AutoRepeat);
      break;
    default:
      break;
  }
  ScrollCaret();
  if (state.Shift) ExtendSelection();
  CaretEndUpdate();
}

void TEditor::MoveLeft(bool ctrl) {
  if (ctrl) {
    int row = m_row, col = m_col;
    if (FindNextWordStart(row, col, -1)) SetRowCol(row, col);
    return;
  }
  if (m_col > 0) {
    const int before = m_col;
    m_col = std::min(m_col, kMaxCol + 1) - 1;
    AdjustCol(false, -1);
    if (m_col < before) return;
  }
  if (m_col == 0 && m_row > 0 && (m_caret.NextLine() || ListRows(m_row - 1) == raWrapped)) {
    m_row -= 1;
    m_col = EndCol(m_row);
    m_keepCol = -1;
    AdjustCol(false, -1);
  }
}

void TEditor::MoveRight(bool ctrl) {
  if (ctrl) {
    int row = m_row, col = m_col;
    if (FindNextWordStart(row, col, 1)) SetRowCol(row, col);
    return;
  }
  const int before = m_col;
  m_col += 1;
  AdjustCol(false, 1);
  if (m_col > before) return;
  const int rows = m_list->GetCount();
  const TRowAttribute a = ListRows(m_row);
  // The last line's end stays put: the row after the last line break is
  // reached by Down or Ctrl+End, not by Right.
  if (m_row < rows - 1 && a != raEof && (m_caret.NextLine() || a == raWrapped)) {
    m_row += 1;
    m_col = 0;
    AdjustCol(false, -1);
  }
}

void TEditor::MoveVertical(int direction, bool autoRepeat) {
  int step = 1;
  const bool atEdge = direction < 0 ? m_row <= m_topRow : m_row >= m_topRow + m_measurer->VisibleRows() - 1;
  if (autoRepeat && atEdge) step = m_speed.CaretVerticalAc();
  if (direction > 0 && m_row < m_list->GetCount() && ListRows(m_row) == raEof) return;
  const int target = std::clamp(m_row + direction * step, 0, std::max(0, MaxRow()));
  if (target == m_row) return;
  m_row = target;
  AdjustCol(true, -1, true);
}

void TEditor::ScrollRows(int delta) {
  SetTopRow(m_topRow + delta);
  const int visible = m_measurer->VisibleRows();
  if (m_row < m_topRow) {
    m_row = std::min(m_topRow, std::max(0, MaxRow()));
    AdjustCol(true, -1, true);
  } else if (m_row >= m_topRow + visible) {
    m_row = std::max(0, std::min(MaxRow(), m_topRow + visible - 1));
    AdjustCol(true, -1, true);
  }
}

void TEditor::PageMove(int direction, bool autoRepeat) {
  const int visible = m_measurer->VisibleRows();
  int range = ((visible - 1) / 2) * (autoRepeat ? m_speed.PageVerticalRangeAc() : m_speed.PageVerticalRange());
  // One visible row still pages by a row.
  range = std::max(1, range);
  const int rows = m_list->GetCount();
  if (direction < 0) {
    if (m_topRow == 0) {
      m_row = 0;
      AdjustCol(true, -1, true);
      return;
    }
    const int newTop = std::max(0, m_topRow - range);
    const int moved = m_topRow - newTop;
    m_topRow = newTop;
    m_row = std::max(0, m_row - moved);
  } else {
    if (rows > 0 && m_topRow >= rows - 1 && m_list->GetRows(rows - 1) == raEof) return;
    // Like Page Up: the caret moves as far as the view scrolled, and to the
    // last row when the view cannot scroll any more.
    const int newTop = std::min(rows, m_topRow + range);
    const int moved = newTop - m_topRow;
    m_topRow = newTop;
    m_row = moved == 0 ? std::max(0, MaxRow()) : std::min(std::max(0, MaxRow()), m_row + moved);
  }
  AdjustCol(true, -1, true);
}

void TEditor::EndKey(bool ctrl) {
  if (ctrl) {
    const int row = std::max(0, MaxRow());
    m_row = row;
    m_col = EndCol(row);
    m_keepCol = -1;
    AdjustCol(false, 1);
    return;
  }
  SetCol(EndCol(m_row));
}

// ---- editing ---------------------------------------------------------------------

void TEditor::ReplaceAndPlace(int row, int count, const std::string& text, int fromRow, std::int64_t caretIndex) {
  m_list->UpdateList(row, count, text);
  SetSelIndex(fromRow, caretIndex);
}

void TEditor::KeyPress(unsigned char ch) {
  if (m_readOnly) {
    m_pendingLead = -1;
    return;
  }
  if (m_pendingLead >= 0) {
    const int lead = m_pendingLead;
    m_pendingLead = -1;
    if (ch >= 64) {
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(ch)};
      PutStringToLine(std::string_view(pair, 2));
      return;
    }
  }
  if (IsLeadByte(ch)) {
    m_pendingLead = ch;
    return;
  }
  if ((ch >= 32 && ch <= 126) || ch >= 160) {
    const char one = static_cast<char>(ch);
    PutStringToLine(std::string_view(&one, 1));
  }
}

void TEditor::ImeResult(std::string_view s) {
  if (m_readOnly) return;
  PutStringToLine(CutAtCharBoundary(s, kMaxImeBytes));
}

void TEditor::PutStringToLine(std::string_view s) {
  if (s.empty() || m_readOnly) return;
  CaretBeginUpdate();
  // Over a box the box goes first; the text then goes in at its corner.
  if (m_selMode == smBox && Selected()) ClearSelection();
  const int rows = m_list->GetCount();
  if (Selected()) {
    TSelEdit edit = SelectionEdit(s);
    CleanSelection();
    ReplaceAndPlace(edit.row, edit.count, edit.text, edit.fromRow, edit.caret);
  } else if (m_row >= rows) {
    // The row after the last line break: pad up to the caret and append.
    std::string text(static_cast<std::size_t>(m_col), ' ');
    text.append(s);
    ReplaceAndPlace(rows, 0, text, rows, static_cast<std::int64_t>(text.size()));
  } else {
    const std::string row = ListStr(m_row);
    std::string codes;
    StrToAttributes(row, codes);
    const int len = static_cast<int>(codes.size());
    const int fromRow = m_list->RowStart(m_row);
    const std::int64_t base = GetSelIndex(fromRow, m_row, m_col);
    const std::size_t bi = static_cast<std::size_t>(std::min(ColumnToByteIndex(codes, m_col), static_cast<int>(row.size())));
    if (m_col > len && bi >= row.size()) {
      const std::size_t pad = static_cast<std::size_t>(m_col - len);
      std::string text = row + std::string(pad, ' ');
      text.append(s);
      ReplaceRowAndPlace(m_row, std::move(text), fromRow, base + static_cast<std::int64_t>(pad + s.size()));
    } else if (m_overWrite) {
      // Overwrite as many columns as s has, on into the following wrapped rows.
      const int rowEnd = m_list->RowEnd(m_row);
      std::string joined = m_list->ListInfo(m_row, rowEnd - m_row + 1);
      if (m_list->GetRows(rowEnd) == raCrlf) joined.resize(joined.size() - 2);
      // Columns, not bytes: a tab wider than the rest of the typed text
      // stays and shrinks to its stop.
      const TColumnRules rules = Rules();
      const int width = ExpandTabLength(s);
      std::size_t k = bi;
      int covered = 0;
      while (k < joined.size() && covered < width) {
        const std::size_t l = CharLength(joined, k);
        const int w = joined[k] == '\t' ? rules.TabAdvance(m_col + covered) : static_cast<int>(l);
        if (joined[k] == '\t' && covered + w > width) break;
        covered += w;
        k += l;
      }
      std::string text = joined.substr(0, bi);
      text.append(s);
      if (covered > width) text.push_back(' ');  // a double-byte character cut in half
      text.append(joined, k);
      m_list->CheckCrlf(rowEnd, text);
      ReplaceAndPlace(m_row, rowEnd - m_row + 1, text, fromRow, base + static_cast<std::int64_t>(s.size()));
    } else {
      std::string text = row.substr(0, bi);
      text.append(s);
      text.append(row, bi);
      ReplaceRowAndPlace(m_row, std::move(text), fromRow, base + static_cast<std::int64_t>(s.size()));
    }
  }
  CaretEndUpdate();
}

void TEditor::TabKey() {
  if (m_readOnly) return;
  const TColumnRules rules = Rules();
  const int advance = rules.TabAdvance(m_col);
  if (m_overWrite) {
    SetCol(m_col + advance);
  } else if (m_caret.SoftTab()) {
    PutStringToLine(std::string(static_cast<std::size_t>(advance), ' '));
  } else {
    PutStringToLine("\t");
  }
}

std::string TEditor::IndentText(int width) const {
  if (width <= 0) return std::string();
  if (!m_caret.TabIndent()) return std::string(static_cast<std::size_t>(width), ' ');
  const int t = m_caret.TabSpaceCount();
  return std::string(static_cast<std::size_t>(width / t), '\t') + std::string(static_cast<std::size_t>(width % t), ' ');
}

int TEditor::PrevTopSpace(int row) const {
  const TColumnRules rules = Rules();
  for (int r = m_list->RowStart(row) - 1; r >= 0;) {
    const int start = m_list->RowStart(r);
    if (!m_list->Get(start).empty()) return TabbedTopSpace(m_list->Get(start), rules);
    r = start - 1;
  }
  return 0;
}

void TEditor::ReturnKey(bool shift) {
  if (m_readOnly) return;
  if (Selected()) {
    if (shift) return;
    ClearSelection();
  }
  CleanSelection();
  const int rows = m_list->GetCount();
  CaretBeginUpdate();
  if (m_row >= rows) {
    // The row after the last line break (or an empty text): append one.
    ReplaceAndPlace(rows, 0, "\r\n", rows, 2);
  } else if (m_overWrite) {
    SetRowCol(m_row + 1, 0);
  } else {
    const TColumnRules rules = Rules();
    const int first = m_list->RowStart(m_row);
    int indent = 0;
    if (m_caret.AutoIndent()) {
      indent = TabbedTopSpace(m_list->Get(first), rules);
      if (m_row == first) indent = std::min(indent, m_col);
      if (indent == 0 && m_caret.PrevSpaceIndent() && m_row == first && m_list->Get(m_row).empty()) {
        indent = PrevTopSpace(m_row);
      }
    }
    const std::string indentText = IndentText(indent);
    const int fromRow = first;
    if (shift) {
      ReplaceAndPlace(first, 0, indentText + "\r\n", fromRow, static_cast<std::int64_t>(indentText.size()));
    } else {
      const std::string row = ListStr(m_row);
      const std::size_t bi = static_cast<std::size_t>(std::min(ColToByteIndex(m_row, m_col), static_cast<int>(row.size())));
      const std::int64_t base = GetSelIndex(fromRow, m_row, m_col);
      std::string text = row.substr(0, bi) + "\r\n" + indentText + row.substr(bi);
      ReplaceRowAndPlace(m_row, std::move(text), fromRow, base + 2 + static_cast<std::int64_t>(indentText.size()));
    }
  }
  CaretEndUpdate();
}

bool TEditor::DeletesSelectionFirst() {
  if (m_readOnly) return true;
  if (Selected()) {
    ClearSelection();
    return true;
  }
  CleanSelection();
  return false;
}

void TEditor::ReplaceRowAndPlace(int row, std::string text, int fromRow, std::int64_t caretIndex) {
  m_list->CheckCrlf(row, text);
  ReplaceAndPlace(row, 1, text, fromRow, caretIndex);
}

void TEditor::BackspaceKey() {
  if (DeletesSelectionFirst()) return;
  const int rows = m_list->GetCount();
  if (rows == 0) {
    SetCol(m_col - 1);
    return;
  }
  CaretBeginUpdate();
  const std::string row = ListStr(m_row);
  std::string codes;
  StrToAttributes(row, codes);
  const int len = static_cast<int>(codes.size());
  const int bi = ColumnToByteIndex(codes, m_col);
  if (m_col > 0 && bi > 0) {
    const TColumnRules rules = Rules();
    const std::size_t ws = TopSpace(row);
    const bool atIndentEnd = ws > 0 && (static_cast<std::size_t>(bi) == ws || (ws == row.size() && static_cast<std::size_t>(bi) >= ws));
    if (m_caret.BackSpaceUnIndent() && m_row < rows && atIndentEnd) {
      // Back to the indentation of the nearest row above that is less indented.
      int target = 0;
      for (int r = m_row - 1; r >= 0; --r) {
        const int ind = TabbedTopSpace(m_list->Get(r), rules);
        if (ind == 0 && r > 0 && m_list->GetRows(r - 1) == raWrapped) continue;
        if (ind < m_col) {
          target = ind;
          break;
        }
      }
      const int fromRow = m_list->RowStart(m_row);
      const std::int64_t base = GetSelIndex(fromRow, m_row, 0);
      const std::string indent = IndentText(target);
      std::string text = indent + row.substr(ws);
      ReplaceRowAndPlace(m_row, std::move(text), fromRow, base + static_cast<std::int64_t>(indent.size()));
    } else if (m_col > len || m_row >= rows) {
      SetCol(m_col - 1);
    } else {
      const std::size_t cs = CharStart(row, static_cast<std::size_t>(bi) - 1);
      const int fromRow = m_list->RowStart(m_row);
      const std::int64_t base = GetSelIndex(fromRow, m_row, 0);
      std::string text = row.substr(0, cs) + row.substr(static_cast<std::size_t>(bi));
      ReplaceRowAndPlace(m_row, std::move(text), fromRow, base + static_cast<std::int64_t>(cs));
    }
  } else if (m_row > 0) {
    // Join with the row above: remove its line break, or the last character
    // of a wrapped row.
    const int prev = m_row - 1;
    const std::string above = ListStr(prev);
    const int fromRow = m_list->RowStart(prev);
    const std::int64_t base = GetSelIndex(fromRow, prev, 0);
    if (m_list->GetRows(prev) == raWrapped && !above.empty()) {
      const std::size_t cs = CharStart(above, above.size() - 1);
      ReplaceAndPlace(prev, 1, above.substr(0, cs), fromRow, base + static_cast<std::int64_t>(cs));
    } else {
      ReplaceAndPlace(prev, 1, above, fromRow, base + static_cast<std::int64_t>(above.size()));
    }
  }
  CaretEndUpdate();
}

void TEditor::DeleteKey() {
  if (DeletesSelectionFirst()) return;
  const int rows = m_list->GetCount();
  if (m_row >= rows) return;
  CaretBeginUpdate();
  const std::string row = ListStr(m_row);
  std::string codes;
  StrToAttributes(row, codes);
  const int len = static_cast<int>(codes.size());
  const int fromRow = m_list->RowStart(m_row);
  const std::int64_t base = GetSelIndex(fromRow, m_row, 0);
  if (m_col < len) {
    // The character under the caret; a tab whole when the caret is inside it.
    int cs = ColumnToByteIndex(codes, m_col);
    if (codes[static_cast<std::size_t>(m_col)] == kColTabRest) --cs;
    if (cs < static_cast<int>(row.size())) {
      const std::size_t at = static_cast<std::size_t>(cs);
      std::string text = row.substr(0, at) + row.substr(at + CharLength(row, at));
      ReplaceRowAndPlace(m_row, std::move(text), fromRow, base + cs);
    }
  } else if (m_list->GetRows(m_row) != raEof) {
    if (m_row == rows - 1) {
      // The last line break goes.
      ReplaceAndPlace(m_row, 1, row, fromRow, base + static_cast<std::int64_t>(row.size()));
    } else {
      // The next line joins this one after spaces up to the caret.
      const std::string text = row + std::string(static_cast<std::size_t>(m_col - len), ' ');
      ReplaceAndPlace(m_row, 1, text, fromRow, base + static_cast<std::int64_t>(text.size()));
    }
  }
  CaretEndUpdate();
}

void TEditor::DeleteRow(int row) {
  if (m_readOnly || row < 0 || row >= m_list->GetCount()) return;
  DeleteRows(row, row);
}

void TEditor::DeleteLineOfRow(int row) {
  if (m_readOnly || row < 0 || row >= m_list->GetCount()) return;
  DeleteRows(m_list->RowStart(row), m_list->RowEnd(row));
}

void TEditor::DeleteRows(int first, int last) {
  CleanSelection();
  m_list->UpdateList(first, last - first + 1, std::string_view());
  const int rows = m_list->GetCount();
  if (first >= rows && rows > 0 && m_list->GetRows(rows - 1) == raEof) {
    SetRowCol(rows - 1, EndCol(rows - 1));
  } else {
    SetRowCol(first, 0);
  }
}

void TEditor::DeleteToLineEnd() {
  if (m_readOnly || m_row >= m_list->GetCount()) return;
  CleanSelection();
  const int first = m_list->RowStart(m_row), last = m_list->RowEnd(m_row);
  const std::int64_t at = GetSelIndex(first, m_row, m_col);
  const std::string old = m_list->ListInfo(first, last - first + 1);
  std::string kept = old.substr(0, static_cast<std::size_t>(std::clamp<std::int64_t>(at, 0, static_cast<std::int64_t>(old.size()))));
  // A caret past the line's end (free caret) stands at its end.
  if (kept.size() >= 2 && kept.compare(kept.size() - 2, 2, "\r\n") == 0) kept.resize(kept.size() - 2);
  const std::int64_t caret = static_cast<std::int64_t>(kept.size());
  m_list->CheckCrlf(last, kept);
  CaretBeginUpdate();
  if (kept == old) {
    SetSelIndex(first, caret);
  } else {
    ReplaceAndPlace(first, last - first + 1, kept, first, caret);
  }
  CaretEndUpdate();
}

bool TEditor::FindNextWordStart(int& row, int& col, int direction) const {
  const int rows = m_list->GetCount();
  if (row < 0 || row >= rows) return false;
  IEditorFountain* fountain = m_fountain;
  std::unique_ptr<IEditorParser> parser = fountain ? fountain->CreateParser() : std::make_unique<TNullParser>();
  // Word starts of a row: starts of tokens that are not symbols, in columns.
  auto starts = [&](int r) {
    std::vector<int> found;
    TRowAttributeData data = TRowAttributeData::Initial();
    data.Bracket = kBracketNotComputed;
    data.Row = m_list->GetRows(r);
    parser->NewData(ExpandListStr(r), data);
    for (int kind = parser->NextToken(); kind != 0; kind = parser->NextToken()) {
      if (kind != kTokSymbol) found.push_back(parser->SourcePos());
    }
    return found;
  };
  const int oldRow = row, oldCol = col;
  int r = row, c = col;
  if (direction > 0) {
    if (c >= ExpandListLength(r) && r + 1 < rows) {
      ++r;
      c = -1;
    }
    const std::vector<int> found = starts(r);
    auto it = std::upper_bound(found.begin(), found.end(), c);
    if (it != found.end()) {
      c = *it;
    } else if (m_list->GetRows(r) == raWrapped && r + 1 < rows) {
      ++r;
      c = 0;
    } else {
      c = ExpandListLength(r);
    }
  } else {
    if (c == 0) {
      if (r == 0) return false;
      --r;
      c = ExpandListLength(r);
      if (m_list->GetRows(r) == raCrlf) {
        row = r;
        col = c;
        return true;
      }
    }
    const std::vector<int> found = starts(r);
    auto it = std::lower_bound(found.begin(), found.end(), c);
    if (it != found.begin()) {
      c = *(it - 1);
    } else if (r > 0) {
      --r;
      c = ExpandListLength(r);
    } else {
      c = 0;
    }
  }
  row = r;
  col = c;
  return row != oldRow || col != oldCol;
}

void TEditor::Undo() {
  CleanSelection();
  m_list->Undo();
}

void TEditor::Redo() {
  CleanSelection();
  m_list->Redo();
}

void TEditor::Clear() { m_list->Clear(); }

}  // namespace nuv
