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

std::vector<std::string_view> TLightStrings::TextLineViews(std::string_view text) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  return FileLineViews(text);
}

std::vector<std::string_view> TLightStrings::FileLineViews(std::string_view bytes) {
  std::vector<std::string_view> lines;
  // A trailing run of 0x1A and line ends is the old end-of-file mark: the
  // text ends at the first 0x1A of that run. One pass back from the end finds
  // it, whatever the input holds.
  const std::size_t run = bytes.find_last_not_of("\x1A\r\n") + 1;  // npos + 1 is 0
  const std::size_t eof = bytes.find('\x1A', run);
  const std::size_t end = eof == std::string_view::npos ? bytes.size() : eof;
  std::size_t start = 0;
  for (std::size_t i = 0; i < end; ++i) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n') continue;
    lines.push_back(bytes.substr(start, i - start));
    if (c == '\r' && i + 1 < end && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < end) lines.push_back(bytes.substr(start, end - start));
  return lines;
}

bool TLightStrings::LoadFromFile(const std::string& path) {
  std::string bytes;
  if (ReadWholeFile(path, bytes) != TReadResult::Ok) return false;
  LoadFromBytes(bytes);
  return true;
}

bool TLightStrings::SaveToFile(const std::string& path) const { return WriteFileAtomic(path, GetTextStr()); }

}  // namespace nuv
