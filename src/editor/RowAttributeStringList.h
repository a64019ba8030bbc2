// Row attributes: how a row ends, its marks and the tokenizer state at its
// start, packed into the two attribute words of each row.
//
// Item:  bits 0-1 Rows, 2-3 PrevRows, 4-7 Brackets + 2, 8-15 Elements,
//        16-23 WrappedBytes, 24-31 Remains.
// Item2: bits 0-7 Tokens, 8-15 PrevTokens, 16-31 RowMarks.
#pragma once

#include <cstdint>
#include <string>

#include "editor/heStringList.h"

namespace nuv {

enum TRowAttribute : std::uint8_t {
  raCrlf = 0,     // the row ends a logical line; CR LF follows it in the text
  raWrapped = 1,  // the logical line goes on in the next row
  raEof = 2,      // the last row, and the text ends without a line break
  raInvalid = 3,  // no row (outside the text; "nothing to put back" in undo)
};

enum TRowMark : int {
  rm0, rm1, rm2, rm3, rm4, rm5, rm6, rm7, rm8, rm9, rm10, rm11, rm12, rm13, rm14, rm15
};

// A set of row marks; bit n stands for mark n.
struct TRowMarks {
  std::uint16_t Bits = 0;

  constexpr TRowMarks() = default;
  constexpr explicit TRowMarks(std::uint16_t bits) : Bits(bits) {}
  static constexpr TRowMarks Of(TRowMark mark) { return TRowMarks(static_cast<std::uint16_t>(1u << mark)); }
  constexpr bool Has(TRowMark mark) const { return (Bits >> mark) & 1u; }
  constexpr bool Empty() const { return Bits == 0; }
  constexpr TRowMarks operator|(TRowMarks o) const { return TRowMarks(static_cast<std::uint16_t>(Bits | o.Bits)); }
  constexpr TRowMarks operator&(TRowMarks o) const { return TRowMarks(static_cast<std::uint16_t>(Bits & o.Bits)); }
  constexpr TRowMarks operator-(TRowMarks o) const { return TRowMarks(static_cast<std::uint16_t>(Bits & ~o.Bits)); }
  TRowMarks& operator|=(TRowMarks o) { Bits = static_cast<std::uint16_t>(Bits | o.Bits); return *this; }
  constexpr bool operator==(const TRowMarks&) const = default;
};

// The tokenizer state of one row as handed to and from a parser.
struct TRowAttributeData {
  TRowAttribute Row = raCrlf;      // the row's own attribute
  TRowAttribute PrevRow = raCrlf;  // the previous row's attribute
  std::int32_t Bracket = -1;       // stored -2..13
  std::int32_t Element = 0;        // stored 0..255
  std::int32_t WrappedByte = 0;    // stored 0..255
  std::int32_t Remain = 0;         // stored 0..255
  std::uint8_t Token = 0;
  std::uint8_t PrevToken = 0;
  std::string DataStr;

  // The state at the start of the text.
  static TRowAttributeData Initial() { return TRowAttributeData(); }
  // Everything but the row's own attribute: what decides whether a row's
  // stored start state is still right.
  bool SameState(const TRowAttributeData& o) const {
    return PrevRow == o.PrevRow && Bracket == o.Bracket && Element == o.Element &&
           WrappedByte == o.WrappedByte && Remain == o.Remain && Token == o.Token &&
           PrevToken == o.PrevToken && DataStr == o.DataStr;
  }
};

constexpr int kBracketNotComputed = -2;

class TRowAttributeStringList : public TheStringList {
 public:
  TRowAttribute GetRows(int i) const { return static_cast<TRowAttribute>(Field(GetItem(i), 0, 0x3)); }
  void SetRows(int i, TRowAttribute v) { SetItemField(i, 0, 0x3, v); }
  TRowAttribute GetPrevRows(int i) const { return static_cast<TRowAttribute>(Field(GetItem(i), 2, 0x3)); }
  void SetPrevRows(int i, TRowAttribute v) { SetItemField(i, 2, 0x3, v); }
  int GetBrackets(int i) const { return static_cast<int>(Field(GetItem(i), 4, 0xF)) - 2; }
  void SetBrackets(int i, int v) { SetItemField(i, 4, 0xF, static_cast<std::uint32_t>(v + 2)); }
  int GetElements(int i) const { return static_cast<int>(Field(GetItem(i), 8, 0xFF)); }
  void SetElements(int i, int v) { SetItemField(i, 8, 0xFF, static_cast<std::uint32_t>(v)); }
  int GetWrappedBytes(int i) const { return static_cast<int>(Field(GetItem(i), 16, 0xFF)); }
  void SetWrappedBytes(int i, int v) { SetItemField(i, 16, 0xFF, static_cast<std::uint32_t>(v)); }
  int GetRemains(int i) const { return static_cast<int>(Field(GetItem(i), 24, 0xFF)); }
  void SetRemains(int i, int v) { SetItemField(i, 24, 0xFF, static_cast<std::uint32_t>(v)); }
  std::uint8_t GetTokens(int i) const { return static_cast<std::uint8_t>(Field(GetItem2(i), 0, 0xFF)); }
  void SetTokens(int i, std::uint8_t v) { SetItem2Field(i, 0, 0xFF, v); }
  std::uint8_t GetPrevTokens(int i) const { return static_cast<std::uint8_t>(Field(GetItem2(i), 8, 0xFF)); }
  void SetPrevTokens(int i, std::uint8_t v) { SetItem2Field(i, 8, 0xFF, v); }
  TRowMarks GetRowMarks(int i) const { return TRowMarks(static_cast<std::uint16_t>(Field(GetItem2(i), 16, 0xFFFF))); }
  void SetRowMarks(int i, TRowMarks v) { SetItem2Field(i, 16, 0xFFFF, v.Bits); }

  // All state fields of row i (its own attribute included).
  TRowAttributeData GetRowData(int i) const;
  // Stores every state field of `data` but the row's own attribute.
  void PutRowState(int i, const TRowAttributeData& data);
  // Marks row i's state as not computed: Brackets -2, the other fields 0.
  void ClearRowState(int i);

  static constexpr std::uint32_t Field(std::uint32_t word, int shift, std::uint32_t mask) {
    return (word >> shift) & mask;
  }
  static constexpr std::uint32_t WithField(std::uint32_t word, int shift, std::uint32_t mask, std::uint32_t v) {
    return (word & ~(mask << shift)) | ((v & mask) << shift);
  }

 private:
  void SetItemField(int i, int shift, std::uint32_t mask, std::uint32_t v) {
    PutItem(i, WithField(GetItem(i), shift, mask, v));
  }
  void SetItem2Field(int i, int shift, std::uint32_t mask, std::uint32_t v) {
    PutItem2(i, WithField(GetItem2(i), shift, mask, v));
  }
};

// The scratch row lists that edits build before splicing them into a document.
class TEditorStringList : public TRowAttributeStringList {};

}  // namespace nuv
