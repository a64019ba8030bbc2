// The gap-buffer row list: edits move the gap to their position first.
#include "editor/heStringList.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "base/Error.h"
#include "base/FixedText.h"

namespace nuv {

namespace {
NUV_FIXED_TEXT(kListIndexError, "リストのインデックスが範囲を超えています (%d)")

// Growth of a full list: by 4 up to 8 slots, by 16 up to 64, then by a quarter.
std::size_t GrowDelta(std::size_t capacity) {
  if (capacity > 64) return capacity / 4;
  if (capacity > 8) return 16;
  return 4;
}
}  // namespace

void TheStringList::IndexError(int index) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, kListIndexError().c_str(), index);
  throw ENuvError(buffer);
}

int TheStringList::Checked(int index) const {
  if (index < 0 || index >= GetCount()) IndexError(index);
  return index;
}

void TheStringList::MoveGap(std::size_t position) {
  if (position == m_gapStart) return;
  if (m_gapLength == 0) {
    m_gapStart = position;
    return;
  }
  if (position < m_gapStart) {
    // Items [position, gapStart) move to the end of the gap.
    const std::size_t n = m_gapStart - position;
    for (std::size_t k = n; k-- > 0;) {
      TheStringItem& from = m_buffer[position + k];
      m_buffer[position + m_gapLength + k] = std::move(from);
      from = TheStringItem();
    }
  } else {
    // Items after the gap up to `position` move to its front.
    const std::size_t n = position - m_gapStart;
    for (std::size_t k = 0; k < n; ++k) {
      TheStringItem& from = m_buffer[m_gapStart + m_gapLength + k];
      m_buffer[m_gapStart + k] = std::move(from);
      from = TheStringItem();
    }
  }
  m_gapStart = position;
}

void TheStringList::EnsureGap(std::size_t needed) {
  if (m_gapLength >= needed) return;
  const std::size_t count = m_buffer.size() - m_gapLength;
  std::size_t capacity = m_buffer.size();
  while (capacity - count < needed) capacity += GrowDelta(capacity);
  SetCapacity(static_cast<int>(capacity));
}

void TheStringList::SetCapacity(int capacity) {
  const std::size_t count = m_buffer.size() - m_gapLength;
  const std::size_t wanted = std::max<std::size_t>(count, capacity < 0 ? 0 : static_cast<std::size_t>(capacity));
  if (wanted == m_buffer.size()) return;
  // Close the gap at the end, then resize the tail.
  MoveGap(count);
  m_buffer.resize(wanted);
  m_gapStart = count;
  m_gapLength = wanted - count;
}

void TheStringList::Put(int index, std::string s) {
  Checked(index);
  Changing();
  Slot(index).Str = std::move(s);
  Changed();
}

int TheStringList::Add(std::string s) {
  const int index = GetCount();
  Insert(index, std::move(s));
  return index;
}

void TheStringList::Insert(int index, std::string s) {
  TheStringItem item;
  item.Str = std::move(s);
  InsertItem(index, std::move(item));
}

void TheStringList::InsertItem(int index, TheStringItem item) {
  if (index < 0 || index > GetCount()) IndexError(index);
  Changing();
  EnsureGap(1);
  MoveGap(static_cast<std::size_t>(index));
  const std::uint32_t item2 = item.Item2;
  m_buffer[m_gapStart] = std::move(item);
  ++m_gapStart;
  --m_gapLength;
  if (item2 != 0) Item2Changed(0, item2);
  Changed();
}

void TheStringList::InsertBlank(int index, int n) {
  if (index < 0 || index > GetCount()) IndexError(index);
  if (n <= 0) return;
  Changing();
  EnsureGap(static_cast<std::size_t>(n));
  MoveGap(static_cast<std::size_t>(index));
  m_gapStart += static_cast<std::size_t>(n);
  m_gapLength -= static_cast<std::size_t>(n);
  Changed();
}

void TheStringList::Delete(int index) { DeleteRange(index, 1); }

void TheStringList::DeleteRange(int index, int n) {
  if (n <= 0) return;
  Checked(index);
  Checked(index + n - 1);
  Changing();
  MoveGap(static_cast<std::size_t>(index));
  for (int k = 0; k < n; ++k) {
    TheStringItem& slot = m_buffer[m_gapStart + m_gapLength + static_cast<std::size_t>(k)];
    if (slot.Item2 != 0) Item2Changed(slot.Item2, 0);
    slot = TheStringItem();
  }
  m_gapLength += static_cast<std::size_t>(n);
  Changed();
}

void TheStringList::Exchange(int index1, int index2) {
  Checked(index1);
  Checked(index2);
  Changing();
  std::swap(Slot(index1), Slot(index2));
  Changed();
}

void TheStringList::Clear() {
  if (GetCount() == 0 && m_buffer.empty()) return;
  Changing();
  for (int i = 0, n = GetCount(); i < n; ++i) {
    if (Slot(i).Item2 != 0) Item2Changed(Slot(i).Item2, 0);
  }
  m_buffer.clear();
  m_buffer.shrink_to_fit();
  m_gapStart = m_gapLength = 0;
  Changed();
}

void TheStringList::PutItem2(int index, std::uint32_t value) {
  TheStringItem& item = Slot(Checked(index));
  if (item.Item2 == value) return;
  const std::uint32_t old = item.Item2;
  item.Item2 = value;
  Item2Changed(old, value);
}

TheStringItem TheStringList::TakeItemRecord(int index) {
  TheStringItem& slot = Slot(Checked(index));
  TheStringItem item = std::move(slot);
  slot = TheStringItem();
  if (item.Item2 != 0) Item2Changed(item.Item2, 0);
  return item;
}

void TheStringList::PutItemRecord(int index, TheStringItem item) {
  TheStringItem& slot = Slot(Checked(index));
  const std::uint32_t old = slot.Item2;
  slot = std::move(item);
  if (old != slot.Item2) Item2Changed(old, slot.Item2);
}

void TheStringList::BeginUpdate() {
  if (m_updateCount == 0) SetUpdateState(true);
  ++m_updateCount;
}

void TheStringList::EndUpdate() {
  if (m_updateCount == 0) return;
  if (--m_updateCount == 0) SetUpdateState(false);
}

void TheStringList::SetUpdateState(bool updating) {
  if (updating) {
    Changing();
  } else {
    Changed();
  }
}

void TheStringList::Changing() {
  if (m_updateCount == 0 && OnChanging) OnChanging();
}

void TheStringList::Changed() {
  if (m_updateCount == 0 && OnChange) OnChange();
}

}  // namespace nuv
