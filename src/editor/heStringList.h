// The unsorted row list under every row store of the editor: each item is a
// row string, a second string, a free value and two packed attribute words.
//
// The items live in a gap buffer: one array with a run of unused slots (the
// gap) at the last edit position. Inserting or deleting at the gap costs
// O(1); moving the gap costs the distance moved, so a run of edits in one
// place never shifts the whole document. Invariant: slots [0, m_gapStart)
// and [m_gapStart + m_gapLength, capacity) hold the items in order; the slots
// of the gap hold empty items.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace nuv {

struct TheStringItem {
  std::string Str;      // the row text
  std::string DataStr;  // the tokenizer's string state of the row
  std::intptr_t Data = 0;
  std::uint32_t Item = 0;   // first packed attribute word
  std::uint32_t Item2 = 0;  // second packed attribute word
};

class TheStringList {
 public:
  using TNotify = std::function<void()>;

  TheStringList() = default;
  virtual ~TheStringList() = default;
  TheStringList(const TheStringList&) = delete;
  TheStringList& operator=(const TheStringList&) = delete;

  int GetCount() const { return static_cast<int>(m_buffer.size() - m_gapLength); }
  int GetCapacity() const { return static_cast<int>(m_buffer.size()); }
  void SetCapacity(int capacity);

  const std::string& Get(int index) const { return Slot(Checked(index)).Str; }
  void Put(int index, std::string s);
  int Add(std::string s);
  void Insert(int index, std::string s);
  void InsertItem(int index, TheStringItem item);
  void Delete(int index);
  void Exchange(int index1, int index2);
  virtual void Clear();

  std::intptr_t GetData(int index) const { return Slot(Checked(index)).Data; }
  void PutData(int index, std::intptr_t data) { Slot(Checked(index)).Data = data; }
  const std::string& GetDataStr(int index) const { return Slot(Checked(index)).DataStr; }
  void PutDataStr(int index, std::string s) { Slot(Checked(index)).DataStr = std::move(s); }
  std::uint32_t GetItem(int index) const { return Slot(Checked(index)).Item; }
  void PutItem(int index, std::uint32_t value) { Slot(Checked(index)).Item = value; }
  std::uint32_t GetItem2(int index) const { return Slot(Checked(index)).Item2; }
  void PutItem2(int index, std::uint32_t value);
  // The whole item, read only.
  const TheStringItem& GetItemRecord(int index) const { return Slot(Checked(index)); }
  // Moves the item out, leaving an empty one; and replaces a whole item.
  TheStringItem TakeItemRecord(int index);
  void PutItemRecord(int index, TheStringItem item);

  // Bulk edits used by the row stores: n empty items at `index`, and the
  // removal of n items at `index`. Both raise the list-index error on a bad range.
  void InsertBlank(int index, int n);
  void DeleteRange(int index, int n);

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return m_updateCount; }

  TNotify OnChanging;
  TNotify OnChange;

 protected:
  // Called for the first BeginUpdate (true) and the last EndUpdate (false).
  virtual void SetUpdateState(bool updating);
  void Changing();
  void Changed();
  // Called whenever an item's second word changes, including items that are
  // inserted (from 0) or removed (to 0); the document counts its marks here.
  virtual void Item2Changed(std::uint32_t oldValue, std::uint32_t newValue) {
    (void)oldValue;
    (void)newValue;
  }
  // Unchecked access for derived row stores that have validated the index.
  TheStringItem& Slot(int index) {
    const auto i = static_cast<std::size_t>(index);
    return m_buffer[i < m_gapStart ? i : i + m_gapLength];
  }
  const TheStringItem& Slot(int index) const {
    const auto i = static_cast<std::size_t>(index);
    return m_buffer[i < m_gapStart ? i : i + m_gapLength];
  }
  // Raises the list-index error for an index outside 0..Count-1.
  int Checked(int index) const;
  [[noreturn]] static void IndexError(int index);

 private:
  void MoveGap(std::size_t position);
  void EnsureGap(std::size_t needed);

  std::vector<TheStringItem> m_buffer;
  std::size_t m_gapStart = 0;
  std::size_t m_gapLength = 0;
  int m_updateCount = 0;
};

}  // namespace nuv
