// Feeds random text and a random run of key, mouse, selection, clipboard and
// search commands to the editor core and checks its invariants after each:
// rows hold no line breaks and end as the text does, the rows equal a fresh
// wrap of the text, the caret stands on a character start, a line selection
// is the text between its ends (both character starts), find marks lie in
// their row, and undoing every step gives back the loaded text.
//
// Input: 4 option bytes, a 2-byte text length, the text, then commands of
// two bytes each (command, argument); the find-string command takes its
// pattern from the bytes that follow.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/Error.h"
#include "base/Sjis.h"
#include "editor/ColumnAttributes.h"
#include "editor/EditorEx.h"

namespace {

using namespace nuv;

// Names the broken invariant before stopping, so a crash log says which.
#define Check(condition)                                                         \
  do {                                                                           \
    if (!(condition)) {                                                          \
      std::fprintf(stderr, "invariant broken at line %d: %s\n", __LINE__, #condition); \
      std::abort();                                                              \
    }                                                                            \
  } while (0)

std::string Rows(const TEditorScreenStrings& list) {
  std::string out;
  for (int i = 0; i < list.GetCount(); ++i) {
    out += list.Get(i);
    out += static_cast<char>('0' + list.GetRows(i));
    out += '\n';
  }
  return out;
}

bool IsBoundary(const std::string& s, std::size_t at) {
  std::size_t i = 0;
  while (i < at) i += CharLength(s, i);
  return i == at;
}

void CheckSelection(TEditorEx& editor, const std::string& text) {
  if (!editor.Selected()) return;
  const std::string selected = editor.SelText();
  Check(static_cast<std::int64_t>(selected.size()) == editor.SelLength());
  if (editor.SelectionMode() != smLine) return;
  const std::int64_t start = editor.SelStart(), length = editor.SelLength();
  Check(start >= 0 && start + length <= static_cast<std::int64_t>(text.size()));
  Check(IsBoundary(text, static_cast<std::size_t>(start)) && IsBoundary(text, static_cast<std::size_t>(start + length)));
  Check(text.compare(static_cast<std::size_t>(start), static_cast<std::size_t>(length), selected) == 0);
}

void CheckFindMarks(TEditorEx& editor) {
  const int row = editor.Row();
  if (row >= editor.GetListCount()) return;
  const int n = editor.SearchLine(row);
  Check(n <= TEditorEx::kMaxRowSegments);
  const int width = editor.ExpandListLength(row);
  for (const TFindSegment& segment : editor.FindSegments()) {
    Check(segment.Col >= 0 && segment.Length > 0 && segment.Col + segment.Length <= width + TEditor::kMaxCol);
  }
}

void CheckInvariants(TEditorEx& editor, bool compareWithFreshWrap) {
  const TEditorScreenStrings& list = editor.List();
  const int rows = list.GetCount();
  for (int i = 0; i < rows; ++i) {
    const std::string& s = list.Get(i);
    Check(s.find('\r') == std::string::npos && s.find('\n') == std::string::npos);
    const TRowAttribute a = list.GetRows(i);
    if (i < rows - 1) Check(a == raCrlf || a == raWrapped);
    if (i == rows - 1) Check(a == raCrlf || a == raEof);
    if (!list.WordWrap()) Check(a != raWrapped);
  }
  const std::string text = list.ListToStr();
  Check(static_cast<std::int64_t>(text.size()) == list.TextLength());
  Check(!text.empty() || rows == 0);
  if (rows > 0) Check((list.GetRows(rows - 1) == raEof) == (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0));
  // The caret row, and its column on a character start.
  Check(editor.Row() >= 0 && editor.Row() <= rows);
  if (rows > 0 && list.GetRows(rows - 1) == raEof) Check(editor.Row() < rows);
  if (editor.Row() < rows) {
    std::string codes;
    editor.StrToAttributes(list.Get(editor.Row()), codes);
    const int col = editor.Col();
    if (col < static_cast<int>(codes.size())) {
      Check(codes[static_cast<std::size_t>(col)] != kColTrail);
      if (!editor.Caret().InTab()) Check(codes[static_cast<std::size_t>(col)] != kColTabRest);
    }
  }
  CheckSelection(editor, text);
  if (compareWithFreshWrap) {
    CheckFindMarks(editor);
    TEditor fresh;
    fresh.WrapOption().Assign(editor.WrapOption());
    fresh.Caret().SetTabSpaceCount(editor.Caret().TabSpaceCount());
    fresh.SetWordWrap(list.WordWrap());
    fresh.Lines().SetTextStr(text);
    Check(Rows(fresh.List()) == Rows(list));
  }
}

const char* const kInserts[] = {"a", " ", "\t", "\x8A\xBF", "\x81\x42", "\x81\x75", "\r\n", "\x82", "word ", "\xB1"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 6) return 0;
  TEditorEx editor;
  editor.SetUndoListMax(100000);
  TFixedMeasurer measurer;
  measurer.visibleRows = 10;
  editor.SetMeasurer(&measurer);
  const std::uint8_t flags = data[0];
  editor.WrapOption().SetWrapByte(20 + data[1] % 40);
  editor.WrapOption().SetFollowRetMark(flags & 1);
  editor.WrapOption().SetFollowPunctuation(flags & 2);
  editor.WrapOption().SetLeading(flags & 4);
  editor.WrapOption().SetWordBreak(flags & 8);
  editor.Caret().SetTabSpaceCount(2 + data[2] % 7);
  editor.Caret().SetFreeCaret(flags & 16);
  editor.Caret().SetNextLine(flags & 32);
  editor.Caret().SetKeepCaret(flags & 64);
  editor.Caret().SetInTab(data[2] & 0x80);
  editor.Caret().SetAutoIndent(data[3] & 1);
  editor.Caret().SetTabIndent(data[3] & 2);
  editor.Caret().SetSoftTab(data[3] & 4);
  editor.Caret().SetPrevSpaceIndent(data[3] & 8);
  editor.SetWordWrap(flags & 128);
  std::size_t textLength = static_cast<std::size_t>(data[4]) | (static_cast<std::size_t>(data[5]) << 8);
  std::size_t pos = 6;
  textLength = std::min(textLength, size - pos);
  const std::string text(reinterpret_cast<const char*>(data + pos), textLength);
  pos += textLength;
  editor.Lines().SetTextStr(text);
  const std::string loaded = editor.List().ListToStr();
  CheckInvariants(editor, true);

  int steps = 0;
  for (; pos + 1 < size && steps < 300; pos += 2, ++steps) {
    const std::uint8_t op = data[pos], arg = data[pos + 1];
    TKeyState state;
    state.Shift = arg & 1;
    state.Ctrl = arg & 2;
    state.AutoRepeat = arg & 4;
    // Pixels around the text area, the margins included.
    const int x = (arg & 0x0F) * 8 + (arg & 0x80 ? 19 : 0);
    const int y = ((arg >> 4) & 0x07) * 16;
    try {
      switch (op % 40) {
        case 0: editor.KeyDown(TEditorKey::Left, state); break;
        case 1: editor.KeyDown(TEditorKey::Right, state); break;
        case 2: editor.KeyDown(TEditorKey::Up, state); break;
        case 3: editor.KeyDown(TEditorKey::Down, state); break;
        case 4: editor.KeyDown(TEditorKey::Home, state); break;
        case 5: editor.KeyDown(TEditorKey::End, state); break;
        case 6: editor.KeyDown(TEditorKey::PageUp, state); break;
        case 7: editor.KeyDown(TEditorKey::PageDown, state); break;
        case 8: editor.KeyDown(TEditorKey::Delete, state); break;
        case 9: editor.KeyDown(TEditorKey::Backspace, state); break;
        case 10: editor.KeyDown(TEditorKey::Return, state); break;
        case 11: editor.KeyDown(TEditorKey::Tab, state); break;
        case 12: editor.KeyPress(arg); break;
        case 13: editor.PutStringToLine(kInserts[arg % 10]); break;
        case 14: editor.SetRowCol(arg % 40, arg / 4); break;
        case 15: editor.SetOverWrite(arg & 1); break;
        case 16: editor.Undo(); break;
        case 17: editor.Redo(); break;
        case 18: editor.DeleteRow(arg % 40); break;
        case 19: editor.List().UpdateList(arg % 8, (arg >> 3) % 3, kInserts[arg % 10]); break;
        case 20: editor.MouseDown(x, y, state); break;
        case 21: editor.MouseMove(x, y, arg & 8, state); break;
        case 22: editor.MouseUp(x, y, state); break;
        case 23: editor.SetSelectionMode(arg & 1 ? smBox : smLine); break;
        case 24: editor.SetSelLength(arg % 24); break;
        case 25: editor.SetSelStart(arg * 3); break;
        case 26: editor.CopyToClipboard(); break;
        case 27: editor.CutToClipboard(); break;
        case 28: editor.PasteFromClipboard(); break;
        case 29: editor.PasteBoxFromClipboard(); break;
        case 30:
          switch (arg % 4) {
            case 0: editor.SelIndent(); break;
            case 1: editor.SelUnIndent(); break;
            case 2: editor.SelTabIndent(); break;
            default: editor.SelTabUnIndent(); break;
          }
          break;
        case 31: editor.SetSelTextBox(kInserts[arg % 10]); break;
        case 32: {
          // A find string from the next bytes of the input, with random options.
          const std::size_t n = std::min<std::size_t>(arg % 8, size - pos - 2);
          editor.SetFindString(std::string(reinterpret_cast<const char*>(data + pos + 2), n));
          editor.SetExSearchOptions(arg >> 4);
          pos += n;
          break;
        }
        case 33: editor.FindNext(); break;
        case 34: editor.FindPrev(); break;
        case 35: editor.Find(); break;
        case 36: editor.Replace(kInserts[arg % 10], arg & 16); break;
        case 37: editor.ReplaceAll(kInserts[arg % 10], arg & 16); break;
        case 38:
          editor.SetHitStyle(static_cast<TEditorHitStyle>(arg % 3));
          editor.SetHitSelLength(arg / 3 % 12);
          break;
        case 39:
          if (arg & 1) {
            editor.HitToSelected();
          } else {
            editor.SelectWordFromCaret();
          }
          break;
      }
    } catch (const ENuvError&) {
      // A bad find string is the engine's error; the find changed nothing.
    }
    CheckInvariants(editor, steps % 16 == 0);
  }
  CheckInvariants(editor, true);
  while (editor.CanUndo()) editor.Undo();
  Check(editor.List().ListToStr() == loaded);
  return 0;
}
