// A page editor over a plain string, and prompts that answer from a script,
// for tests of code that talks to the editor and the message boxes.
#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "base/Prompts.h"
#include "outline/PageEditor.h"

namespace nuv::test {

class TFakePageEditor : public IPageEditor {
 public:
  std::string Text() const override {
    if (m_text.empty() || (m_text.size() >= 2 && m_text.compare(m_text.size() - 2, 2, "\r\n") == 0)) return m_text;
    return m_text + "\r\n";
  }
  void SetText(std::string_view text) override {
    m_text = std::string(text);
    m_start = m_length = 0;
  }
  bool Modified() const override { return m_modified; }
  void SetModified(bool modified) override { m_modified = modified; }
  int SelStart() const override { return m_start; }
  int SelLength() const override { return m_length; }
  void SetSelection(int start, int length) override {
    m_start = std::clamp(start, 0, static_cast<int>(m_text.size()));
    m_length = std::clamp(length, 0, static_cast<int>(m_text.size()) - m_start);
  }
  std::string SelText() const override { return m_text.substr(static_cast<std::size_t>(m_start), static_cast<std::size_t>(m_length)); }
  int CaretRow() const override { return static_cast<int>(std::count(m_text.begin(), m_text.begin() + m_start, '\n')); }
  int CaretCol() const override {
    const std::size_t nl = m_text.rfind('\n', m_start ? static_cast<std::size_t>(m_start - 1) : 0);
    return m_start - (nl == std::string::npos || m_start == 0 ? 0 : static_cast<int>(nl) + 1);
  }
  void InsertAtCaret(std::string_view text) override {
    m_text.replace(static_cast<std::size_t>(m_start), static_cast<std::size_t>(m_length), text);
    m_start += static_cast<int>(text.size());
    m_length = 0;
    m_modified = true;
  }
  bool CanUndo() const override { return false; }
  void Undo() override {}
  bool CanRedo() const override { return false; }
  void Redo() override {}
  // The page switch needs none of the rest.
  bool BoxMode() const override { return false; }
  void SetBoxMode(bool) override {}
  void SelectAll() override { SetSelection(0, static_cast<int>(m_text.size())); }
  void DeleteSelection() override { InsertAtCaret({}); }
  bool ReadOnly() const override { return false; }
  bool Overwrite() const override { return false; }
  void SetOverwrite(bool) override {}
  int CaretLine() const override { return CaretRow(); }
  void CutToClipboard() override {}
  void CopyToClipboard() override {}
  bool CanPaste() const override { return false; }
  void PasteFromClipboard() override {}
  void PasteBoxFromClipboard() override {}
  std::string WordFromCaret() const override { return {}; }
  std::string WordFromPos(TPagePoint) const override { return {}; }
  std::string TokenStringFromCaret(bool) const override { return {}; }
  std::string TokenStringFromPos(TPagePoint, bool) const override { return {}; }
  void SetFindString(std::string_view) override {}
  void SetSearchOptions(TExSearchOptions) override {}
  bool Find() override { return false; }
  bool FindNext() override { return false; }
  bool FindPrev() override { return false; }
  bool Replace(std::string_view, bool) override { return false; }
  int ReplaceAll(std::string_view, bool) override { return 0; }
  void SetHitSelLength(int) override {}
  void HitToSelected() override {}

  // Simulates typing: the text changes and the modified flag is set.
  void Type(std::string_view text) {
    m_text = std::string(text);
    m_modified = true;
  }
  // The line of the caret: from the line start before it to its line end.
  void DeleteCaretLine(bool) override {
    const std::size_t from = LineStart(), end = m_text.find('\n', static_cast<std::size_t>(m_start));
    m_text.erase(from, end == std::string::npos ? std::string::npos : end + 1 - from);
    m_start = static_cast<int>(from);
    m_length = 0;
    m_modified = true;
  }
  void DeleteToLineEnd() override {
    const std::size_t end = m_text.find_first_of("\r\n", static_cast<std::size_t>(m_start));
    m_text.erase(static_cast<std::size_t>(m_start), end == std::string::npos ? std::string::npos : end - m_start);
    m_length = 0;
    m_modified = true;
  }
  void ConvertSelection(const std::function<std::string(std::string_view)>& convert) override {
    if (m_length == 0) {
      m_text = convert(m_text);
    } else {
      const std::string converted = convert(SelText());
      m_text.replace(static_cast<std::size_t>(m_start), static_cast<std::size_t>(m_length), converted);
      m_length = static_cast<int>(converted.size());
    }
    m_modified = true;
  }

 private:
  std::size_t LineStart() const {
    const std::size_t nl = m_start == 0 ? std::string::npos : m_text.rfind('\n', static_cast<std::size_t>(m_start - 1));
    return nl == std::string::npos ? 0 : nl + 1;
  }
  std::string m_text;
  int m_start = 0;
  int m_length = 0;
  bool m_modified = false;
};

class TScriptedPrompts : public IPrompts {
 public:
  void Error(const std::string& text) override { errors.push_back(text); }
  void ErrorWithReason(const std::string& text, const std::string& reason) override {
    errors.push_back(text);
    reasons.push_back(reason);
  }
  void Info(const std::string& text) override { infos.push_back(text); }
  bool Question(const std::string& text, bool) override {
    questions.push_back(text);
    return Next() == TAnswer::Yes;
  }
  TAnswer QuestionCancel(const std::string& text) override {
    questions.push_back(text);
    return Next();
  }
  std::deque<TAnswer> answers;
  std::vector<std::string> errors, infos, questions;
  std::vector<std::string> reasons;  // the system's reasons given with errors

 private:
  TAnswer Next() {
    if (answers.empty()) return TAnswer::Yes;
    const TAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
};

}  // namespace nuv::test
