// Undo and redo through the editor: steps, caret positions, the list limit
// and what empties the lists.
#include <gtest/gtest.h>

#include <string>

#include "EditorTestUtil.h"

namespace nuv {
namespace {

using test::DumpRows;

void Type(TEditor& editor, const std::string& s) {
  for (unsigned char c : s) editor.KeyPress(c);
}

TEST(UndoTest, TypingUndoAndRedoOneCharacterAtATime) {
  TEditor editor;
  Type(editor, "abc");
  EXPECT_EQ(editor.Lines().GetTextStr(), "abc");
  for (int i = 0; i < 3; ++i) editor.Undo();
  EXPECT_EQ(editor.List().GetCount(), 0);
  EXPECT_FALSE(editor.CanUndo());
  EXPECT_EQ(editor.Col(), 0);
  for (int i = 0; i < 3; ++i) editor.Redo();
  EXPECT_EQ(editor.Lines().GetTextStr(), "abc");
  EXPECT_EQ(editor.Row(), 0);
  EXPECT_EQ(editor.Col(), 3);
  EXPECT_FALSE(editor.CanRedo());
}

TEST(UndoTest, UndoOfDeletedLinesPutsThemAndTheCaretBack) {
  TEditor editor;
  editor.Lines().SetTextStr("one\r\ntwo\r\nthree\r\n");
  editor.SetRowCol(1, 2);
  editor.DeleteRow(1);
  EXPECT_EQ(editor.Lines().GetTextStr(), "one\r\nthree\r\n");
  editor.SetRowCol(0, 0);
  editor.Undo();
  EXPECT_EQ(editor.Lines().GetTextStr(), "one\r\ntwo\r\nthree\r\n");
  EXPECT_EQ(editor.Row(), 1);
  EXPECT_EQ(editor.Col(), 2);
}

TEST(UndoTest, NewEditEmptiesRedoAndUndoRestoresRaEof) {
  TEditor editor;
  editor.Lines().SetTextStr("a\r\nend");
  editor.SetRowCol(1, 3);
  Type(editor, "\r");
  editor.KeyDown(TEditorKey::Return);
  EXPECT_EQ(DumpRows(editor.List()), "a|c\nend|c\n");
  editor.Undo();
  EXPECT_EQ(DumpRows(editor.List()), "a|c\nend|e\n");
  EXPECT_TRUE(editor.CanRedo());
  Type(editor, "x");
  EXPECT_FALSE(editor.CanRedo());
}

TEST(UndoTest, ListLimit) {
  TEditor editor;
  for (int i = 0; i < 65; ++i) editor.KeyPress('a');
  EXPECT_EQ(editor.List().UndoObj().UndoCount(), 64);
  editor.SetUndoListMax(10);
  EXPECT_EQ(editor.UndoListMax(), 64);
  editor.SetUndoListMax(100);
  for (int i = 0; i < 40; ++i) editor.KeyPress('b');
  EXPECT_EQ(editor.List().UndoObj().UndoCount(), 100);
  // Lowering the limit trims the list to it.
  editor.SetUndoListMax(70);
  EXPECT_EQ(editor.List().UndoObj().UndoCount(), 70);
  while (editor.CanUndo()) editor.Undo();
  EXPECT_EQ(editor.Lines().GetTextStr(), std::string(35, 'a'));
}

TEST(UndoTest, WrapChangesAndNewTextEmptyTheLists) {
  TEditor editor;
  editor.Lines().SetTextStr("abc");
  editor.SetRowCol(0, 3);
  editor.KeyPress('d');
  editor.KeyPress('e');
  editor.Undo();
  ASSERT_TRUE(editor.CanUndo() && editor.CanRedo());
  editor.SetWordWrap(true);
  EXPECT_FALSE(editor.CanUndo());
  EXPECT_FALSE(editor.CanRedo());
  editor.KeyPress('f');
  editor.WrapOption().SetWrapByte(30);
  EXPECT_FALSE(editor.CanUndo());
  editor.KeyPress('g');
  editor.Lines().SetTextStr("new");
  EXPECT_FALSE(editor.CanUndo());
}

TEST(UndoTest, UndoRemovesTheSelectionFirst) {
  TEditor editor;
  editor.Lines().SetTextStr("hello");
  editor.SetRowCol(0, 5);
  editor.KeyPress('!');
  editor.SetRowCol(0, 0);
  editor.KeyDown(TEditorKey::End, {true, false, false});
  ASSERT_TRUE(editor.Selected());
  editor.Undo();
  EXPECT_FALSE(editor.Selected());
  EXPECT_EQ(editor.Lines().GetTextStr(), "hello");
}

}  // namespace
}  // namespace nuv
