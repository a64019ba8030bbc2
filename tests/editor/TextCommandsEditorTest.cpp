// The editor calls behind the window's text commands: deleting a display row
// or a logical line, deleting to the line end, and converting the selection
// (line, box, whole text) as one undoable edit that keeps the row marks.
#include <gtest/gtest.h>

#include <cctype>

#include "editor/HeadlessPageEditor.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Sj;

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

// Each letter doubled: the converted text is longer than the original.
std::string Doubled(std::string_view text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (std::isalpha(static_cast<unsigned char>(c))) out += c;
  }
  return out;
}

void Wrapped(THeadlessPageEditor& editor, int width) {
  editor.Editor().SetWordWrap(true);
  editor.Editor().WrapOption().SetWrapByte(width);
}

TEST(TextCommandsEditorTest, DeleteLineTakesTheDisplayRowOrTheWholeLine) {
  // The second line, 30 bytes, wraps after 20 when wrapping is on.
  const std::string x30(30, 'x'), x10(10, 'x');
  struct Case {
    bool viewRow;
    bool wrap;
    int caret;
    std::string expected;
  } cases[] = {
      {false, false, 7, "one\r\nthree\r\n"},
      {true, false, 7, "one\r\nthree\r\n"},
      // The display row goes, the rest of the line stays.
      {true, true, 7, "one\r\n" + x10 + "\r\nthree\r\n"},
      {false, true, 7, "one\r\nthree\r\n"},
      // The caret on the second display row deletes the whole line too.
      {false, true, 5 + 25, "one\r\nthree\r\n"},
      // The last line.
      {false, false, 5 + 32 + 2, "one\r\n" + x30 + "\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.viewRow << " " << c.wrap << " " << c.caret);
    THeadlessPageEditor editor;
    if (c.wrap) Wrapped(editor, 20);
    editor.SetText("one\r\n" + x30 + "\r\nthree");
    ASSERT_EQ(editor.Editor().GetListCount(), c.wrap ? 4 : 3);
    const std::string before = editor.Text();
    editor.SetSelStart(c.caret);
    editor.DeleteCaretLine(c.viewRow);
    EXPECT_EQ(editor.Text(), c.expected);
    editor.Undo();
    EXPECT_EQ(editor.Text(), before);
  }
}

TEST(TextCommandsEditorTest, DeleteToLineEndKeepsTheLineBreak) {
  struct Case {
    int caret;
    std::string expected;
    int caretAfter;
  } cases[] = {
      {0, "\r\nsecond\r\n", 0},        // at the start: the line is emptied and kept
      {2, "ab\r\nsecond\r\n", 2},
      {5, "abcde\r\nsecond\r\n", 5},   // at the end: nothing changes
      {10, "abcde\r\nsec\r\n", 10},     // the last line
      {13, "abcde\r\nsecond\r\n", 13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caret);
    THeadlessPageEditor editor;
    editor.SetText("abcde\r\nsecond");
    editor.SetSelStart(c.caret);
    editor.DeleteToLineEnd();
    EXPECT_EQ(editor.Text(), c.expected);
    EXPECT_EQ(editor.SelStart(), c.caretAfter);
  }
  // On a wrapped line the rest goes through the following display rows.
  const std::string kana = Sj("日本語");
  THeadlessPageEditor editor;
  Wrapped(editor, 20);
  const std::string line = "aaaa bbbb cccc dddd eeee ffff";
  editor.SetText(line + "\r\n" + kana);
  ASSERT_EQ(editor.Editor().GetListCount(), 3);
  editor.SetSelStart(2);
  editor.DeleteToLineEnd();
  EXPECT_EQ(editor.Text(), "aa\r\n" + kana + "\r\n");
  ASSERT_TRUE(editor.CanUndo());
  editor.Undo();
  EXPECT_EQ(editor.Text(), line + "\r\n" + kana + "\r\n");
}

TEST(TextCommandsEditorTest, ConvertSelectionReplacesTheSelectionAsOneEdit) {
  THeadlessPageEditor editor;
  editor.SetText("abc\r\ndef\r\nghi");
  editor.SetSelection(1, 6);  // "bc\r\nde"
  editor.ConvertSelection(Doubled);
  EXPECT_EQ(editor.Text(), "abbcc\r\nddeef\r\nghi\r\n");
  // The converted text stays selected.
  EXPECT_EQ(editor.SelText(), "bbcc\r\nddee");
  editor.Undo();
  EXPECT_EQ(editor.Text(), "abc\r\ndef\r\nghi\r\n");
  EXPECT_FALSE(editor.CanUndo());
}

TEST(TextCommandsEditorTest, ConvertWithoutSelectionTakesTheWholeTextAndKeepsMarksAndCaret) {
  THeadlessPageEditor editor;
  editor.SetText("one\r\ntwo\r\nthree");
  editor.Editor().PutRowMark(1, rm1);
  editor.SetSelStart(6);  // inside "two"
  editor.ConvertSelection(Upper);
  EXPECT_EQ(editor.Text(), "ONE\r\nTWO\r\nTHREE\r\n");
  EXPECT_TRUE(editor.Editor().GetListRowMarks(1).Has(rm1));
  EXPECT_FALSE(editor.Editor().GetListRowMarks(0).Has(rm1));
  EXPECT_EQ(editor.SelStart(), 6);
  EXPECT_FALSE(editor.Selected());
  editor.Undo();
  EXPECT_EQ(editor.Text(), "one\r\ntwo\r\nthree\r\n");
  EXPECT_TRUE(editor.Editor().GetListRowMarks(1).Has(rm1));
  // Nothing to convert: no edit at all.
  editor.SetText("123\r\n");
  editor.SetModified(false);
  editor.ConvertSelection(Upper);
  EXPECT_FALSE(editor.CanUndo());
  EXPECT_FALSE(editor.Modified());
}

TEST(TextCommandsEditorTest, ConvertBoxRowByRow) {
  THeadlessPageEditor editor;
  editor.SetText("abcd\r\nab\r\nabcd\r\nabcd");
  editor.SetBoxMode(true);
  TEditorEx& core = editor.Editor();
  // Columns 1 to 3 of the first three rows; the second row is short.
  core.SetRowCol(0, 1);
  core.InitSelection();
  core.SetRowCol(2, 3);
  core.ExtendSelection();
  editor.ConvertSelection(Doubled);
  EXPECT_EQ(editor.Text(), "abbccd\r\nabb\r\nabbccd\r\nabcd\r\n");
  EXPECT_TRUE(editor.BoxMode());
  // The box now spans the converted parts.
  EXPECT_EQ(editor.SelText(), "bbcc\r\nbb\r\nbbcc");
  editor.Undo();
  EXPECT_EQ(editor.Text(), "abcd\r\nab\r\nabcd\r\nabcd\r\n");
}

TEST(TextCommandsEditorTest, ReadOnlyEditorIsLeftAlone) {
  THeadlessPageEditor editor;
  editor.SetText("abc\r\ndef");
  editor.Editor().SetReadOnly(true);
  editor.SetSelStart(1);
  editor.DeleteCaretLine(false);
  editor.DeleteCaretLine(true);
  editor.DeleteToLineEnd();
  editor.ConvertSelection(Upper);
  EXPECT_EQ(editor.Text(), "abc\r\ndef\r\n");
}

}  // namespace
}  // namespace nuv
