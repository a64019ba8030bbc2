// Shared helpers of the editor tests: readable dumps of rows and a document
// wrapped afresh from a text, to compare incremental results with.
#pragma once

#include <memory>
#include <string>

#include "editor/Editor.h"
#include "editor/EditorScreenStrings.h"

namespace nuv::test {

inline char AttributeLetter(TRowAttribute a) {
  switch (a) {
    case raCrlf: return 'c';
    case raWrapped: return 'w';
    case raEof: return 'e';
    default: return '?';
  }
}

// "text|c" per row, one per line; Shift JIS bytes are left as they are.
inline std::string DumpRows(const TRowAttributeStringList& list) {
  std::string out;
  for (int i = 0; i < list.GetCount(); ++i) {
    out += list.Get(i);
    out += '|';
    out += AttributeLetter(list.GetRows(i));
    out += '\n';
  }
  return out;
}

inline std::string DumpMarks(const TRowAttributeStringList& list) {
  std::string out;
  for (int i = 0; i < list.GetCount(); ++i) out += std::to_string(list.GetRowMarks(i).Bits) + ",";
  return out;
}

// Wrap settings a test runs under.
struct TWrapSetup {
  const char* name;
  bool wordWrap;
  int wrapByte;
  bool followRetMark, followPunctuation, leading, wordBreak;
  int tabSpaceCount;
};

inline void Apply(const TWrapSetup& setup, TEditor& editor) {
  TEditorWrapOption& o = editor.WrapOption();
  o.BeginUpdate();
  o.SetWrapByte(setup.wrapByte);
  o.SetFollowRetMark(setup.followRetMark);
  o.SetFollowPunctuation(setup.followPunctuation);
  o.SetLeading(setup.leading);
  o.SetWordBreak(setup.wordBreak);
  o.EndUpdate();
  editor.Caret().SetTabSpaceCount(setup.tabSpaceCount);
  editor.SetWordWrap(setup.wordWrap);
}

// The rows a fresh editor with the same settings gives for `text`.
inline std::string FullWrap(const TWrapSetup& setup, const std::string& text) {
  TEditor fresh;
  Apply(setup, fresh);
  fresh.Lines().SetTextStr(text);
  return DumpRows(fresh.List());
}

}  // namespace nuv::test
