// The caret over double-byte text and tabs, and every editing key.
#include <gtest/gtest.h>

#include <string>

#include "EditorTestUtil.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::DumpRows;
using test::Sj;

void Press(TEditor& editor, TEditorKey key, int times = 1, TKeyState state = {}) {
  for (int i = 0; i < times; ++i) editor.KeyDown(key, state);
}

TEST(EditingTest, CaretNeverRestsOnATrailByteOrInsideATab) {
  TEditor editor;
  editor.Caret().SetFreeCaret(false);
  // "ャャ" is 83 83 83 83: the middle 83s are a trail and a lead byte.
  editor.Lines().SetTextStr("\x83\x83\x83\x83" "a\tb");
  std::vector<int> cols;
  for (int i = 0; i < 6; ++i) {
    cols.push_back(editor.Col());
    Press(editor, TEditorKey::Right);
  }
  EXPECT_EQ(cols, (std::vector<int>{0, 2, 4, 5, 8, 9}));
  for (int i = 0; i < 5; ++i) {
    Press(editor, TEditorKey::Left);
    cols.push_back(editor.Col());
  }
  EXPECT_EQ(std::vector<int>(cols.begin() + 6, cols.end()), (std::vector<int>{8, 5, 4, 2, 0}));
  // Setting a column on a trail half or inside a tab steps off it.
  editor.SetRowCol(0, 3);
  EXPECT_EQ(editor.Col(), 2);
  editor.SetCol(6);
  EXPECT_EQ(editor.Col(), 8);
  editor.SetCol(3);
  EXPECT_EQ(editor.Col(), 2);
  editor.Caret().SetInTab(true);
  editor.SetRowCol(0, 6);
  EXPECT_EQ(editor.Col(), 6);
}

TEST(EditingTest, RightAtRowEnds) {
  TEditor editor;
  editor.Caret().SetFreeCaret(false);
  test::Apply({"w20", true, 20, false, false, false, false, 8}, editor);
  editor.Lines().SetTextStr(std::string(25, 'a') + "\r\nb");
  // The end of a wrapped row is the start of the next one, even without NextLine.
  editor.SetRowCol(0, 19);
  Press(editor, TEditorKey::Right);
  EXPECT_EQ(editor.Row(), 1);
  EXPECT_EQ(editor.Col(), 0);
  editor.SetRowCol(1, 5);
  Press(editor, TEditorKey::Right);
  EXPECT_EQ(editor.Row(), 1);
  editor.Caret().SetNextLine(true);
  Press(editor, TEditorKey::Right);
  EXPECT_EQ(editor.Row(), 2);
  EXPECT_EQ(editor.Col(), 0);
  Press(editor, TEditorKey::Left);
  EXPECT_EQ(editor.Row(), 1);
  EXPECT_EQ(editor.Col(), 5);
  editor.SetRowCol(1, 0);
  Press(editor, TEditorKey::Left);
  EXPECT_EQ(editor.Row(), 0);
  EXPECT_EQ(editor.Col(), 19);
}

TEST(EditingTest, KeepCaretReturnsToTheRememberedColumn) {
  TEditor editor;
  editor.Caret().SetFreeCaret(false);
  editor.Lines().SetTextStr(std::string(40, 'a') + "\r\n" + std::string(10, 'b') + "\r\n" + std::string(40, 'c'));
  editor.SetRowCol(0, 30);
  Press(editor, TEditorKey::Down);
  EXPECT_EQ(editor.Col(), 10);
  Press(editor, TEditorKey::Down);
  EXPECT_EQ(editor.Col(), 10);
  editor.Caret().SetKeepCaret(true);
  editor.SetRowCol(0, 30);
  Press(editor, TEditorKey::Down);
  EXPECT_EQ(editor.Col(), 10);
  Press(editor, TEditorKey::Down);
  EXPECT_EQ(editor.Col(), 30);
  // Down does nothing on the last row without a line break.
  Press(editor, TEditorKey::Down);
  EXPECT_EQ(editor.Row(), 2);
}

TEST(EditingTest, TypingPadsOverwritesAndPairsDoubleBytes) {
  TEditor editor;
  editor.Lines().SetTextStr("ab");
  editor.SetRowCol(0, 5);
  editor.KeyPress('x');
  EXPECT_EQ(editor.Lines().GetTextStr(), "ab   x");
  EXPECT_EQ(editor.Col(), 6);
  // A lead byte waits for its trail; the pair is one step.
  editor.KeyPress(0x8A);
  editor.KeyPress(0xBF);
  EXPECT_EQ(editor.Lines().GetTextStr(), "ab   x" + Sj("漢"));
  EXPECT_EQ(editor.Col(), 8);
  editor.KeyPress(0x8A);
  editor.KeyPress(0x0D);  // no trail: nothing is typed
  EXPECT_EQ(editor.Lines().GetTextStr(), "ab   x" + Sj("漢"));
  // Overwriting the first half of a double-byte character leaves a space.
  editor.SetOverWrite(true);
  editor.SetRowCol(0, 6);
  editor.KeyPress('y');
  EXPECT_EQ(editor.Lines().GetTextStr(), "ab   xy ");
  editor.SetRowCol(0, 0);
  editor.PutStringToLine("12");
  EXPECT_EQ(editor.Lines().GetTextStr(), "12   xy ");
  editor.SetReadOnly(true);
  editor.KeyPress('z');
  EXPECT_EQ(editor.Lines().GetTextStr(), "12   xy ");
}

TEST(EditingTest, OverwriteRunsIntoFollowingWrappedRows) {
  TEditor editor;
  test::Apply({"w20", true, 20, false, false, false, false, 8}, editor);
  editor.Lines().SetTextStr(std::string(30, 'a'));
  editor.SetOverWrite(true);
  editor.SetRowCol(0, 18);
  editor.PutStringToLine("XXXX");
  EXPECT_EQ(editor.Lines().GetTextStr(), std::string(18, 'a') + "XXXX" + std::string(8, 'a'));
  EXPECT_EQ(editor.Row(), 1);
  EXPECT_EQ(editor.Col(), 2);
}

TEST(EditingTest, TabKey) {
  TEditor editor;
  editor.Caret().SetTabSpaceCount(4);
  editor.Lines().SetTextStr("ab");
  editor.SetRowCol(0, 1);
  Press(editor, TEditorKey::Tab);
  EXPECT_EQ(editor.Lines().GetTextStr(), "a\tb");
  EXPECT_EQ(editor.Col(), 4);
  editor.Caret().SetSoftTab(true);
  Press(editor, TEditorKey::Tab);
  EXPECT_EQ(editor.Lines().GetTextStr(), "a\t    b");
  editor.SetOverWrite(true);
  Press(editor, TEditorKey::Tab);
  EXPECT_EQ(editor.Col(), 12);
  EXPECT_EQ(editor.Lines().GetTextStr(), "a\t    b");
}

TEST(EditingTest, ReturnWithAutoIndent) {
  TEditor editor;
  editor.Caret().SetTabSpaceCount(4);
  editor.Caret().SetTabIndent(true);
  editor.Lines().SetTextStr("\t  code");
  editor.SetRowCol(0, 10);
  Press(editor, TEditorKey::Return);
  EXPECT_EQ(editor.Lines().GetTextStr(), "\t  code\r\n\t  ");
  EXPECT_EQ(editor.Row(), 1);
  EXPECT_EQ(editor.Col(), 6);
  // In the middle of the indentation the indentation is limited to the caret.
  editor.Caret().SetTabIndent(false);
  editor.Lines().SetTextStr("    x");
  editor.SetRowCol(0, 2);
  Press(editor, TEditorKey::Return);
  EXPECT_EQ(editor.Lines().GetTextStr(), "  \r\n    x");
  // Shift+Return opens an indented line above.
  editor.Lines().SetTextStr("  a\r\n");
  editor.SetRowCol(0, 3);
  editor.KeyDown(TEditorKey::Return, {true, false, false});
  EXPECT_EQ(editor.Lines().GetTextStr(), "  \r\n  a\r\n");
  EXPECT_EQ(editor.Row(), 0);
  EXPECT_EQ(editor.Col(), 2);
  // On the row after the last line break a line break is appended.
  editor.SetRowCol(2, 0);
  Press(editor, TEditorKey::Return);
  EXPECT_EQ(editor.Lines().GetTextStr(), "  \r\n  a\r\n\r\n");
  EXPECT_EQ(editor.Row(), 3);
  // PrevSpaceIndent takes the indentation of the line above an empty line.
  editor.Caret().SetPrevSpaceIndent(true);
  editor.Lines().SetTextStr("   x\r\n\r\n");
  editor.SetRowCol(1, 0);
  Press(editor, TEditorKey::Return);
  EXPECT_EQ(editor.Lines().GetTextStr(), "   x\r\n\r\n   \r\n");
  // Overwrite mode only moves to the next row.
  editor.SetOverWrite(true);
  editor.SetRowCol(0, 2);
  Press(editor, TEditorKey::Return);
  EXPECT_EQ(editor.Row(), 1);
  EXPECT_EQ(editor.Col(), 0);
}

TEST(EditingTest, BackspaceDeletesUnindentsAndJoins) {
  TEditor editor;
  editor.Lines().SetTextStr("  a\r\n    b");
  editor.SetRowCol(1, 4);
  Press(editor, TEditorKey::Backspace);
  EXPECT_EQ(editor.Lines().GetTextStr(), "  a\r\n  b");
  EXPECT_EQ(editor.Col(), 2);
  Press(editor, TEditorKey::Backspace);
  EXPECT_EQ(editor.Lines().GetTextStr(), "  a\r\nb");
  Press(editor, TEditorKey::Backspace);
  EXPECT_EQ(editor.Lines().GetTextStr(), "  ab");
  EXPECT_EQ(editor.Col(), 3);
  // A double-byte character and a tab go whole.
  editor.Lines().SetTextStr("x" + Sj("漢") + "\ty");
  editor.SetRowCol(0, 8);
  Press(editor, TEditorKey::Backspace);
  EXPECT_EQ(editor.Lines().GetTextStr(), "x" + Sj("漢") + "y");
  Press(editor, TEditorKey::Backspace);
  EXPECT_EQ(editor.Lines().GetTextStr(), "xy");
  EXPECT_EQ(editor.Col(), 1);
  // Beyond the row end the caret only moves.
  editor.SetRowCol(0, 6);
  Press(editor, TEditorKey::Backspace);
  EXPECT_EQ(editor.Col(), 5);
  EXPECT_EQ(editor.Lines().GetTextStr(), "xy");
  // At the start of a wrapped continuation row the last character above goes.
  test::Apply({"w20", true, 20, false, false, false, false, 8}, editor);
  editor.Lines().SetTextStr(std::string(19, 'a') + "b" + "cd");
  editor.SetRowCol(1, 0);
  Press(editor, TEditorKey::Backspace);
  EXPECT_EQ(editor.Lines().GetTextStr(), std::string(19, 'a') + "cd");
  // On an empty text the caret only moves left.
  editor.Lines().SetTextStr("");
  Press(editor, TEditorKey::Backspace);
  EXPECT_EQ(editor.List().GetCount(), 0);
}

TEST(EditingTest, DeleteKey) {
  TEditor editor;
  editor.Lines().SetTextStr("ab\r\ncd\r\n");
  editor.SetRowCol(0, 4);
  Press(editor, TEditorKey::Delete);
  EXPECT_EQ(editor.Lines().GetTextStr(), "ab  cd\r\n");
  editor.SetRowCol(0, 0);
  Press(editor, TEditorKey::Delete);
  EXPECT_EQ(editor.Lines().GetTextStr(), "b  cd\r\n");
  // On the last row with a line break the break goes.
  editor.SetRowCol(0, 5);
  Press(editor, TEditorKey::Delete);
  EXPECT_EQ(editor.Lines().GetTextStr(), "b  cd");
  Press(editor, TEditorKey::Delete);
  EXPECT_EQ(editor.Lines().GetTextStr(), "b  cd");
  // A double-byte character goes whole, a tab whole from inside it.
  editor.Lines().SetTextStr(Sj("漢") + "\tz");
  editor.SetRowCol(0, 0);
  Press(editor, TEditorKey::Delete);
  EXPECT_EQ(editor.Lines().GetTextStr(), "\tz");
  editor.Caret().SetInTab(true);
  editor.SetRowCol(0, 3);
  Press(editor, TEditorKey::Delete);
  EXPECT_EQ(editor.Lines().GetTextStr(), "z");
}

TEST(EditingTest, HomeEndAndPages) {
  TEditor editor;
  TFixedMeasurer measurer;
  measurer.visibleRows = 1;
  editor.SetMeasurer(&measurer);
  std::string text;
  for (int i = 0; i < 10; ++i) text += "row" + std::to_string(i) + "\r\n";
  editor.Lines().SetTextStr(text);
  editor.SetRowCol(3, 2);
  Press(editor, TEditorKey::End);
  EXPECT_EQ(editor.Col(), 4);
  Press(editor, TEditorKey::Home);
  EXPECT_EQ(editor.Col(), 0);
  editor.KeyDown(TEditorKey::End, {false, true, false});
  EXPECT_EQ(editor.Row(), 10);  // the row after the last line break
  EXPECT_EQ(editor.Col(), 0);
  editor.KeyDown(TEditorKey::Home, {false, true, false});
  EXPECT_EQ(editor.Row(), 0);
  // With one visible row a page is still one row.
  Press(editor, TEditorKey::PageDown);
  EXPECT_EQ(editor.Row(), 1);
  Press(editor, TEditorKey::PageDown, 3);
  EXPECT_EQ(editor.Row(), 4);
  Press(editor, TEditorKey::PageUp);
  EXPECT_EQ(editor.Row(), 3);
  measurer.visibleRows = 21;
  editor.SetTopRow(0);
  editor.SetRowCol(0, 0);
  Press(editor, TEditorKey::PageDown);  // (21 - 1) div 2 * 2 rows
  EXPECT_EQ(editor.Row(), 10);
  Press(editor, TEditorKey::PageUp);
  EXPECT_EQ(editor.Row(), 0);
}

TEST(EditingTest, WordMovement) {
  TEditor editor;
  editor.Lines().SetTextStr("foo bar" + Sj("漢字かな") + ".baz\r\nnext");
  editor.SetRowCol(0, 0);
  std::vector<int> cols;
  for (int i = 0; i < 5; ++i) {
    editor.KeyDown(TEditorKey::Right, {false, true, false});
    cols.push_back(editor.Row() * 100 + editor.Col());
  }
  EXPECT_EQ(cols, (std::vector<int>{4, 7, 11, 16, 19}));
  editor.KeyDown(TEditorKey::Right, {false, true, false});
  EXPECT_EQ(editor.Row(), 1);
  EXPECT_EQ(editor.Col(), 0);
  editor.KeyDown(TEditorKey::Left, {false, true, false});
  EXPECT_EQ(editor.Row(), 0);
  EXPECT_EQ(editor.Col(), 19);
  editor.KeyDown(TEditorKey::Left, {false, true, false});
  EXPECT_EQ(editor.Col(), 16);
}

TEST(EditingTest, CaretColumnCapFinishesADoubleByteCharacter) {
  TEditor editor;
  editor.Lines().SetTextStr(std::string(999, 'a') + Sj("漢") + std::string(10, 'b'));
  editor.SetRowCol(0, 1500);
  EXPECT_EQ(editor.Col(), 1001);
  editor.Lines().SetTextStr(std::string(1500, 'a'));
  editor.SetRowCol(0, 1500);
  EXPECT_EQ(editor.Col(), 1000);
}

TEST(EditingTest, LoneLeadByteIsOneColumn) {
  TEditor editor;
  editor.Lines().SetTextStr("ab\x82");
  editor.KeyDown(TEditorKey::End);
  EXPECT_EQ(editor.Col(), 3);
  Press(editor, TEditorKey::Left);
  EXPECT_EQ(editor.Col(), 2);
  Press(editor, TEditorKey::Delete);
  EXPECT_EQ(editor.Lines().GetTextStr(), "ab");
  editor.Lines().SetTextStr("ab\x82");
  editor.SetRowCol(0, 3);
  editor.KeyPress('@');  // '@' would be a trail byte, but it is typed after the row's end
  EXPECT_EQ(editor.ListStr(0), "ab\x82@");
  EXPECT_EQ(editor.ExpandListLength(0), 4);
  editor.SetRowCol(0, 4);
  EXPECT_EQ(editor.Col(), 4);
}

TEST(EditingTest, SelectionByKeysAndTyping) {
  TEditor editor;
  editor.Lines().SetTextStr("hello\r\nworld");
  editor.SetRowCol(0, 1);
  editor.KeyDown(TEditorKey::Down, {true, false, false});
  editor.KeyDown(TEditorKey::Right, {true, false, false});
  EXPECT_TRUE(editor.Selected());
  EXPECT_EQ(editor.SelStart(), 1);
  EXPECT_EQ(editor.SelLength(), 8);
  EXPECT_EQ(editor.SelText(), "ello\r\nwo");
  editor.PutStringToLine("X");
  EXPECT_EQ(editor.Lines().GetTextStr(), "hXrld");
  EXPECT_FALSE(editor.Selected());
  EXPECT_EQ(editor.Col(), 2);
  editor.Undo();
  EXPECT_EQ(editor.Lines().GetTextStr(), "hello\r\nworld");
  editor.SelectAll();
  EXPECT_EQ(editor.SelLength(), 12);
  Press(editor, TEditorKey::Delete);
  EXPECT_EQ(editor.List().GetCount(), 0);
  editor.Undo();
  editor.SetSelStart(-5);
  EXPECT_EQ(editor.Row(), 0);
  EXPECT_EQ(editor.Col(), 0);
  editor.SetSelLength(0);
  EXPECT_FALSE(editor.Selected());
}

TEST(EditingTest, PixelsToPositions) {
  TEditor editor;
  TFixedMeasurer measurer;  // columns of 8 pixels from x = 19, rows of 16 from y = 2
  editor.SetMeasurer(&measurer);
  editor.Lines().SetTextStr("abcdef\r\nxyz");
  int col = 0, row = 0;
  editor.PosToRowCol(19 + 8 * 3 + 5, 2 + 16 + 3, true, col, row);
  EXPECT_EQ(col, 4);
  EXPECT_EQ(row, 1);
  editor.PosToRowCol(19 + 8 * 3 + 5, 2 + 3, false, col, row);
  EXPECT_EQ(col, 3);
  EXPECT_EQ(row, 0);
  editor.PosToRowCol(0, 0, true, col, row);
  EXPECT_EQ(col, 0);
  EXPECT_EQ(editor.CharFromPos(19 + 8 * 2, 2 + 16), 10);
  EXPECT_EQ(editor.CharFromPos(19, 2 + 16 * 5), -1);
}

TEST(EditingTest, ReviewedKeyRules) {
  // Right at the end of the last line stays there, also with NextLine.
  TEditor editor;
  editor.Caret().SetFreeCaret(false);
  editor.Caret().SetNextLine(true);
  editor.Lines().SetTextStr("ab\r\ncd\r\n");
  editor.SetRowCol(1, 2);
  Press(editor, TEditorKey::Right);
  EXPECT_EQ(editor.Row(), 1);
  EXPECT_EQ(editor.Col(), 2);
  // Overwrite counts columns: one letter over a tab leaves the tab, which
  // shrinks to its stop; eight letters cover it.
  editor.Lines().SetTextStr("\tx");
  editor.SetOverWrite(true);
  editor.SetRowCol(0, 0);
  editor.PutStringToLine("a");
  EXPECT_EQ(editor.Lines().GetTextStr(), "a\tx");
  editor.SetRowCol(0, 0);
  editor.PutStringToLine("12345678");
  EXPECT_EQ(editor.Lines().GetTextStr(), "12345678x");
  editor.SetOverWrite(false);
  // Backspace's un-indent writes tabs when TabIndent is on.
  editor.Caret().SetTabIndent(true);
  editor.Caret().SetTabSpaceCount(4);
  editor.Lines().SetTextStr("\tx\r\n\t\t  y");
  editor.SetRowCol(1, 10);
  Press(editor, TEditorKey::Backspace);
  EXPECT_EQ(editor.Lines().GetTextStr(), "\tx\r\n\ty");
  EXPECT_EQ(editor.Col(), 4);
}

TEST(EditingTest, PageDownMovesAsFarAsTheViewScrolls) {
  TFixedMeasurer measurer;
  measurer.visibleRows = 11;  // a page of (11 - 1) div 2 * 2 = 10 rows
  TEditor editor;
  editor.SetMeasurer(&measurer);
  std::string text;
  for (int i = 0; i < 25; ++i) text += "row\r\n";
  editor.Lines().SetTextStr(text);
  editor.SetRowCol(3, 0);
  Press(editor, TEditorKey::PageDown);
  EXPECT_EQ(editor.TopRow(), 10);
  EXPECT_EQ(editor.Row(), 13);
  Press(editor, TEditorKey::PageDown);
  EXPECT_EQ(editor.TopRow(), 20);
  EXPECT_EQ(editor.Row(), 23);
  // Clamped at the end the view scrolls 5 rows, and so does the caret.
  Press(editor, TEditorKey::PageDown);
  EXPECT_EQ(editor.TopRow(), 25);
  EXPECT_EQ(editor.Row(), 25);
  // No room left: the caret goes to the last row, as Page Up goes to the first.
  editor.SetRowCol(24, 0);
  Press(editor, TEditorKey::PageDown);
  EXPECT_EQ(editor.Row(), 25);
  Press(editor, TEditorKey::PageUp);
  EXPECT_EQ(editor.TopRow(), 15);
  EXPECT_EQ(editor.Row(), 15);
}

}  // namespace
}  // namespace nuv
