// The editor's Lines: the document seen as logical lines (with word wrap a
// line may span several rows), and the text as a whole.
#pragma once

#include <string>
#include <string_view>

namespace nuv {

class TEditor;

class TEditorStrings {
 public:
  explicit TEditorStrings(TEditor& editor) : m_editor(editor) {}

  int GetCount() const;
  // The whole logical line without its line break.
  std::string Get(int line) const;
  void Put(int line, std::string_view s);
  void Insert(int line, std::string_view s);
  void Add(std::string_view s);
  void Delete(int line);
  void Clear();
  // The first row of a logical line (the row count past the last line).
  int LinesToRow(int line) const;

  std::string GetTextStr() const;
  void SetTextStr(std::string_view text);
  // Sets the text and puts the caret on the row after the last row.
  void Assign(std::string_view text);
  bool LoadFromFile(const std::string& fileName);
  bool SaveToFile(const std::string& fileName) const;

  void BeginUpdate();
  void EndUpdate();

 private:
  TEditor& m_editor;
  int m_updateCount = 0;
};

}  // namespace nuv
