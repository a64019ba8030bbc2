// Profile files: parsing, in-place writes and atomic saves.
//
// Every line is classified once (header, key line, other) when it is read or
// written; lookups then compare the stored names, and the ranges of the
// sections are kept until a line is added or removed.
#include "base/IniFile.h"

#include <charconv>

#include "base/FileIo.h"

namespace nuv {

namespace {

std::string_view TrimBlanks(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The section name of a header line, or nullopt for any other line.
std::optional<std::string_view> HeaderName(std::string_view line) {
  line = TrimBlanks(line);
  if (line.empty() || line[0] != '[') return std::nullopt;
  line.remove_prefix(1);
  const std::size_t close = line.find(']');
  if (close != std::string_view::npos) line = line.substr(0, close);
  return TrimBlanks(line);
}

struct TKeyValue {
  std::string_view key;
  std::string_view value;
};

std::optional<TKeyValue> SplitKeyLine(std::string_view line) {
  const std::string_view trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '[') return std::nullopt;
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  std::string_view value = TrimBlanks(line.substr(eq + 1));
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
    value = value.substr(1, value.size() - 2);
  return TKeyValue{TrimBlanks(line.substr(0, eq)), value};
}

bool ValidName(std::string_view name) {
  return !name.empty() && TrimBlanks(name) == name && name.find_first_of("=]\r\n") == std::string_view::npos;
}

// The text written after "key=" so that reading gives the value back.
std::string QuoteIfNeeded(std::string_view value) {
  const bool blankEdge = !value.empty() && (TrimBlanks(value).size() != value.size());
  const bool quoted = value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
  if (!blankEdge && !quoted) return std::string(value);
  std::string text;
  text.reserve(value.size() + 2);
  text.append(1, '"').append(value).append(1, '"');
  return text;
}

}  // namespace

TIniFile::TLine TIniFile::MakeLine(std::string text, std::string eol) {
  TLine line{std::move(text), std::move(eol), TLineKind::Other, std::string()};
  if (const auto header = HeaderName(line.text)) {
    line.kind = TLineKind::Header;
    line.name = std::string(*header);
  } else if (const auto kv = SplitKeyLine(line.text)) {
    line.kind = TLineKind::Key;
    line.name = std::string(kv->key);
  }
  return line;
}

TIniFile::TIniFile(std::string path) { Load(path); }

bool TIniFile::Load(const std::string& path) {
  m_path = path;
  m_lines.clear();
  LinesChanged();
  m_modified = false;
  std::string bytes;
  const TReadResult r = ReadWholeFile(path, bytes);
  if (r == TReadResult::Missing) return true;
  if (r != TReadResult::Ok) return false;
  LoadFromBytes(bytes);
  return true;
}

void TIniFile::LoadFromBytes(std::string_view bytes) {
  m_lines.clear();
  LinesChanged();
  m_modified = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    const std::size_t eolLen = (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
    m_lines.push_back(MakeLine(std::string(bytes.substr(start, i - start)), std::string(bytes.substr(i, eolLen))));
    i += eolLen - 1;
    start = i + 1;
  }
  if (start < bytes.size()) m_lines.push_back(MakeLine(std::string(bytes.substr(start)), std::string()));
}

std::string TIniFile::ToBytes() const {
  std::string out;
  for (const auto& line : m_lines) {
    out += line.text;
    out += line.eol;
  }
  return out;
}

bool TIniFile::Save() {
  if (!m_modified) return true;
  if (!WriteFileAtomic(m_path, ToBytes())) return false;
  m_modified = false;
  return true;
}

bool TIniFile::SaveAs(const std::string& path) {
  if (!WriteFileAtomic(path, ToBytes())) return false;
  m_path = path;
  m_modified = false;
  return true;
}

std::optional<TIniFile::TSectionRange> TIniFile::FindSection(std::string_view section) const {
  if (m_sections.empty()) {
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
      if (m_lines[i].kind != TLineKind::Header) continue;
      if (!m_sections.empty()) m_sections.back().end = i;
      m_sections.push_back({i, m_lines.size()});
    }
  }
  for (const TSectionRange& range : m_sections)
    if (EqualNoCase(m_lines[range.header].name, section)) return range;
  return std::nullopt;
}

std::optional<std::size_t> TIniFile::FindKeyLine(const TSectionRange& range, std::string_view key) const {
  for (std::size_t i = range.header + 1; i < range.end; ++i)
    if (m_lines[i].kind == TLineKind::Key && EqualNoCase(m_lines[i].name, key)) return i;
  return std::nullopt;
}

bool TIniFile::SectionExists(std::string_view section) const { return FindSection(section).has_value(); }

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
  return Find(section, key).has_value();
}

std::optional<std::string> TIniFile::Find(std::string_view section, std::string_view key) const {
  const auto range = FindSection(section);
  if (!range) return std::nullopt;
  const auto line = FindKeyLine(*range, key);
  if (!line) return std::nullopt;
  return std::string(SplitKeyLine(m_lines[*line].text)->value);
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
  auto v = Find(section, key);
  return v ? *v : std::string(def);
}

std::optional<int32_t> TIniFile::ParseInteger(std::string_view text) {
  text = TrimBlanks(text);
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  int32_t value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key, int32_t def) const {
  const auto v = Find(section, key);
  if (!v) return def;
  return ParseInteger(*v).value_or(def);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  const auto range = FindSection(section);
  if (!range) return keys;
  for (std::size_t i = range->header + 1; i < range->end; ++i)
    if (m_lines[i].kind == TLineKind::Key) keys.push_back(m_lines[i].name);
  return keys;
}

std::vector<std::string> TIniFile::SectionNames() const {
  std::vector<std::string> names;
  for (const auto& line : m_lines)
    if (line.kind == TLineKind::Header) names.push_back(line.name);
  return names;
}

bool TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  if (!ValidName(section) || !ValidName(key) || value.find_first_of("\r\n") != std::string_view::npos) return false;
  const std::string text = std::string(key) + "=" + QuoteIfNeeded(value);
  const auto range = FindSection(section);
  if (range) {
    if (const auto line = FindKeyLine(*range, key)) {
      // Keep the key's spelling as the file has it; only the value changes.
      TLine& old = m_lines[*line];
      if (SplitKeyLine(old.text)->value != value) {
        old = MakeLine(old.text.substr(0, old.text.find('=') + 1) + QuoteIfNeeded(value), old.eol);
        m_modified = true;
      }
      return true;
    }
    std::size_t at = range->end;
    while (at > range->header + 1 && TrimBlanks(m_lines[at - 1].text).empty()) --at;
    if (m_lines[at - 1].eol.empty()) m_lines[at - 1].eol = "\r\n";
    const std::string eol = m_lines[at - 1].eol;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), MakeLine(text, eol));
  } else {
    if (!m_lines.empty() && m_lines.back().eol.empty()) m_lines.back().eol = "\r\n";
    std::string header(1, '[');
    header.append(section).append(1, ']');
    m_lines.push_back(MakeLine(std::move(header), "\r\n"));
    m_lines.push_back(MakeLine(text, "\r\n"));
  }
  LinesChanged();
  m_modified = true;
  return true;
}

bool TIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  return WriteString(section, key, std::to_string(value));
}

bool TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

void TIniFile::EraseSection(std::string_view section) {
  while (const auto range = FindSection(section)) {
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(range->header),
                  m_lines.begin() + static_cast<std::ptrdiff_t>(range->end));
    LinesChanged();
    m_modified = true;
  }
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
  const auto range = FindSection(section);
  if (!range) return;
  if (const auto line = FindKeyLine(*range, key)) {
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*line));
    LinesChanged();
    m_modified = true;
  }
}

}  // namespace nuv
