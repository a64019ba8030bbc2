// Column codes, tab widths and the column cursor.
#include "editor/ColumnAttributes.h"

#include "base/Sjis.h"

namespace nuv {

TEditorDelimiters TEditorDelimiters::Standard() {
  TEditorDelimiters d;
  auto range = [&d](int from, int to) {
    for (int b = from; b <= to; ++b) d.m_set[static_cast<std::size_t>(b)] = true;
  };
  range(0, 47);
  range(58, 64);
  range(91, 94);
  range(96, 96);
  range(123, 128);
  range(160, 165);
  range(253, 255);
  return d;
}

namespace {
const TEditorDelimiters& DelimitersOf(const TColumnRules& rules) {
  static const TEditorDelimiters standard = TEditorDelimiters::Standard();
  return rules.Delimiters ? *rules.Delimiters : standard;
}
}  // namespace

bool TColumnRules::IsDelimiter(unsigned char b) const { return DelimitersOf(*this).Has(b); }

int AttributeLimit(const TColumnRules& rules) { return rules.WordWrap ? rules.WrapByte + 3 : 1000; }

void StrToAttributes(std::string_view s, const TColumnRules& rules, std::string& attributes, int limit) {
  const TEditorDelimiters& delimiters = DelimitersOf(rules);
  const std::size_t cap = static_cast<std::size_t>(limit < 0 ? AttributeLimit(rules) : limit);
  // At most cap - 1 codes before the last character, which adds at most a tab's width.
  attributes.resize(cap + 8);
  char* out = attributes.data();
  std::size_t n = 0;
  const std::size_t size = s.size();
  for (std::size_t i = 0; i < size && n < cap;) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    if (b == '\t') {
      const int advance = rules.TabAdvance(static_cast<int>(n));
      out[n++] = delimiters.Has(b) ? kColDelimiter : kColChar;
      for (int k = 1; k < advance; ++k) out[n++] = kColTabRest;
      ++i;
    } else if (IsLeadByte(b) && i + 1 < size && IsTrailByte(static_cast<unsigned char>(s[i + 1]))) {
      out[n++] = kColLead;
      out[n++] = kColTrail;
      i += 2;
    } else {
      out[n++] = delimiters.Has(b) ? kColDelimiter : kColChar;
      ++i;
    }
  }
  attributes.resize(n);
}

int ExpandTabLength(std::string_view s, const TColumnRules& rules) {
  // Without tabs the width is the byte count: a double-byte character is two
  // bytes and two columns, every other byte one.
  int col = 0;
  std::size_t from = 0;
  for (std::size_t tab = s.find('\t'); tab != std::string_view::npos; tab = s.find('\t', from)) {
    col += static_cast<int>(tab - from);
    col += rules.TabAdvance(col);
    from = tab + 1;
  }
  return col + static_cast<int>(s.size() - from);
}

std::string ExpandTab(std::string_view s, const TColumnRules& rules) {
  if (s.find('\t') == std::string_view::npos) return std::string(s);
  std::string out;
  out.reserve(s.size() + 16);
  for (char c : s) {
    if (c == '\t') {
      out.append(static_cast<std::size_t>(rules.TabAdvance(static_cast<int>(out.size()))), ' ');
    } else {
      out.push_back(c);
    }
  }
  return out;
}

int ColumnToByteIndex(std::string_view attributes, int col) {
  int rest = 0;
  const int n = col < static_cast<int>(attributes.size()) ? col : static_cast<int>(attributes.size());
  for (int i = 0; i < n; ++i) {
    if (attributes[static_cast<std::size_t>(i)] == kColTabRest) ++rest;
  }
  return col - rest;
}

int ByteIndexToColumn(std::string_view s, int index, const TColumnRules& rules) {
  int col = 0;
  std::size_t i = 0;
  const std::size_t target = index < 0 ? 0 : static_cast<std::size_t>(index);
  while (i < s.size() && i < target) {
    const std::size_t len = CharLength(s, i);
    if (i + len > target) break;  // the index is the trail half: stay at the character's start
    col += s[i] == '\t' ? rules.TabAdvance(col) : static_cast<int>(len);
    i += len;
  }
  if (target > s.size()) col += static_cast<int>(target - s.size());
  return col;
}

int TabbedTopSpace(std::string_view s, const TColumnRules& rules) {
  int col = 0;
  for (std::size_t i = 0; i < s.size();) {
    if (s[i] == ' ') {
      ++col;
      ++i;
    } else if (s[i] == '\t') {
      col += rules.TabAdvance(col);
      ++i;
    } else if (i + 1 < s.size() && static_cast<unsigned char>(s[i]) == 0x81 && s[i + 1] == 0x40) {
      col += 2;
      i += 2;
    } else {
      break;
    }
  }
  return col;
}

void TEditorAttributeArray::NewData(std::string_view source, std::string_view attributes) {
  m_source = source;
  m_attributes.assign(attributes);
  m_attributes.push_back(kColEnd);
  m_position = 0;
  m_strIndex = 0;
  m_attribute = kColEnd;
  Next();
}

void TEditorAttributeArray::Next() {
  if (m_position > 0 && m_attribute == kColEnd) return;
  ++m_position;
  m_attribute = m_attributes[static_cast<std::size_t>(m_position - 1)];
  if (m_attribute != kColTabRest) ++m_strIndex;
}

void TEditorAttributeArray::Prior() {
  if (m_position <= 1) return;
  if (m_attribute != kColTabRest) --m_strIndex;
  --m_position;
  m_attribute = m_attributes[static_cast<std::size_t>(m_position - 1)];
}

void TEditorAttributeArray::SetPosition(int column) {
  while (m_position < column && m_attribute != kColEnd) Next();
  while (m_position > column && m_position > 1) Prior();
}

std::string_view TEditorAttributeArray::CharAt(int position, int strIndex) const {
  if (position < 1 || position > GetSize()) return {};
  const char code = m_attributes[static_cast<std::size_t>(position - 1)];
  // strIndex counts the bytes up to and including this column's byte.
  std::size_t start = static_cast<std::size_t>(strIndex) - 1;
  std::size_t length = 1;
  if (code == kColLead) {
    length = 2;
  } else if (code == kColTrail) {
    start -= 1;
    length = 2;
  }
  if (start >= m_source.size()) return {};
  return m_source.substr(start, length);
}

std::string_view TEditorAttributeArray::NextPositionString() const {
  const int next = m_position + 1;
  if (next > GetSize()) return {};
  const char code = m_attributes[static_cast<std::size_t>(next - 1)];
  return CharAt(next, code == kColTabRest ? m_strIndex : m_strIndex + 1);
}

}  // namespace nuv
