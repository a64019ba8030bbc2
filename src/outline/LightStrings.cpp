// The light string list.
#include "outline/LightStrings.h"

#include "base/Error.h"
#include "base/FileIo.h"
#include "outline/OutlineTexts.h"

namespace nuv {

void TLightStrings::CheckIndex(int index, int limit) const {
  if (index < 0 || index >= limit) throw ENuvError(texts::ListIndexError());
}

const std::string& TLightStrings::Get(int index) const {
  CheckIndex(index, Count());
  return m_lines[static_cast<std::size_t>(index)];
}

void TLightStrings::Put(int index, std::string line) {
  CheckIndex(index, Count());
  m_lines[static_cast<std::size_t>(index)] = std::move(line);
}

void TLightStrings::Insert(int index, std::string line) {
  CheckIndex(index, Count() + 1);
  m_lines.insert(m_lines.begin() + index, std::move(line));
}

void TLightStrings::Delete(int index) {
  CheckIndex(index, Count());
  m_lines.erase(m_lines.begin() + index);
}

std::string TLightStrings::GetTextStr() const {
  std::size_t size = 0;
  for (const auto& line : m_lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const auto& line : m_lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void TLightStrings::SetTextStr(std::string_view text) {
  const std::vector<std::string_view> lines = TextLineViews(text);
  m_lines.assign(lines.begin(), lines.end());
}

void TLightStrings::LoadFromBytes(std::string_view bytes) {
  const std::vector<std::string_view> lines = FileLineViews(bytes);
  m_lines.assign(lines.begin(), lines.end());
}

TLineCursor TLineCursor::ForText(std::string_view text) {
  const std::size_t nul = text.find('\0');
  return ForFile(nul == std::string_view::npos ? text : text.substr(0, nul));
}

TLineCursor TLineCursor::ForFile(std::string_view bytes) {
  // A trailing run of 0x1A and line ends is the old end-of-file mark: the
  // text ends at the first 0x1A of that run. One pass back from the end finds
  // it, whatever the input holds.
  const std::size_t run = bytes.find_last_not_of("\x1A\r\n") + 1;  // npos + 1 is 0
  const std::size_t eof = bytes.find('\x1A', run);
  return TLineCursor(eof == std::string_view::npos ? bytes : bytes.substr(0, eof));
}

bool TLineCursor::Next(std::string_view& line) {
  const std::size_t size = m_text.size();
  if (m_pos >= size) return false;
  std::size_t i = m_pos;
  while (i < size && m_text[i] != '\r' && m_text[i] != '\n') ++i;
  line = m_text.substr(m_pos, i - m_pos);
  if (i + 1 < size && m_text[i] == '\r' && m_text[i + 1] == '\n') ++i;
  m_pos = i + 1;
  return true;
}

std::size_t TLineCursor::Remaining() const {
  const std::size_t size = m_text.size();
  std::size_t lines = 0;
  bool open = false;  // a line has begun and not yet ended
  for (std::size_t i = m_pos; i < size; ++i) {
    const char c = m_text[i];
    if (c == '\n' || (c == '\r' && (i + 1 == size || m_text[i + 1] != '\n'))) {
      ++lines;
      open = false;
    } else if (c != '\r') {
      open = true;
    }
  }
  return lines + (open ? 1 : 0);
}

namespace {
std::vector<std::string_view> AllLines(TLineCursor cursor) {
  std::vector<std::string_view> lines;
  for (std::string_view line; cursor.Next(line);) lines.push_back(line);
  return lines;
}
}  // namespace

std::vector<std::string_view> TLightStrings::TextLineViews(std::string_view text) {
  return AllLines(TLineCursor::ForText(text));
}

std::vector<std::string_view> TLightStrings::FileLineViews(std::string_view bytes) {
  return AllLines(TLineCursor::ForFile(bytes));
}

bool TLightStrings::LoadFromFile(const std::string& path) {
  std::string bytes;
  if (ReadWholeFile(path, bytes) != TReadResult::Ok) return false;
  LoadFromBytes(bytes);
  return true;
}

bool TLightStrings::SaveToFile(const std::string& path) const { return WriteFileAtomic(path, GetTextStr()); }

}  // namespace nuv
