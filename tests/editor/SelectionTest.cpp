// Selection in line and box mode over tabs and double-byte text, box text
// through the clipboard, block indentation, row marks, hit styles, mouse
// selection and dragging, words and tokens, and the popup menu's rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditorTestUtil.h"
#include "editor/EditorPopupMenu.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Sj;

// Rows: "ab漢字cd" (漢 at columns 2-3, 字 at 4-5), "\tx" (the tab covers 0-7),
// "0123456789".
std::string BoxText() { return "ab" + Sj("漢字") + "cd\r\n\tx\r\n0123456789"; }

void SelectBox(TEditor& editor, int row1, int col1, int row2, int col2) {
  editor.SetSelectionMode(smBox);
  editor.Caret().SetInTab(true);  // box corners may stand inside a tab
  editor.SetRowCol(row1, col1);
  editor.InitSelection();
  editor.SetRowCol(row2, col2);
  editor.ExtendSelection();
}

TEST(SelectionTest, BoxColumnsOverTabsAndDoubleBytes) {
  struct TCase {
    int row1, col1, row2, col2;
    std::string text;
  };
  const TCase cases[] = {
      // The caret never stands on a trail half, so the corners are on row 2.
      {2, 3, 0, 6, Sj("字") + "\r\n\t\r\n345"},    // left edge cuts 漢: out
      {0, 1, 2, 3, "b" + Sj("漢") + "\r\n\t\r\n12"},  // right edge cuts 漢: in
      {2, 3, 0, 4, "\r\n\t\r\n3"},                  // only the trail half of 漢
      {1, 2, 1, 4, "\t"},                              // inside a tab: the tab
      {1, 8, 1, 9, "x"},
      {2, 3, 0, 1, "b" + Sj("漢") + "\r\n\t\r\n12"},  // corners in any order
      {0, 20, 2, 30, "\r\n\r\n"},                    // right of every row
  };
  for (const TCase& c : cases) {
    TEditor editor;
    editor.Lines().SetTextStr(BoxText());
    SelectBox(editor, c.row1, c.col1, c.row2, c.col2);
    EXPECT_EQ(editor.SelText(), c.text) << c.row1 << "," << c.col1 << " " << c.row2 << "," << c.col2;
    EXPECT_EQ(editor.SelLength(), static_cast<std::int64_t>(c.text.size()));
    const TSelectedPosition d = editor.SelDraw();
    EXPECT_EQ(d.StartRow, std::min(c.row1, c.row2));
    EXPECT_EQ(d.StartCol, std::min(c.col1, c.col2));
  }
}

TEST(SelectionTest, BoxCutAndPasteRoundTrip) {
  TEditor editor;
  editor.SetUndoListMax(100);
  const std::string text = "ab" + Sj("漢字") + "cd\r\nxy\r\n0123456789";
  editor.Lines().SetTextStr(text);
  SelectBox(editor, 0, 1, 2, 4);
  editor.CutToClipboard();
  const std::string cut = "a" + Sj("字") + "cd\r\nx\r\n0456789";
  EXPECT_EQ(editor.Lines().GetTextStr(), cut);
  bool box = false;
  EXPECT_EQ(editor.Clipboard().GetText(box), "b" + Sj("漢") + "\r\ny\r\n123");
  EXPECT_TRUE(box);
  // Box text goes back in as a box at the caret column: the text is whole again.
  editor.SetSelectionMode(smLine);
  editor.SetRowCol(0, 1);
  editor.PasteFromClipboard();
  EXPECT_EQ(editor.Lines().GetTextStr(), text);
  // Each was one step.
  editor.Undo();
  EXPECT_EQ(editor.Lines().GetTextStr(), cut);
  editor.Undo();
  EXPECT_EQ(editor.Lines().GetTextStr(), text);
  // Line copy is plain text.
  editor.SetSelStart(0);
  editor.SetSelLength(2);
  editor.CopyToClipboard();
  EXPECT_EQ(editor.Clipboard().GetText(box), "ab");
  EXPECT_FALSE(box);
}

TEST(SelectionTest, BoxPastePadsShortRowsAndKeepsCharactersWhole) {
  struct TCase {
    const char* name;
    std::string text;
    int row, col;
    std::string box;
    std::string result;
  };
  const TCase cases[] = {
      {"short rows padded, rows appended", "abcdef\r\nab", 0, 4, "X\r\nY\r\nZ", "abcdXef\r\nab  Y\r\n    Z"},
      {"after a final line break", "abc\r\n", 1, 2, "X\r\nY", "abc\r\n  X\r\n  Y"},
      {"column inside a double-byte character", "abcd\r\n" + Sj("漢字"), 0, 1, "X\r\nY",
       "aXbcd\r\n" + Sj("漢") + "Y" + Sj("字")},
      {"column inside a tab", "abcd\r\n\tz", 0, 3, "X\r\nY", "abcXd\r\nY\tz"},
      {"empty lines leave rows alone", "ab\r\n\r\ncd", 0, 5, "X\r\n\r\nY", "ab   X\r\n\r\ncd   Y"},
  };
  for (const TCase& c : cases) {
    TEditor editor;
    editor.Caret().SetInTab(true);
    editor.Lines().SetTextStr(c.text);
    editor.SetRowCol(c.row, c.col);
    editor.SetSelTextBox(c.box);
    EXPECT_EQ(editor.Lines().GetTextStr(), c.result) << c.name;
    ASSERT_TRUE(editor.CanUndo()) << c.name;
    editor.Undo();
    EXPECT_EQ(editor.Lines().GetTextStr(), c.text) << c.name << ": one step";
  }
}

TEST(SelectionTest, SelLengthNeverSplitsACharacter) {
  TEditor editor;
  editor.Lines().SetTextStr("a" + Sj("漢") + "b\r\ncd");
  editor.SetSelStart(0);
  editor.SetSelLength(2);  // would end between 漢's lead and trail
  EXPECT_EQ(editor.SelText(), "a");
  editor.SetSelLength(4);
  EXPECT_EQ(editor.SelText(), "a" + Sj("漢") + "b");
  editor.SetSelLength(6);  // CR LF counts two
  EXPECT_EQ(editor.SelText(), "a" + Sj("漢") + "b\r\n");
  editor.SetSelLength(0);
  EXPECT_FALSE(editor.Selected());
  editor.SetSelStart(-5);
  EXPECT_EQ(editor.Row(), 0);
  EXPECT_EQ(editor.Col(), 0);
  // A box selection is left for a line selection.
  SelectBox(editor, 0, 0, 1, 1);
  editor.SetSelLength(1);
  EXPECT_EQ(editor.SelectionMode(), smLine);
}

TEST(SelectionTest, ShiftKeysSelectAndPlainKeysRemove) {
  TEditor editor;
  editor.Lines().SetTextStr("abc\r\ndef");
  editor.KeyDown(TEditorKey::Right, {true, false, false});
  editor.KeyDown(TEditorKey::Down, {true, false, false});
  EXPECT_EQ(editor.SelectionState(), sstSelected);
  EXPECT_EQ(editor.SelText(), "abc\r\nd");
  editor.KeyDown(TEditorKey::Left);
  EXPECT_EQ(editor.SelectionState(), sstNone);
  EXPECT_FALSE(editor.Selected());
  // Typing replaces a selection in one step.
  editor.SelectAll();
  editor.KeyPress('z');
  EXPECT_EQ(editor.Lines().GetTextStr(), "z");
  // Typing over a box deletes the box first and types at its corner.
  editor.Lines().SetTextStr("abcd\r\nefgh");
  SelectBox(editor, 0, 1, 1, 3);
  editor.KeyPress('z');
  EXPECT_EQ(editor.Lines().GetTextStr(), "azd\r\neh");
}

TEST(SelectionTest, BlockIndentWithAndWithoutTabs) {
  struct TCase {
    const char* name;
    void (TEditor::*op)();
    std::string result;
  };
  // The selection runs from row 0 to column 0 of row 3: row 3 is left alone.
  const std::string text = "a\r\n\tb\r\n  c\r\n d";
  const TCase cases[] = {
      {"indent", &TEditor::SelIndent, " a\r\n         b\r\n   c\r\n d"},
      {"unindent", &TEditor::SelUnIndent, "a\r\n       b\r\n c\r\n d"},
      {"tab indent", &TEditor::SelTabIndent, "\ta\r\n\t\tb\r\n\t  c\r\n d"},
      {"tab unindent", &TEditor::SelTabUnIndent, "a\r\nb\r\n  c\r\n d"},
  };
  for (const TCase& c : cases) {
    TEditor editor;
    editor.Lines().SetTextStr(text);
    editor.SetRowCol(0, 0);
    editor.InitSelection();
    editor.SetRowCol(3, 0);
    editor.ExtendSelection();
    (editor.*c.op)();
    EXPECT_EQ(editor.Lines().GetTextStr(), c.result) << c.name;
    EXPECT_TRUE(editor.Selected()) << c.name << ": the selection stays";
    editor.Undo();
    EXPECT_EQ(editor.Lines().GetTextStr(), text) << c.name << ": one step";
  }
  // In box mode the same happens at the box's left column.
  TEditor editor;
  editor.Lines().SetTextStr("ab cd\r\nxy\tz\r\nq");
  SelectBox(editor, 0, 2, 1, 4);
  editor.SelTabIndent();
  EXPECT_EQ(editor.Lines().GetTextStr(), "ab\t cd\r\nxy\t\tz\r\nq");
  editor.Undo();
  SelectBox(editor, 0, 2, 1, 4);
  editor.SelUnIndent();
  EXPECT_EQ(editor.Lines().GetTextStr(), "abcd\r\nxy     z\r\nq");
  // With word wrap only whole one-row lines are indented.
  TEditor wrapped;
  test::Apply({"w10", true, 10, false, false, false, false, 8}, wrapped);
  wrapped.Lines().SetTextStr("short\r\n0123456789abc\r\nend");
  wrapped.SelectAll();
  wrapped.SelTabIndent();
  EXPECT_EQ(wrapped.Lines().GetTextStr(), "\tshort\r\n0123456789abc\r\n\tend");
}

TEST(SelectionTest, RowMarksUniqueAndShared) {
  TEditor editor;
  std::string text;
  for (int i = 0; i < 100; ++i) text += "row\r\n";
  editor.Lines().SetTextStr(text);
  editor.PutRowMark(2, rm3);
  editor.PutRowMark(5, rm3);
  EXPECT_FALSE(editor.GetListRowMarks(2).Has(rm3));
  EXPECT_TRUE(editor.GetListRowMarks(5).Has(rm3));
  editor.PutRowMark(2, rm12);
  editor.PutRowMark(7, rm12);
  EXPECT_TRUE(editor.GetListRowMarks(2).Has(rm12));
  EXPECT_TRUE(editor.GetListRowMarks(7).Has(rm12));
  editor.DeleteRowMark(2, rm12);
  EXPECT_FALSE(editor.GetListRowMarks(2).Has(rm12));
  EXPECT_EQ(editor.List().ValidRowMarks().Bits, (1u << 3) | (1u << 12));
  editor.PutRowMark(1000, rm4);  // outside the rows: ignored
  EXPECT_FALSE(editor.List().ValidRowMarks().Has(rm4));
  // A jump to a row out of view puts it in the middle.
  editor.PutRowMark(80, rm9);
  EXPECT_TRUE(editor.GotoRowMark(rm9));
  EXPECT_EQ(editor.Row(), 80);
  EXPECT_EQ(editor.TopRow(), 80 - 30 / 2);
  EXPECT_TRUE(editor.GotoRowMark(rm3));
  EXPECT_EQ(editor.Row(), 5);
  EXPECT_FALSE(editor.GotoRowMark(rm0));
}

TEST(SelectionTest, HitStyles) {
  struct TCase {
    TEditorHitStyle style;
    TEditorSelectionState state;
    int caretCol;        // after SetHitSelLength
    int caretColAfter;   // after HitToSelected
  };
  const TCase cases[] = {
      {hsSelect, sstSelected, 6, 6},
      {hsDraw, sstHitSelected, 6, 6},
      {hsCaret, sstHitSelected, 2, 6},
  };
  for (const TCase& c : cases) {
    TEditor editor;
    editor.Lines().SetTextStr("ab" + Sj("漢字") + "cd");
    editor.SetHitStyle(c.style);
    editor.SetRowCol(0, 2);
    editor.SetHitSelLength(4);
    EXPECT_EQ(editor.SelectionState(), c.state) << c.style;
    EXPECT_EQ(editor.Col(), c.caretCol) << c.style;
    EXPECT_EQ(editor.HitSelLength(), 4) << c.style;
    EXPECT_EQ(editor.SelText(), Sj("漢字")) << c.style;
    EXPECT_EQ(editor.SelStart(), 2) << c.style;
    editor.HitToSelected();
    EXPECT_EQ(editor.SelectionState(), sstSelected) << c.style;
    EXPECT_EQ(editor.Col(), c.caretColAfter) << c.style;
    EXPECT_EQ(editor.SelText(), Sj("漢字")) << c.style;
    // A plain move removes it.
    editor.KeyDown(TEditorKey::Left);
    EXPECT_FALSE(editor.Selected());
    EXPECT_EQ(editor.HitSelLength(), 0);
  }
  // Changing the style removes a hit.
  TEditor editor;
  editor.Lines().SetTextStr("abc");
  editor.SetHitSelLength(2);
  editor.SetHitStyle(hsDraw);
  EXPECT_FALSE(editor.Selected());
}

// Fixed metrics: column width 8, row height 16, text from x 19 and y 2.
int X(int col) { return 19 + col * 8 + 1; }
int Y(int row) { return 2 + row * 16 + 8; }

TEST(SelectionTest, MouseSelectsRowsAndDrags) {
  TFixedMeasurer measurer;
  TEditor editor;
  editor.SetMeasurer(&measurer);
  editor.Lines().SetTextStr("hello world\r\nsecond\r\nthird");
  // Press, move, release: a line selection from the press to the pointer.
  editor.MouseDown(X(0), Y(0));
  editor.MouseMove(X(0) + 2, Y(0), true);  // less than half a column: nothing yet
  EXPECT_FALSE(editor.Selected());
  editor.MouseMove(X(5), Y(0), true);
  editor.MouseUp(X(5), Y(0));
  EXPECT_EQ(editor.SelText(), "hello");
  // Shift extends from the anchor.
  editor.MouseDown(X(3), Y(1), {true, false, false});
  editor.MouseUp(X(3), Y(1));
  EXPECT_EQ(editor.SelText(), "hello world\r\nsec");
  // The left margin selects whole rows, with their line breaks.
  editor.MouseDown(5, Y(1));
  EXPECT_EQ(editor.SelText(), "second\r\n");
  editor.MouseMove(5, Y(0), true);
  EXPECT_EQ(editor.SelText(), "hello world\r\nsecond\r\n");
  editor.MouseMove(5, Y(2), true);
  EXPECT_EQ(editor.SelText(), "second\r\nthird");
  editor.MouseUp(5, Y(2));
  // The pointer's cursor state over the text, the margin and a selection.
  editor.MouseMove(5, Y(1), false);
  EXPECT_EQ(editor.MouseCursorState(), mcLeftMargin);
  editor.MouseMove(X(2), Y(2), false);
  EXPECT_EQ(editor.MouseCursorState(), mcInSel);
  editor.MouseMove(X(2), 0, false);
  EXPECT_EQ(editor.MouseCursorState(), mcTopMargin);

  // Dragging "hello" behind "third" moves it in one step.
  editor.SetSelStart(0);
  editor.SetSelLength(5);
  editor.MouseDown(X(2), Y(0));
  EXPECT_EQ(editor.SelDragState(), sdInit);
  editor.MouseMove(X(5), Y(2), true);
  EXPECT_EQ(editor.SelDragState(), sdDragging);
  EXPECT_EQ(editor.MouseCursorState(), mcDragging);
  editor.MouseUp(X(5), Y(2));
  EXPECT_EQ(editor.Lines().GetTextStr(), " world\r\nsecond\r\nthirdhello");
  EXPECT_EQ(editor.SelText(), "hello");
  editor.Undo();
  EXPECT_EQ(editor.Lines().GetTextStr(), "hello world\r\nsecond\r\nthird");
  // With Ctrl it is copied.
  editor.SetSelStart(0);
  editor.SetSelLength(5);
  editor.MouseDown(X(2), Y(0));
  editor.MouseMove(X(0), Y(1), true, {false, true, false});
  EXPECT_EQ(editor.MouseCursorState(), mcDraggingCopy);
  editor.MouseUp(X(0), Y(1), {false, true, false});
  EXPECT_EQ(editor.Lines().GetTextStr(), "hello world\r\nhellosecond\r\nthird");
  // A drop inside the selection only removes the highlight.
  editor.SetSelStart(0);
  editor.SetSelLength(5);
  editor.MouseDown(X(1), Y(0));
  editor.MouseMove(X(4), Y(0), true);
  editor.MouseUp(X(4), Y(0));
  EXPECT_EQ(editor.Lines().GetTextStr(), "hello world\r\nhellosecond\r\nthird");
  EXPECT_FALSE(editor.Selected());
  // A prepared drag that never starts leaves the caret at the press.
  editor.SetSelStart(0);
  editor.SetSelLength(5);
  editor.MouseDown(X(2), Y(0));
  editor.MouseUp(X(2), Y(0));
  EXPECT_FALSE(editor.Selected());
  EXPECT_EQ(editor.Col(), 2);
  // Switching the mode is refused while dragging.
  editor.SetSelStart(0);
  editor.SetSelLength(5);
  editor.MouseDown(X(2), Y(0));
  editor.MouseMove(X(5), Y(2), true);
  editor.SetSelectionMode(smBox);
  EXPECT_EQ(editor.SelectionMode(), smLine);
  editor.CancelDrag();
  EXPECT_EQ(editor.SelDragState(), sdNone);
  // A drag only prepared is given up by a mode switch (found by the fuzzer:
  // the box then measured the frozen line range).
  editor.SetSelStart(0);
  editor.SetSelLength(5);
  editor.MouseDown(X(2), Y(0));
  editor.SetSelectionMode(smBox);
  EXPECT_EQ(editor.SelDragState(), sdNone);
  EXPECT_EQ(static_cast<std::int64_t>(editor.SelText().size()), editor.SelLength());
}

TEST(SelectionTest, WordsAndTokens) {
  TFixedMeasurer measurer;
  TEditor editor;
  editor.SetMeasurer(&measurer);
  editor.SetWordWrap(true);
  editor.WrapOption().SetWrapByte(20);
  // The second row continues the first line: the word is taken from the
  // whole logical line.
  editor.Lines().SetTextStr("foo bar " + Sj("漢字かな") + " longwordacrossrows\r\nnext");
  struct TCase {
    int row, col;
    std::string word;
  };
  const TCase cases[] = {
      {0, 0, "foo"}, {0, 5, "bar"}, {0, 3, ""}, {0, 9, Sj("漢字")}, {0, 12, Sj("かな")},
      {0, 17, "longwordacrossrows"}, {1, 1, "longwordacrossrows"}, {2, 2, "next"}, {2, 4, ""},
  };
  for (const TCase& c : cases) {
    editor.SetRowCol(c.row, c.col);
    EXPECT_EQ(editor.WordFromCaret(), c.word) << c.row << "," << c.col;
  }
  EXPECT_EQ(editor.WordFromPos(X(5), Y(0)), "bar");
  EXPECT_EQ(editor.WordFromPos(5, Y(0)), "");  // the left margin
  EXPECT_TRUE(editor.SelectWordFromPos(X(1), Y(1)));
  EXPECT_EQ(editor.SelText(), "longwordacrossrows");
  editor.SetRowCol(0, 0);
  EXPECT_EQ(editor.TokenStringFromCaret(), "foo");
  EXPECT_NE(editor.TokenFromCaret(), 0);
}

TEST(SelectionTest, PopupMenuItemsAndRules) {
  TEditor editor;
  editor.Lines().SetTextStr("abc");
  auto find = [](const std::vector<TEditorPopupItem>& items, TEditorCommand command) {
    for (const TEditorPopupItem& item : items) {
      if (item.Command == command) return item;
    }
    return TEditorPopupItem();
  };
  std::vector<TEditorPopupItem> items = TEditorPopupMenu::Items(editor);
  ASSERT_GE(items.size(), 12u);
  EXPECT_EQ(items[0].Caption, Sj("元に戻す(&U)"));
  EXPECT_EQ(items[1].ShortCut, "Ctrl+A");
  EXPECT_TRUE(items[2].Separator);
  EXPECT_EQ(items[6].Caption, Sj("Box貼り付け(&B)"));
  EXPECT_EQ(items[11].Caption, Sj("Box選択モード(&K)"));
  EXPECT_FALSE(find(items, TEditorCommand::Undo).Enabled);
  EXPECT_FALSE(find(items, TEditorCommand::Copy).Enabled);
  EXPECT_FALSE(find(items, TEditorCommand::Paste).Enabled);
  EXPECT_TRUE(find(items, TEditorCommand::SelectAll).Enabled);
  TEditorPopupMenu::Execute(editor, find(items, TEditorCommand::SelectAll));
  TEditorPopupMenu::Execute(editor, find(TEditorPopupMenu::Items(editor), TEditorCommand::Copy));
  items = TEditorPopupMenu::Items(editor);
  EXPECT_TRUE(find(items, TEditorCommand::Cut).Enabled);
  EXPECT_TRUE(find(items, TEditorCommand::Paste).Enabled);
  editor.SetReadOnly(true);
  items = TEditorPopupMenu::Items(editor);
  EXPECT_FALSE(find(items, TEditorCommand::Cut).Enabled);
  EXPECT_TRUE(find(items, TEditorCommand::Copy).Enabled);
  EXPECT_FALSE(find(items, TEditorCommand::Paste).Enabled);
  editor.SetReadOnly(false);
  TEditorPopupMenu::Execute(editor, find(items, TEditorCommand::BoxMode));
  EXPECT_TRUE(find(TEditorPopupMenu::Items(editor), TEditorCommand::BoxMode).Checked);
  // The mark submenus: toggling mark 4 on the caret row ticks it.
  const TEditorPopupItem marks = TEditorPopupMenu::Items(editor).back().Items.empty()
                                     ? TEditorPopupItem()
                                     : TEditorPopupMenu::Items(editor)[TEditorPopupMenu::Items(editor).size() - 2];
  ASSERT_EQ(marks.Items.size(), 10u);
  EXPECT_EQ(marks.Caption, Sj("マーク設定"));
  EXPECT_EQ(marks.Items[4].Caption, "Shift+Ctrl+4");
  TEditorPopupMenu::Execute(editor, marks.Items[4]);
  EXPECT_TRUE(editor.GetListRowMarks(0).Has(rm4));
  EXPECT_TRUE(TEditorPopupMenu::Items(editor).back().Items[4].Checked);
  EXPECT_EQ(TEditorPopupMenu::Items(editor).back().Items[4].Caption, "Ctrl+4");
}

}  // namespace
}  // namespace nuv
