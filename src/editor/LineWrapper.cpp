// The row-break search and the wrapping of whole lines and texts.
#include "editor/LineWrapper.h"

#include "base/Sjis.h"

namespace nuv {

TLineWrapper::TLineWrapper(const TEditorWrapOption& option, const TColumnRules& rules)
    : m_option(option), m_rules(rules) {
  m_rules.WordWrap = true;
  m_rules.WrapByte = option.WrapByte();
}

TRowAttribute TLineWrapper::RowAt(std::string_view line, std::size_t from, std::size_t& end) {
  const int w = m_option.WrapByte();
  m_rules.WrapByte = w;
  const std::string_view rest = line.substr(from);
  // A rest of fewer than W bytes without a tab is shorter than W columns.
  if (rest.size() < static_cast<std::size_t>(w) &&
      rest.find('\t') == std::string_view::npos) {
    end = line.size();
    return raCrlf;
  }
  StrToAttributes(rest, m_rules, m_codes);
  if (static_cast<int>(m_codes.size()) < w) {
    end = line.size();
    return raCrlf;
  }
  TEditorAttributeArray& a = m_cursor;
  a.NewData(rest, m_codes);
  a.SetPosition(w);
  if (a.Attribute() == kColLead) {
    // A double-byte character across the edge goes to the next row.
    a.Prior();
  } else if (m_option.WordBreak() && a.GetSize() > w) {
    while (a.Attribute() != kColDelimiter && a.Attribute() != kColTabRest && a.Attribute() != kColTrail &&
           a.Position() > w / 3) {
      a.BackOne();
    }
  }
  if (m_option.FollowPunctuation()) {
    while (a.Position() < w + 2 && IsInclude(a.NextPositionString(), m_option.PunctuationStr())) {
      a.Next();
      if (a.Attribute() == kColLead) a.Next();
    }
  }
  if (m_option.Leading() && a.Position() < a.GetSize()) {
    const int floor = (w / 5) * 4;
    while (a.Position() > floor && IsInclude(a.PositionString(), m_option.LeadStr())) a.BackOne();
    if (a.GetSize() - a.Position() >= 2 && IsInclude(a.NextPositionString(), m_option.FollowStr())) {
      while (a.Position() > floor && (IsInclude(a.PositionString(), m_option.LeadStr()) ||
                                      IsInclude(a.NextPositionString(), m_option.FollowStr()))) {
        a.BackOne();
      }
    }
  }
  // Never end a row inside a double-byte character, and always make progress.
  if (a.Attribute() == kColLead) a.Prior();
  std::size_t length = static_cast<std::size_t>(a.StrIndex() < 1 ? 1 : a.StrIndex());
  if (length > rest.size()) length = rest.size();
  end = from + length;
  if (end == line.size() && m_option.FollowRetMark()) return raCrlf;
  return raWrapped;
}

void TLineWrapper::WrapLine(std::string_view line, TRowAttributeStringList& list) {
  std::size_t from = 0;
  for (;;) {
    std::size_t end = 0;
    const TRowAttribute attribute = RowAt(line, from, end);
    const int row = list.Add(std::string(line.substr(from, end - from)));
    if (attribute != raCrlf) list.SetRows(row, attribute);
    if (attribute == raCrlf) return;
    from = end;
  }
}

int TLineWrapper::WrapCount(std::string_view line) {
  int count = 0;
  std::size_t from = 0;
  for (;;) {
    std::size_t end = 0;
    ++count;
    if (RowAt(line, from, end) == raCrlf) return count;
    from = end;
  }
}

void WrapText(std::string_view text, bool wordWrap, TLineWrapper& wrapper, TRowAttributeStringList& list) {
  if (text.empty()) {
    list.Add(std::string());
    return;
  }
  ForEachLine(text, [&](std::string_view line) {
    if (wordWrap) {
      wrapper.WrapLine(line, list);
    } else {
      list.Add(std::string(line));
    }
  });
}

}  // namespace nuv
