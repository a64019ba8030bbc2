// Whole-record reads and writes of a row's tokenizer state.
#include "editor/RowAttributeStringList.h"

namespace nuv {

TRowAttributeData TRowAttributeStringList::GetRowData(int i) const {
  const TheStringItem& item = GetItemRecord(i);
  TRowAttributeData d;
  d.Row = static_cast<TRowAttribute>(Field(item.Item, 0, 0x3));
  d.PrevRow = static_cast<TRowAttribute>(Field(item.Item, 2, 0x3));
  d.Bracket = static_cast<int>(Field(item.Item, 4, 0xF)) - 2;
  d.Element = static_cast<int>(Field(item.Item, 8, 0xFF));
  d.WrappedByte = static_cast<int>(Field(item.Item, 16, 0xFF));
  d.Remain = static_cast<int>(Field(item.Item, 24, 0xFF));
  d.Token = static_cast<std::uint8_t>(Field(item.Item2, 0, 0xFF));
  d.PrevToken = static_cast<std::uint8_t>(Field(item.Item2, 8, 0xFF));
  d.DataStr = item.DataStr;
  return d;
}

void TRowAttributeStringList::PutRowState(int i, const TRowAttributeData& d) {
  std::uint32_t item = GetItem(i);
  item = WithField(item, 2, 0x3, d.PrevRow);
  item = WithField(item, 4, 0xF, static_cast<std::uint32_t>(d.Bracket + 2));
  item = WithField(item, 8, 0xFF, static_cast<std::uint32_t>(d.Element));
  item = WithField(item, 16, 0xFF, static_cast<std::uint32_t>(d.WrappedByte));
  item = WithField(item, 24, 0xFF, static_cast<std::uint32_t>(d.Remain));
  PutItem(i, item);
  std::uint32_t item2 = GetItem2(i);
  item2 = WithField(item2, 0, 0xFF, d.Token);
  item2 = WithField(item2, 8, 0xFF, d.PrevToken);
  PutItem2(i, item2);
  if (GetDataStr(i) != d.DataStr) PutDataStr(i, d.DataStr);
}

void TRowAttributeStringList::ClearRowState(int i) {
  PutItem(i, GetItem(i) & 0x3u);
  PutItem2(i, GetItem2(i) & 0xFFFF0000u);
  if (!GetDataStr(i).empty()) PutDataStr(i, std::string());
}

}  // namespace nuv
