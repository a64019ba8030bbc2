// TLightStrings: the light string list through which text files are read and
// written line by line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nuv {

// The lines of a text one at a time, as views into it: a reader that only
// walks the lines neither copies them nor keeps a list of them.
class TLineCursor {
 public:
  // The lines TLightStrings::SetTextStr would hold.
  static TLineCursor ForText(std::string_view text);
  // The lines TLightStrings::LoadFromBytes would hold.
  static TLineCursor ForFile(std::string_view bytes);
  // False when no line is left.
  bool Next(std::string_view& line);
  // How many lines Next would still give.
  std::size_t Remaining() const;

 private:
  explicit TLineCursor(std::string_view text) : m_text(text) {}
  std::string_view m_text;
  std::size_t m_pos = 0;
};

class TLightStrings {
 public:
  int Count() const { return static_cast<int>(m_lines.size()); }
  // Index errors raise ENuvError "インデックスがリストの範囲を超えています".
  const std::string& Get(int index) const;
  void Put(int index, std::string line);
  void Add(std::string line) { m_lines.push_back(std::move(line)); }
  void Insert(int index, std::string line);  // index may equal Count()
  void Delete(int index);
  void Clear() { m_lines.clear(); }

  // Every line followed by CR LF, the last line included.
  std::string GetTextStr() const;
  // Replaces the lines: a line ends at CR, LF, CR LF or NUL; text after a NUL
  // is ignored; a final line break gives no empty last line.
  void SetTextStr(std::string_view text);

  // Replaces the lines with a file's: a line ends at CR, LF or CR LF. A 0x1A
  // byte marks the end of the text when only 0x1A bytes and line ends follow
  // it; inside the text it is kept as a character, so nothing written by
  // SaveToFile is ever lost on reading. False when the file cannot be read.
  bool LoadFromFile(const std::string& path);
  void LoadFromBytes(std::string_view bytes);
  // The lines SetTextStr and LoadFromBytes would hold, as views into the
  // input: a reader that only walks the lines copies none of them.
  static std::vector<std::string_view> TextLineViews(std::string_view text);
  static std::vector<std::string_view> FileLineViews(std::string_view bytes);
  // Every line followed by CR LF, written atomically. False on failure.
  bool SaveToFile(const std::string& path) const;

  std::vector<std::string>& Lines() { return m_lines; }
  const std::vector<std::string>& Lines() const { return m_lines; }

 private:
  void CheckIndex(int index, int limit) const;
  std::vector<std::string> m_lines;
};

}  // namespace nuv
