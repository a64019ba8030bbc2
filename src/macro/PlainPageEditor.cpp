// The headless page editor: lines in a vector, the text joined on demand.
#include "macro/PlainPageEditor.h"

#include <algorithm>

#include "base/Sjis.h"

namespace nuv {

std::string TPlainPageEditor::Text() const {
  std::string out;
  out.reserve(static_cast<std::size_t>(TextLength()));
  for (const std::string& line : m_lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

void TPlainPageEditor::SetLines(std::vector<std::string> lines) {
  m_lines = std::move(lines);
  m_textLength = 0;
  for (const std::string& line : m_lines) m_textLength += line.size() + 2;
}

void TPlainPageEditor::SetText(std::string_view text) {
  SetLines(StrToStrings(text));
  m_selStart = m_selLength = 0;
}

void TPlainPageEditor::SetSelection(int start, int length) {
  const int size = TextLength();
  m_selStart = std::clamp(start, 0, size);
  m_selLength = std::clamp(length, 0, size - m_selStart);
}

std::string TPlainPageEditor::SelText() const {
  return Text().substr(static_cast<std::size_t>(m_selStart), static_cast<std::size_t>(m_selLength));
}

int TPlainPageEditor::CaretRow() const {
  int offset = 0;
  for (std::size_t row = 0; row < m_lines.size(); ++row) {
    offset += static_cast<int>(m_lines[row].size()) + 2;
    if (m_selStart < offset) return static_cast<int>(row);
  }
  return static_cast<int>(m_lines.size());
}

int TPlainPageEditor::CaretCol() const {
  int offset = 0;
  for (const std::string& line : m_lines) {
    const int next = offset + static_cast<int>(line.size()) + 2;
    if (m_selStart < next) return std::min(m_selStart - offset, static_cast<int>(line.size()));
    offset = next;
  }
  return 0;
}

void TPlainPageEditor::InsertAtCaret(std::string_view text) {
  std::string all = Text();
  all.replace(static_cast<std::size_t>(m_selStart), static_cast<std::size_t>(m_selLength), text);
  // The editor's text always ends with a line end: a cut that removed the
  // last one leaves the last line open, which the line list closes again.
  SetLines(StrToStrings(all));
  m_selStart = std::min(m_selStart + static_cast<int>(text.size()), TextLength());
  m_selLength = 0;
  Edited();
}

void TPlainPageEditor::ReplaceLine(int row, std::string_view text) {
  std::vector<std::string> parts = StrToStrings(text);
  if (parts.empty()) parts.emplace_back();
  m_textLength -= m_lines[static_cast<std::size_t>(row)].size() + 2;
  for (const std::string& p : parts) m_textLength += p.size() + 2;
  const auto at = m_lines.begin() + row;
  *at = std::move(parts.front());
  m_lines.insert(at + 1, std::make_move_iterator(parts.begin() + 1), std::make_move_iterator(parts.end()));
  Edited();
}

void TPlainPageEditor::DeleteLine(int row) {
  m_textLength -= m_lines[static_cast<std::size_t>(row)].size() + 2;
  m_lines.erase(m_lines.begin() + row);
  Edited();
}

void TPlainPageEditor::InsertLine(int row, std::string_view text) {
  std::vector<std::string> parts = StrToStrings(text);
  if (parts.empty()) parts.emplace_back();
  for (const std::string& p : parts) m_textLength += p.size() + 2;
  m_lines.insert(m_lines.begin() + row, std::make_move_iterator(parts.begin()), std::make_move_iterator(parts.end()));
  Edited();
}

void TPlainPageEditor::Edited() {
  m_modified = true;
  SetSelection(m_selStart, m_selLength);
}

}  // namespace nuv
