// A headless page editor over a list of lines, for nuvtool and tests until
// the editor core takes its place behind the same interfaces.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "macro/PageLines.h"
#include "outline/PageEditor.h"

namespace nuv {

class TPlainPageEditor : public IPageEditor, public IPageLines {
 public:
  // IPageEditor.
  std::string Text() const override;
  void SetText(std::string_view text) override;
  bool Modified() const override { return m_modified; }
  void SetModified(bool modified) override { m_modified = modified; }
  int SelStart() const override { return m_selStart; }
  int SelLength() const override { return m_selLength; }
  void SetSelection(int start, int length) override;
  std::string SelText() const override;
  int CaretRow() const override;
  int CaretCol() const override;
  void InsertAtCaret(std::string_view text) override;
  bool CanUndo() const override { return false; }
  void Undo() override {}
  bool CanRedo() const override { return false; }
  void Redo() override {}

  // IPageLines.
  int LineCount() const override { return static_cast<int>(m_lines.size()); }
  std::string LineText(int row) const override { return m_lines.at(static_cast<std::size_t>(row)); }
  void ReplaceLine(int row, std::string_view text) override;
  void DeleteLine(int row) override;
  void InsertLine(int row, std::string_view text) override;

 private:
  int TextLength() const { return static_cast<int>(std::min<std::size_t>(m_textLength, INT32_MAX)); }
  void SetLines(std::vector<std::string> lines);
  void Edited();

  std::vector<std::string> m_lines;
  std::size_t m_textLength = 0;  // size of Text(): every line and its CR LF
  int m_selStart = 0;
  int m_selLength = 0;
  bool m_modified = false;
};

}  // namespace nuv
