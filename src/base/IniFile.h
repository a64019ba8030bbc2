// Profile (ini) files over bytes: the settings store's file layer.
//
// Section and key names compare ASCII case-insensitively; the first matching
// section wins and, inside it, the first matching key. Values are trimmed and
// one pair of enclosing quotes is stripped; there are no escapes. Writing
// changes lines in place and keeps every other line, with its own line end,
// byte for byte. Save replaces the file atomically.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nuv {

class TIniFile {
 public:
  TIniFile() = default;
  // Loads path when it exists; a missing file is an empty profile.
  explicit TIniFile(std::string path);

  // False when the file exists but cannot be read.
  bool Load(const std::string& path);
  void LoadFromBytes(std::string_view bytes);
  std::string ToBytes() const;
  // Writes the file when something changed; false on a failed write.
  bool Save();
  bool SaveAs(const std::string& path);
  const std::string& Path() const { return m_path; }
  bool Modified() const { return m_modified; }

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  // A value that is not a whole signed 32-bit decimal number reads as def.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
  // Any integer other than 0 is true.
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;
  // Key names of a section in file order.
  std::vector<std::string> ReadSection(std::string_view section) const;
  std::vector<std::string> SectionNames() const;

  // False, and nothing written, when the value holds CR or LF or a name could
  // not be read back (empty, or holding '=', ']', CR or LF).
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  bool WriteInteger(std::string_view section, std::string_view key, int32_t value);
  bool WriteBool(std::string_view section, std::string_view key, bool value);
  // Removes every section of that name with all its lines.
  void EraseSection(std::string_view section);
  void DeleteKey(std::string_view section, std::string_view key);

  static std::optional<int32_t> ParseInteger(std::string_view text);

 private:
  enum class TLineKind { Other, Header, Key };
  struct TLine {
    std::string text;
    std::string eol;
    TLineKind kind = TLineKind::Other;
    std::string name;  // the section name of a header, the key of a key line
  };
  struct TSectionRange {
    std::size_t header;  // line of "[name]"
    std::size_t end;     // one past the section's last line
  };
  static TLine MakeLine(std::string text, std::string eol);
  std::optional<TSectionRange> FindSection(std::string_view section) const;
  std::optional<std::size_t> FindKeyLine(const TSectionRange& range, std::string_view key) const;
  void LinesChanged() { m_sections.clear(); }

  std::string m_path;
  std::vector<TLine> m_lines;
  // Section ranges in file order, rebuilt after lines are added or removed.
  mutable std::vector<TSectionRange> m_sections;
  bool m_modified = false;
};

}  // namespace nuv
