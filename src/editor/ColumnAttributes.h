// Column arithmetic of a row: the column attribute string (one code per
// display column), tab widths, and a cursor that walks columns while keeping
// count of the bytes it has passed.
//
// A single-byte character is one column, a double-byte character two, a tab
// as many as it advances to its stop (with word wrap also never past the wrap
// column). A lead byte without a valid trail byte is one single-byte column.
#pragma once

#include <bitset>
#include <string>
#include <string_view>

namespace nuv {

// Column codes of the attribute string.
constexpr char kColEnd = '0';        // end marker after the last column
constexpr char kColChar = '1';       // single-byte character, not a delimiter
constexpr char kColDelimiter = '2';  // single-byte delimiter (a tab's first column too)
constexpr char kColTabRest = '3';    // the columns of a tab after its first
constexpr char kColLead = '4';       // first column of a double-byte character
constexpr char kColTrail = '5';      // second column of a double-byte character

// The single bytes that count as word delimiters.
class TEditorDelimiters {
 public:
  // Control bytes and space, ASCII punctuation, DEL, 128, 160, the half-width
  // punctuation 161-165 and 253-255.
  static TEditorDelimiters Standard();
  bool Has(unsigned char b) const { return m_set[b]; }
  void Set(unsigned char b, bool on) { m_set[b] = on; }

 private:
  std::bitset<256> m_set;
};

// How columns are counted for one editor and document.
struct TColumnRules {
  int TabSpaceCount = 8;
  bool WordWrap = false;
  int WrapByte = 80;
  const TEditorDelimiters* Delimiters = nullptr;  // the standard set when null

  // Columns a tab advances when it starts at 0-based column `col`.
  int TabAdvance(int col) const {
    int advance = TabSpaceCount - col % TabSpaceCount;
    if (WordWrap) {
      const int toEdge = WrapByte - col % WrapByte;
      if (toEdge < advance) advance = toEdge;
    }
    return advance;
  }
  bool IsDelimiter(unsigned char b) const;
};

// The attribute-string length cap: W + 3 columns with word wrap, else 1000.
// A double-byte character that starts below the cap is always finished.
int AttributeLimit(const TColumnRules& rules);
// One code per column of `s`, up to the cap (or `limit` columns when given).
void StrToAttributes(std::string_view s, const TColumnRules& rules, std::string& attributes, int limit = -1);
// Display width of s.
int ExpandTabLength(std::string_view s, const TColumnRules& rules);
// s with every tab replaced by the spaces it advances.
std::string ExpandTab(std::string_view s, const TColumnRules& rules);
// Byte index of display column `col` of s: col less the tab continuation
// columns before it; beyond the text, the excess columns count one byte each.
int ColumnToByteIndex(std::string_view attributes, int col);
// Display column of byte index `index` (start of the character there).
int ByteIndexToColumn(std::string_view s, int index, const TColumnRules& rules);
// Width of the leading blanks: a space 1, a full-width space 2, a tab to its stop.
int TabbedTopSpace(std::string_view s, const TColumnRules& rules);

// A cursor over a string and its attribute string; Position is 1-based
// (0 before the first column) and StrIndex counts the bytes up to and
// including the column at Position, a tab's continuation columns adding none.
class TEditorAttributeArray {
 public:
  TEditorAttributeArray() = default;
  TEditorAttributeArray(std::string_view source, std::string_view attributes) { NewData(source, attributes); }

  // The source must outlive the cursor; the attributes are copied.
  void NewData(std::string_view source, std::string_view attributes);
  int GetSize() const { return static_cast<int>(m_attributes.size()) - 1; }
  void Next();
  void Prior();
  void SetPosition(int column);
  // Back one character: Prior, twice when that lands on a lead column.
  void BackOne() {
    Prior();
    if (m_attribute == kColLead) Prior();
  }
  // The character at the cursor (a double-byte character whole, a tab for
  // its continuation columns, empty at the end marker).
  std::string_view PositionString() const { return CharAt(m_position, m_strIndex); }
  std::string_view NextPositionString() const;

  std::string_view Source() const { return m_source; }
  const std::string& Attributes() const { return m_attributes; }
  int Position() const { return m_position; }
  char Attribute() const { return m_attribute; }
  int StrIndex() const { return m_strIndex; }

 private:
  std::string_view CharAt(int position, int strIndex) const;

  std::string_view m_source;
  std::string m_attributes;  // the codes followed by the end marker
  int m_position = 0;
  char m_attribute = kColEnd;
  int m_strIndex = 0;
};

}  // namespace nuv
