// The document: rows, the replacement primitive, wrapping, loading, saving
// and the incremental tokenizer state.
#include "editor/EditorScreenStrings.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "base/FileIo.h"
#include "editor/LineWrapper.h"

namespace nuv {

namespace {
constexpr int kDefaultScreenRows = 100;

TRowMarks UnionOf(const std::vector<TRowMarks>& marks) {
  TRowMarks all;
  for (TRowMarks m : marks) all |= m;
  return all;
}
}  // namespace

TEditorScreenStrings::TEditorScreenStrings()
    : m_undoObj(std::make_unique<TEditorUndoObj>(*this)), m_wrapOption(std::make_unique<TEditorWrapOption>()) {
  m_wrapOption->OnChange = [this](TNotifyPersistent&) {
    // Any wrap option change re-wraps the whole text and empties undo.
    m_wrapper.reset();
    m_undoObj->Clear();
    if (Client() && Client()->Loading()) return;
    if (m_wordWrap) WrapLines();
    AfterWholeChange();
  };
  OnChange = [this] {
    for (IEditorClient* client : std::vector<IEditorClient*>(m_clients)) client->DoChange(m_drawInfo);
  };
}

TEditorScreenStrings::~TEditorScreenStrings() = default;

// ---- clients -------------------------------------------------------------

void TEditorScreenStrings::Reference(IEditorClient* client) {
  if (std::find(m_clients.begin(), m_clients.end(), client) == m_clients.end()) m_clients.push_back(client);
}

bool TEditorScreenStrings::Release(IEditorClient* client) {
  m_clients.erase(std::remove(m_clients.begin(), m_clients.end(), client), m_clients.end());
  return m_clients.empty();
}

IEditorClient* TEditorScreenStrings::GetActiveClient() const {
  for (IEditorClient* client : m_clients) {
    if (client->Focused()) return client;
  }
  return Client();
}

void TEditorScreenStrings::ClientsAdjustRow() {
  for (IEditorClient* client : m_clients) client->AdjustRow();
}

void TEditorScreenStrings::ClientsCleanSelection() {
  for (IEditorClient* client : m_clients) client->CleanSelection();
}

void TEditorScreenStrings::ClientsInitCol() {
  for (IEditorClient* client : m_clients) client->InitCol();
}

void TEditorScreenStrings::ClientsInitView() {
  for (IEditorClient* client : m_clients) client->InitView();
}

void TEditorScreenStrings::AfterWholeChange() {
  InitBrackets();
  ClientsInitView();
  ClientsAdjustRow();
  ClientsInitCol();
}

// ---- row queries -----------------------------------------------------------

int TEditorScreenStrings::RowStart(int index) const {
  const int n = GetCount();
  if (n == 0) return 0;
  index = std::clamp(index, 0, n - 1);
  while (index > 0 && GetRows(index - 1) == raWrapped) --index;
  return index;
}

int TEditorScreenStrings::RowEnd(int index) const {
  const int n = GetCount();
  if (n == 0) return 0;
  index = std::clamp(index, 0, n - 1);
  while (index < n - 1 && GetRows(index) == raWrapped) ++index;
  return index;
}

void TEditorScreenStrings::ListInfo(int index, int count, std::string& s, int& rowCount,
                                    TRowAttribute& attribute) const {
  s.clear();
  rowCount = 0;
  attribute = raInvalid;
  const int n = GetCount();
  if (index < 0 || index >= n) return;
  const int last = count < 0 ? RowEnd(index) : std::min(n - 1, index + count - 1);
  if (last < index) return;
  std::size_t size = 0;
  for (int i = index; i <= last; ++i) size += Slot(i).Str.size() + (GetRows(i) == raCrlf ? 2 : 0);
  s.reserve(size);
  for (int i = index; i <= last; ++i) {
    s += Slot(i).Str;
    if (GetRows(i) == raCrlf) s += "\r\n";
  }
  rowCount = last - index + 1;
  attribute = GetRows(last);
}

std::string TEditorScreenStrings::ListInfo(int index, int count) const {
  std::string s;
  int rowCount = 0;
  TRowAttribute attribute = raInvalid;
  ListInfo(index, count, s, rowCount, attribute);
  return s;
}

void TEditorScreenStrings::CheckCrlf(int index, std::string& s) const {
  if (index >= 0 && index < GetCount() && GetRows(index) == raCrlf) s += "\r\n";
}

std::string TEditorScreenStrings::ListToStr() const { return GetCount() ? ListInfo(0, GetCount()) : std::string(); }

std::int64_t TEditorScreenStrings::TextLength() const {
  std::int64_t size = 0;
  for (int i = 0, n = GetCount(); i < n; ++i) size += static_cast<std::int64_t>(Slot(i).Str.size()) + (GetRows(i) == raCrlf ? 2 : 0);
  return size;
}

// ---- marks -----------------------------------------------------------------

void TEditorScreenStrings::Item2Changed(std::uint32_t oldValue, std::uint32_t newValue) {
  const std::uint32_t oldMarks = oldValue >> 16, newMarks = newValue >> 16;
  if (oldMarks == newMarks) return;
  for (int m = 0; m < 16; ++m) {
    const std::uint32_t bit = 1u << m;
    if ((oldMarks & bit) && !(newMarks & bit)) --m_markCounts[static_cast<std::size_t>(m)];
    if (!(oldMarks & bit) && (newMarks & bit)) ++m_markCounts[static_cast<std::size_t>(m)];
  }
}

TRowMarks TEditorScreenStrings::ValidRowMarks() const {
  std::uint16_t bits = 0;
  for (int m = 0; m < 16; ++m) {
    if (m_markCounts[static_cast<std::size_t>(m)] > 0) bits = static_cast<std::uint16_t>(bits | (1u << m));
  }
  return TRowMarks(bits);
}

void TEditorScreenStrings::AddMarksToRow(int row, TRowMarks marks) {
  if (marks.Empty() || row < 0 || row >= GetCount()) return;
  SetRowMarks(row, GetRowMarks(row) | marks);
}

// ---- the replacement primitive ----------------------------------------------

struct TEditorScreenStrings::TSplice {
  int first = 0;     // first old row of the rebuilt range
  int editRow = 0;   // the row the edit starts at
  int end = 0;       // old rows [first, end) are replaced
};

TLineWrapper& TEditorScreenStrings::Wrapper() {
  if (!m_wrapper) m_wrapper = std::make_unique<TLineWrapper>(*m_wrapOption, Rules());
  return *m_wrapper;
}

TColumnRules TEditorScreenStrings::Rules() const {
  TColumnRules rules = m_rules;
  rules.WordWrap = m_wordWrap;
  rules.WrapByte = m_wrapOption->WrapByte();
  return rules;
}

void TEditorScreenStrings::UpdateList(int index, int count, std::string_view s) {
  const int rows = GetCount();
  if (index < 0 || count < 0 || index > rows || count > rows - index) return;
  if (count == 0 && s.empty()) return;
  BeginUpdate();
  TUndoData& record = m_undoObj->Add();
  try {
    Replace(index, count, s, record);
  } catch (...) {
    m_undoObj->CancelLast();
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TEditorScreenStrings::Replace(int index, int count, std::string_view s, TUndoData& record) {
  const int rows = GetCount();
  TSplice sp;
  sp.editRow = index;
  sp.first = index;
  // Appending after a last row without a line break continues that row.
  if (count == 0 && index == rows && rows > 0 && GetRows(rows - 1) == raEof) sp.first = rows - 1;
  if (m_wordWrap) {
    // Rows of the same logical line whose row-break window reaches the edit.
    const std::size_t look = static_cast<std::size_t>(Wrapper().LookAhead());
    std::size_t distance = sp.first < index ? Slot(sp.first).Str.size() : 0;
    while (sp.first > 0 && GetRows(sp.first - 1) == raWrapped) {
      const std::size_t d = distance + Slot(sp.first - 1).Str.size();
      if (d >= look && sp.first != index) break;
      distance = d;
      --sp.first;
    }
  }
  sp.end = index + count;
  BuildRows(sp, s);

  // The undo record: what the rebuilt rows held before.
  record.StartRow = sp.first;
  record.RowCount = m_scratch.GetCount();
  int oldRows = 0;
  ListInfo(sp.first, sp.end - sp.first, record.Text, oldRows, record.RowAttribute);
  record.Marks.resize(static_cast<std::size_t>(sp.end - sp.first));
  for (int i = sp.first; i < sp.end; ++i) record.Marks[static_cast<std::size_t>(i - sp.first)] = GetRowMarks(i);

  SpliceRows(sp.first, sp.end - sp.first, m_scratch, &record);
  record.OrphanOutside = record.OrphanRow >= 0 &&
                         (record.OrphanRow < sp.first || record.OrphanRow >= sp.first + m_scratch.GetCount());
  const int changed = UpdateBrackets(sp.first, true);
  m_drawInfo = {sp.first, sp.end - sp.first, changed, m_scratch.GetCount(), true};
}

void TEditorScreenStrings::BuildRows(TSplice& sp, std::string_view s) {
  m_scratch.DeleteRange(0, m_scratch.GetCount());
  const int rows = GetCount();
  std::string x = ListInfo(sp.first, sp.editRow - sp.first);
  x.append(s);
  // Room for a row per line at once: growing step by step would copy the
  // rows of a large replacement many times.
  const int lines = static_cast<int>(std::count(x.begin(), x.end(), '\n')) + 1;
  if (m_scratch.GetCapacity() < lines + 1) m_scratch.SetCapacity(lines + lines / 8 + 1);

  auto wrapLine = [this](std::string_view line) {
    if (m_wordWrap) {
      Wrapper().WrapLine(line, m_scratch);
    } else {
      m_scratch.Add(std::string(line));
    }
  };
  // The complete lines of the new text, then its last, unfinished line.
  const std::size_t lastBreak = x.find_last_of("\r\n");
  const std::size_t lastStart = lastBreak == std::string::npos ? 0 : lastBreak + 1;
  ForEachLine(std::string_view(x).substr(0, lastStart), wrapLine);
  const std::string_view last = std::string_view(x).substr(lastStart);

  if (sp.end >= rows) {
    // The change reaches the end of the text.
    if (!last.empty()) {
      wrapLine(last);
      m_scratch.SetRows(m_scratch.GetCount() - 1, raEof);
    }
    sp.end = rows;
    return;
  }

  // The unfinished line goes on with the rows after the replaced ones, up to
  // the end of their logical line or the first row that starts where an old
  // row started.
  int lineEnd = sp.end;
  while (lineEnd < rows - 1 && GetRows(lineEnd) == raWrapped) ++lineEnd;
  const std::size_t look = m_wordWrap ? static_cast<std::size_t>(Wrapper().LookAhead())
                                      : std::numeric_limits<std::size_t>::max() / 2;
  std::string line(last);
  const std::size_t tailStart = line.size();
  int nextRow = sp.end;  // next old row to append to `line`
  int oldRow = sp.end;   // the first old row starting at or after `from`
  std::size_t oldStart = tailStart;
  std::size_t from = 0;
  for (;;) {
    while (oldRow <= lineEnd && oldStart < from) oldStart += Slot(oldRow++).Str.size();
    if (from >= tailStart && oldRow <= lineEnd && oldStart == from) {
      // An empty last row without a line break ends a line that exactly
      // filled its rows; after a line break it stands for nothing.
      const bool strayEnd = from == 0 && oldRow == rows - 1 && GetRows(oldRow) == raEof && Slot(oldRow).Str.empty();
      sp.end = strayEnd ? rows : oldRow;
      return;
    }
    while (nextRow <= lineEnd && line.size() < from + look) line += Slot(nextRow++).Str;
    std::size_t end = line.size();
    const TRowAttribute attribute = m_wordWrap ? Wrapper().RowAt(line, from, end) : raCrlf;
    const int row = m_scratch.Add(line.substr(from, end - from));
    if (attribute == raCrlf) {
      m_scratch.SetRows(row, GetRows(lineEnd));
      sp.end = lineEnd + 1;
      return;
    }
    m_scratch.SetRows(row, raWrapped);
    from = end;
  }
}

void TEditorScreenStrings::SpliceRows(int first, int oldCount, const TRowAttributeStringList& list,
                                      TUndoData* record) {
  const int newCount = list.GetCount();
  auto same = [&](int oldIndex, int newIndex) {
    return GetRows(oldIndex) == list.GetRows(newIndex) && Slot(oldIndex).Str == list.Get(newIndex);
  };
  // Rows equal at both ends of the range stay as they are, marks and all.
  int p = 0;
  while (p < oldCount && p < newCount && same(first + p, p)) ++p;
  int q = 0;
  while (q < oldCount - p && q < newCount - p && same(first + oldCount - 1 - q, newCount - 1 - q)) ++q;
  const int mo = oldCount - p - q, mn = newCount - p - q, at = first + p;

  // Where the marks of the changed old rows go.
  std::vector<TRowMarks> marks(static_cast<std::size_t>(std::max(mn, 0)));
  TRowMarks orphans;
  if (mn < mo) {
    const int d = mo - mn;
    for (int k = 0; k < d; ++k) orphans |= GetRowMarks(at + k);
    for (int k = 0; k < mn; ++k) marks[static_cast<std::size_t>(k)] = GetRowMarks(at + d + k);
    if (mn > 0) {
      marks[0] |= orphans;
      orphans = TRowMarks();
    }
  } else if (mn == mo) {
    for (int k = 0; k < mn; ++k) marks[static_cast<std::size_t>(k)] = GetRowMarks(at + k);
  } else if (mo > 0) {
    for (int k = 1; k < mo; ++k) marks[static_cast<std::size_t>(k + mn - mo)] = GetRowMarks(at + k);
    // A mark stays with its line when lines are inserted above it.
    const IEditorClient* client = GetActiveClient();
    const int target = client && client->CaretCol() != 0 ? 0 : mn - mo;
    marks[static_cast<std::size_t>(target)] |= GetRowMarks(at);
  }

  if (mn > mo) InsertBlank(at + mo, mn - mo);
  if (mn < mo) DeleteRange(at + mn, mo - mn);
  for (int k = 0; k < mn; ++k) {
    const TheStringItem& from = list.GetItemRecord(p + k);
    TheStringItem item;
    item.Str = from.Str;
    item.DataStr = from.DataStr;
    item.Data = from.Data;
    item.Item = from.Item;
    item.Item2 = (from.Item2 & 0xFFFFu) | (static_cast<std::uint32_t>(marks[static_cast<std::size_t>(k)].Bits) << 16);
    PutItemRecord(at + k, std::move(item));
  }
  if (!orphans.Empty() && GetCount() > 0) {
    // Marks of deleted rows go to the row that follows (or the new last row).
    const int target = std::min(at, GetCount() - 1);
    if (record) {
      record->OrphanRow = target;
      record->OrphanMarks = orphans - GetRowMarks(target);
    }
    AddMarksToRow(target, orphans);
  }

  // Every row of the range is re-tokenized; the frontier moves with the rows.
  const int delta = newCount - oldCount;
  if (m_stateFrontier >= first + oldCount) {
    m_stateFrontier += delta;
  } else if (m_stateFrontier > first) {
    m_stateFrontier = first;
  }
  for (int k = 0; k < newCount; ++k) ClearRowState(first + k);
}

void TEditorScreenStrings::ChangeList(int index, int count, const TRowAttributeStringList& list) {
  const int rows = GetCount();
  index = std::clamp(index, 0, rows);
  count = std::clamp(count, 0, rows - index);
  BeginUpdate();
  SpliceRows(index, count, list, nullptr);
  EndUpdate();
}

void TEditorScreenStrings::InsertList(int index, const TRowAttributeStringList& list) { ChangeList(index, 0, list); }

TRowMarks TEditorScreenStrings::DeleteList(int index, int count) {
  const int rows = GetCount();
  if (index < 0 || index >= rows || count <= 0) return TRowMarks();
  count = std::min(count, rows - index);
  TRowMarks marks;
  for (int i = index; i < index + count; ++i) marks |= GetRowMarks(i);
  DeleteRange(index, count);
  if (m_stateFrontier >= index + count) {
    m_stateFrontier -= count;
  } else if (m_stateFrontier > index) {
    m_stateFrontier = index;
  }
  return marks;
}

// ---- undo support ------------------------------------------------------------

void TEditorScreenStrings::ApplyUndoData(const TUndoData& data, TUndoData& inverse, bool redo) {
  const int rows = GetCount();
  const int start = data.StartRow, n = data.RowCount;
  inverse = TUndoData();
  if (start < 0 || n < 0 || start > rows || n > rows - start || (n == 0 && data.Text.empty())) return;
  // Marks that a deletion handed to a row outside its range: undo takes them
  // back from that row, redo gives them to it again.
  const bool outside = data.OrphanRow >= 0 && data.OrphanOutside;
  if (!redo && outside && data.OrphanRow < rows) {
    SetRowMarks(data.OrphanRow, GetRowMarks(data.OrphanRow) - data.OrphanMarks);
  }
  std::vector<TRowMarks> current(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    current[static_cast<std::size_t>(i)] = GetRowMarks(start + i);
    SetRowMarks(start + i, TRowMarks());
  }
  Replace(start, n, data.Text, inverse);
  const int now = GetCount();
  for (std::size_t i = 0; i < data.Marks.size(); ++i) {
    const int row = start + static_cast<int>(i);
    if (row < now) SetRowMarks(row, data.Marks[i]);
  }
  TRowMarks extra = UnionOf(current) - UnionOf(data.Marks);
  if (redo && outside) {
    AddMarksToRow(data.OrphanRow, data.OrphanMarks);
    extra = extra - data.OrphanMarks;
  }
  if (now > 0) AddMarksToRow(std::min(start, now - 1), extra);
  for (int i = 0; i < n; ++i) {
    const int k = start + i - inverse.StartRow;
    if (k >= 0 && k < static_cast<int>(inverse.Marks.size())) inverse.Marks[static_cast<std::size_t>(k)] = current[static_cast<std::size_t>(i)];
  }
  inverse.OrphanRow = outside ? data.OrphanRow : -1;
  inverse.OrphanMarks = outside ? data.OrphanMarks : TRowMarks();
  inverse.OrphanOutside = outside;
}

// ---- loading and saving --------------------------------------------------------

void TEditorScreenStrings::Clear() {
  ClientsCleanSelection();
  m_undoObj->Clear();
  TEditorStringList::Clear();
  m_markCounts.fill(0);
  m_drawInfo = TDrawInfo();
  m_stateFrontier = 0;
  for (IEditorClient* client : m_clients) client->PlaceCaret(0, 0);
}

void TEditorScreenStrings::AppendRows(std::string_view text) {
  // Count the lines first so the list is sized once.
  int lines = 0;
  ForEachLine(text, [&lines](std::string_view) { ++lines; });
  SetCapacity(GetCount() + lines);
  const bool endsWithBreak = ForEachLine(text, [this](std::string_view line) {
    if (m_wordWrap) {
      Wrapper().WrapLine(line, *this);
    } else {
      Add(std::string(line));
    }
  });
  if (!endsWithBreak && GetCount() > 0) SetRows(GetCount() - 1, raEof);
}

void TEditorScreenStrings::SetTextStr(std::string_view text) {
  BeginUpdate();
  Clear();
  AppendRows(text);
  EndUpdate();
  InitBrackets();
  ClientsInitView();
}

bool TEditorScreenStrings::LoadFromFile(const std::string& fileName) {
  std::string bytes;
  if (ReadWholeFile(fileName, bytes) != TReadResult::Ok) {
    BeginUpdate();
    Clear();
    EndUpdate();
    ClientsInitView();
    return false;
  }
  // A Ctrl-Z ends the text (an old end-of-file mark); NUL bytes are text.
  const void* eof = std::memchr(bytes.data(), 26, bytes.size());
  const std::size_t size = eof ? static_cast<std::size_t>(static_cast<const char*>(eof) - bytes.data()) : bytes.size();
  SetTextStr(std::string_view(bytes.data(), size));
  return true;
}

bool TEditorScreenStrings::SaveToFile(const std::string& fileName) const {
  return WriteFileAtomic(fileName, ListToStr());
}

// ---- wrapping ------------------------------------------------------------------

void TEditorScreenStrings::SetTabSpaceCount(int count) {
  if (count == m_rules.TabSpaceCount) return;
  m_rules.TabSpaceCount = count;
  m_wrapper.reset();
  if (!m_wordWrap || GetCount() == 0) return;
  m_undoObj->Clear();
  WrapLines();
  AfterWholeChange();
}

void TEditorScreenStrings::StrToWrapList(std::string_view s, TEditorStringList& list) {
  list.DeleteRange(0, list.GetCount());
  WrapText(s, m_wordWrap, Wrapper(), list);
}

int TEditorScreenStrings::WrapCount(std::string_view s) {
  if (!m_wordWrap) return 1;
  return Wrapper().WrapCount(s);
}

void TEditorScreenStrings::SetWordWrap(bool wordWrap) {
  if (wordWrap == m_wordWrap) return;
  m_undoObj->Clear();
  m_wordWrap = wordWrap;
  m_wrapper.reset();
  if (Client() && Client()->Loading()) return;
  if (wordWrap) {
    WrapLines();
  } else {
    StretchLines();
  }
  AfterWholeChange();
}

void TEditorScreenStrings::WrapLines() {
  const int rows = GetCount();
  if (rows == 0 || (Client() && Client()->Loading())) return;
  ClientsCleanSelection();
  m_notifySuspended = true;
  BeginUpdate();
  const TRowAttribute lastAttribute = GetRows(rows - 1);
  TEditorStringList built;
  built.SetCapacity(rows);
  std::string line;
  for (int a = 0; a < rows;) {
    const int b = RowEnd(a);
    line.clear();
    for (int i = a; i <= b; ++i) line += Slot(i).Str;
    const int base = built.GetCount();
    if (m_wordWrap) {
      Wrapper().WrapLine(line, built);
    } else {
      built.Add(line);
    }
    // New row i takes the marks of old row i; surplus old rows' marks go to the last new row.
    const int made = built.GetCount() - base;
    for (int i = 0; i <= b - a; ++i) {
      const int target = base + std::min(i, made - 1);
      built.SetRowMarks(target, built.GetRowMarks(target) | GetRowMarks(a + i));
    }
    a = b + 1;
  }
  built.SetRows(built.GetCount() - 1, lastAttribute == raWrapped ? raEof : lastAttribute);
  const int newRows = built.GetCount();
  if (newRows > rows) InsertBlank(rows, newRows - rows);
  if (newRows < rows) DeleteRange(newRows, rows - newRows);
  for (int i = 0; i < newRows; ++i) PutItemRecord(i, built.TakeItemRecord(i));
  m_stateFrontier = 0;
  EndUpdate();
  m_notifySuspended = false;
}

void TEditorScreenStrings::StretchLines() {
  // With word wrap off the rebuild joins each logical line into one row.
  const bool saved = m_wordWrap;
  m_wordWrap = false;
  WrapLines();
  m_wordWrap = saved;
}

// ---- tokenizer state -------------------------------------------------------------

std::unique_ptr<IEditorParser> TEditorScreenStrings::CreateParser() const {
  IEditorClient* client = GetActiveClient();
  IEditorFountain* fountain = client ? client->ActiveFountain() : nullptr;
  if (fountain) return fountain->CreateParser();
  return std::make_unique<TNullParser>();
}

int TEditorScreenStrings::BracketLookAhead() const {
  const IEditorClient* client = GetActiveClient();
  const int screenRows = client ? client->ScreenRows() : kDefaultScreenRows;
  return 2 * std::max(1, screenRows);
}

bool TEditorScreenStrings::StateComputed(int row) const {
  return row >= 0 && row < m_stateFrontier && row < GetCount() && GetBrackets(row) != kBracketNotComputed;
}

TRowAttributeData TEditorScreenStrings::RowState(int row) const {
  if (StateComputed(row)) return GetRowData(row);
  TRowAttributeData data;
  data.Row = row >= 0 && row < GetCount() ? GetRows(row) : raInvalid;
  data.Bracket = kBracketNotComputed;
  return data;
}

void TEditorScreenStrings::InitBrackets() {
  if (Client() && Client()->Loading()) return;
  m_stateFrontier = 0;
  const int rows = GetCount();
  if (rows == 0) return;
  const IEditorClient* client = GetActiveClient();
  const int top = client ? client->TopRow() : 0;
  const int limit = m_initBracketsFull ? rows - 1 : std::min(rows - 1, std::max(0, top) + BracketLookAhead());
  std::unique_ptr<IEditorParser> parser = CreateParser();
  TRowAttributeData data = TRowAttributeData::Initial();
  for (int row = 0; row <= limit; ++row) {
    data.Row = GetRows(row);
    PutRowState(row, data);
    parser->LastTokenBracket(row, *this, data);
    data.PrevRow = GetRows(row);
  }
  m_stateFrontier = limit + 1;
}

int TEditorScreenStrings::UpdateBrackets(int index, bool invalidate) {
  const int rows = GetCount();
  if (index < 0 || index >= rows) return 0;
  std::unique_ptr<IEditorParser> parser = CreateParser();
  // Start after the nearest computed row above.
  int above = std::min(index, m_stateFrontier) - 1;
  while (above >= 0 && GetBrackets(above) == kBracketNotComputed) --above;
  TRowAttributeData data = TRowAttributeData::Initial();
  int start = 0;
  if (above >= 0) {
    data = GetRowData(above);
    parser->LastTokenBracket(above, *this, data);
    data.PrevRow = GetRows(above);
    start = above + 1;
  }
  const int limit = std::min(index + BracketLookAhead(), rows - 1);
  int changed = 0;
  for (int row = start; row <= limit; ++row) {
    data.Row = GetRows(row);
    if (StateComputed(row) && GetRowData(row).SameState(data)) return changed;
    PutRowState(row, data);
    if (invalidate) {
      ++changed;
      for (IEditorClient* client : m_clients) client->InvalidateRow(row);
    }
    parser->LastTokenBracket(row, *this, data);
    data.PrevRow = GetRows(row);
  }
  // Ran to the limit: the rows below are computed when they are painted.
  m_stateFrontier = limit + 1;
  return changed;
}

// ---- update state ------------------------------------------------------------------

void TEditorScreenStrings::SetUpdateState(bool updating) {
  if (updating) {
    Changing();
    return;
  }
  if (!m_notifySuspended) Changed();
  m_drawInfo = TDrawInfo();
  ClientsAdjustRow();
}

}  // namespace nuv
