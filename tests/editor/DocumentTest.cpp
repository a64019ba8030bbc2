// The document: loading and saving, the replacement primitive on its edge
// cases, marks moving with their lines, the logical-line view, and the
// incremental tokenizer state compared with tokenizing the whole text.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "EditorTestUtil.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::DumpRows;
using test::Sj;

struct TLoadCase {
  const char* name;
  std::string text;
  std::string rows;
  std::string saved;
};

TEST(DocumentTest, LoadAndSaveRoundTrip) {
  const TLoadCase cases[] = {
      {"empty", "", "", ""},
      {"no final break", "abc", "abc|e\n", "abc"},
      {"final CR LF", "abc\r\n", "abc|c\n", "abc\r\n"},
      {"mixed breaks", "a\rb\nc\r\nd", "a|c\nb|c\nc|c\nd|e\n", "a\r\nb\r\nc\r\nd"},
      {"final LF", "a\nb\n", "a|c\nb|c\n", "a\r\nb\r\n"},
      {"final CR", "a\r", "a|c\n", "a\r\n"},
      {"empty lines", "\r\n\r\n", "|c\n|c\n", "\r\n\r\n"},
      {"NUL bytes are text", std::string("a\0b\r\n\0", 6), std::string("a\0b|c\n\0|e\n", 10), std::string("a\0b\r\n\0", 6)},
      {"lone lead byte at a row end", "ab\x82\r\nc", "ab\x82|c\nc|e\n", "ab\x82\r\nc"},
  };
  test::TTempDir dir;
  for (const TLoadCase& c : cases) {
    TEditor editor;
    editor.Lines().SetTextStr(c.text);
    EXPECT_EQ(DumpRows(editor.List()), c.rows) << c.name;
    EXPECT_EQ(editor.Lines().GetTextStr(), c.saved) << c.name;
    EXPECT_EQ(editor.GetTextLen(), static_cast<std::int64_t>(c.saved.size())) << c.name;
    const std::string path = dir.Write("in.txt", c.text);
    TEditor loaded;
    ASSERT_TRUE(loaded.Lines().LoadFromFile(path)) << c.name;
    EXPECT_EQ(DumpRows(loaded.List()), c.rows) << c.name;
    ASSERT_TRUE(loaded.Lines().SaveToFile(dir.File("out.txt")));
    EXPECT_EQ(dir.Read("out.txt"), c.saved) << c.name;
  }
}

TEST(DocumentTest, LoadingFilesCutsAtCtrlZAndJoinsAcrossTheOldBufferSize) {
  test::TTempDir dir;
  TEditor editor;
  // Byte 8192 is CR and byte 8193 LF: one line break, no empty row.
  ASSERT_TRUE(editor.Lines().LoadFromFile(dir.Write("a.txt", std::string(8191, 'a') + "\r\nb")));
  EXPECT_EQ(DumpRows(editor.List()), std::string(8191, 'a') + "|c\nb|e\n");
  // A line that runs across 8192 bytes stays one line.
  ASSERT_TRUE(editor.Lines().LoadFromFile(dir.Write("b.txt", std::string(9000, 'x') + "\n")));
  EXPECT_EQ(editor.List().GetCount(), 1);
  EXPECT_EQ(editor.List().Get(0).size(), 9000u);
  ASSERT_TRUE(editor.Lines().LoadFromFile(dir.Write("c.txt", "one\r\ntwo\x1A" "three\r\n")));
  EXPECT_EQ(DumpRows(editor.List()), "one|c\ntwo|e\n");
  // The rows as shown, each with a line break.
  editor.SetWordWrap(true);
  editor.WrapOption().SetWrapByte(20);
  editor.Lines().SetTextStr(std::string(25, 'w') + "\r\nz");
  ASSERT_TRUE(editor.ListToFile(dir.File("rows.txt")));
  EXPECT_EQ(dir.Read("rows.txt"), std::string(20, 'w') + "\r\nwwwww\r\nz\r\n");
  EXPECT_FALSE(editor.Lines().LoadFromFile(dir.File("missing.txt")));
  EXPECT_EQ(editor.List().GetCount(), 0);
  EXPECT_FALSE(editor.Modified());
  EXPECT_FALSE(editor.CanUndo());
}

struct TUpdateCase {
  const char* name;
  std::string text;
  int index, count;
  std::string s;
  std::string rows;
};

TEST(DocumentTest, UpdateListCases) {
  const TUpdateCase cases[] = {
      {"text without a break joins the next line", "a\r\nb\r\nc", 1, 1, "x", "a|c\nxc|e\n"},
      {"text with a break replaces the line", "a\r\nb\r\nc", 1, 1, "x\r\n", "a|c\nx|c\nc|e\n"},
      {"deleting whole lines", "a\r\nb\r\nc\r\n", 0, 2, "", "c|c\n"},
      {"deleting the last line", "a\r\nb", 1, 1, "", "a|c\n"},
      {"inserting lines", "a\r\nb", 1, 0, "x\r\ny\r\n", "a|c\nx|c\ny|c\nb|e\n"},
      {"appending after a final break", "a\r\n", 1, 0, "b", "a|c\nb|e\n"},
      {"appending after a last row without a break continues it", "a\r\nb", 2, 0, "z", "a|c\nbz|e\n"},
      {"appending a break after a last row without one", "a", 1, 0, "\r\n", "a|c\n"},
      {"replacing everything by nothing", "a\r\nb", 0, 2, "", ""},
      {"into an empty text", "", 0, 0, "q", "q|e\n"},
      {"bad index", "a", 3, 0, "x", "a|e\n"},
      {"bad count", "a", 0, 2, "x", "a|e\n"},
      {"negative index", "a", -1, 1, "x", "a|e\n"},
      {"nothing to do", "a", 0, 0, "", "a|e\n"},
  };
  for (const TUpdateCase& c : cases) {
    TEditor editor;
    editor.Lines().SetTextStr(c.text);
    editor.List().UpdateList(c.index, c.count, c.s);
    EXPECT_EQ(DumpRows(editor.List()), c.rows) << c.name;
  }
}

TEST(DocumentTest, RowQueriesClampTheirIndex) {
  TEditor editor;
  test::Apply({"w20", true, 20, false, false, false, false, 8}, editor);
  editor.Lines().SetTextStr(std::string(45, 'a') + "\r\nb");
  TEditorScreenStrings& list = editor.List();
  ASSERT_EQ(DumpRows(list), std::string(20, 'a') + "|w\n" + std::string(20, 'a') + "|w\naaaaa|c\nb|e\n");
  EXPECT_EQ(list.RowStart(2), 0);
  EXPECT_EQ(list.RowEnd(0), 2);
  EXPECT_EQ(list.RowStart(-5), 0);
  EXPECT_EQ(list.RowEnd(99), 3);
  EXPECT_EQ(list.ListInfo(1, -1), std::string(20, 'a') + "aaaaa\r\n");
  EXPECT_EQ(list.ListInfo(9, 1), "");
  EXPECT_TRUE(list.DeleteList(9, 3).Empty());
  EXPECT_EQ(list.GetCount(), 4);
  // The logical-line view.
  EXPECT_EQ(editor.Lines().GetCount(), 2);
  EXPECT_EQ(editor.Lines().Get(0), std::string(45, 'a'));
  EXPECT_EQ(editor.Lines().Get(1), "b");
  EXPECT_EQ(editor.LinesToRow(1), 3);
  EXPECT_EQ(editor.RowToLines(3), 1);
}

TEST(DocumentTest, LinesOperationsAreUndoableEdits) {
  TEditor editor;
  TEditorStrings& lines = editor.Lines();
  lines.SetTextStr("one\r\ntwo");
  lines.Add("three");  // the text still ends without a line break
  EXPECT_EQ(lines.GetTextStr(), "one\r\ntwo\r\nthree");
  lines.Insert(0, "zero");
  lines.Put(2, "TWO");
  lines.Delete(1);
  EXPECT_EQ(lines.GetTextStr(), "zero\r\nTWO\r\nthree");
  EXPECT_EQ(lines.GetCount(), 3);
  EXPECT_TRUE(editor.Modified());
  for (int i = 0; i < 4; ++i) editor.Undo();
  EXPECT_EQ(lines.GetTextStr(), "one\r\ntwo");
  lines.Clear();
  EXPECT_EQ(editor.List().GetCount(), 0);
  lines.Add("a");
  EXPECT_EQ(lines.GetTextStr(), "a\r\n");
}

TEST(DocumentTest, MarksStayWithTheirLines) {
  TEditor editor;
  TEditorScreenStrings& list = editor.List();
  editor.Lines().SetTextStr("a\r\nb\r\nc\r\nd");
  list.SetRowMarks(1, TRowMarks::Of(rm3));
  list.SetRowMarks(2, TRowMarks::Of(rm12));
  // Deleting whole lines that carry marks puts them on the row that follows.
  list.UpdateList(1, 2, "");
  EXPECT_EQ(DumpRows(list), "a|c\nd|e\n");
  EXPECT_EQ(list.GetRowMarks(1), TRowMarks::Of(rm3) | TRowMarks::Of(rm12));
  // ... or on the new last row.
  list.UpdateList(1, 1, "");
  EXPECT_EQ(list.GetRowMarks(0), TRowMarks::Of(rm3) | TRowMarks::Of(rm12));
  EXPECT_EQ(list.ValidRowMarks(), TRowMarks::Of(rm3) | TRowMarks::Of(rm12));
  // Inserting a line above a marked line at column 0 keeps the mark on it.
  editor.SetRowCol(0, 0);
  list.UpdateList(0, 1, "new\r\na\r\n");
  EXPECT_TRUE(list.GetRowMarks(0).Empty());
  EXPECT_EQ(list.GetRowMarks(1), TRowMarks::Of(rm3) | TRowMarks::Of(rm12));
  list.UpdateList(0, 2, "");
  EXPECT_TRUE(list.ValidRowMarks().Empty());
}

// A tokenizer whose row state is whether a "/*" comment is open.
class TCommentParser : public TNullParser {
 public:
  void LastTokenBracket(int index, const TRowAttributeStringList& strings, TRowAttributeData& data) override {
    const std::string& s = strings.Get(index);
    bool open = data.Bracket == 0;
    for (std::size_t i = 0; i + 1 < s.size(); ++i) {
      if (!open && s[i] == '/' && s[i + 1] == '*') {
        open = true;
        ++i;
      } else if (open && s[i] == '*' && s[i + 1] == '/') {
        open = false;
        ++i;
      }
    }
    data.Bracket = open ? 0 : -1;
    data.Remain = (data.Remain + static_cast<int>(s.size())) & 0xFF;  // a counter carried row to row
  }
};

class TCommentFountain : public IEditorFountain {
 public:
  std::unique_ptr<IEditorParser> CreateParser() override { return std::make_unique<TCommentParser>(); }
  TNotifyEventList& ChangeList() override { return m_list; }
  TNotifyEventList& FreeNotifyList() override { return m_freeList; }

 private:
  TNotifyEventList m_list{this};
  TNotifyEventList m_freeList{this};
};

// The start state of every row, computing rows not reached yet on demand.
std::string States(TEditorScreenStrings& list) {
  std::string out;
  for (int r = 0; r < list.GetCount(); ++r) {
    if (!list.StateComputed(r)) list.UpdateBrackets(r, false);
    const TRowAttributeData d = list.RowState(r);
    out += std::to_string(d.Bracket) + "/" + std::to_string(d.Remain) + "/" + std::to_string(d.PrevRow) + " ";
  }
  return out;
}

TEST(DocumentTest, IncrementalStateEqualsStateOfTheWholeText) {
  TCommentFountain fountain;
  TFixedMeasurer measurer;
  measurer.screenHeight = 16 * 5;  // five rows a screen: re-tokenizing stops ten rows ahead
  std::mt19937 rng(7);
  const char* pieces[] = {"/*", "*/", "x", "ab", "\r\n", " "};
  TEditor editor;
  editor.SetMeasurer(&measurer);
  editor.SetFountain(&fountain);
  test::Apply({"w20", true, 20, false, false, false, false, 8}, editor);
  std::string text;
  for (int i = 0; i < 400; ++i) text += pieces[rng() % 6];
  editor.Lines().SetTextStr(text);
  TEditorScreenStrings& list = editor.List();
  EXPECT_FALSE(list.StateComputed(list.GetCount() - 1));
  EXPECT_EQ(list.RowState(list.GetCount() - 1).Bracket, kBracketNotComputed);
  for (int edit = 0; edit < 200; ++edit) {
    const int index = static_cast<int>(rng() % static_cast<unsigned>(list.GetCount() + 1));
    const int count = std::min(list.GetCount() - index, static_cast<int>(rng() % 2));
    std::string s;
    for (int i = static_cast<int>(rng() % 4); i > 0; --i) s += pieces[rng() % 6];
    list.UpdateList(index, count, s);
    if (edit % 20 != 0) continue;
    TEditor whole;
    whole.SetFountain(&fountain);
    whole.Speed().SetInitBracketsFull(true);
    test::Apply({"w20", true, 20, false, false, false, false, 8}, whole);
    whole.Lines().SetTextStr(list.ListToStr());
    ASSERT_EQ(States(list), States(whole.List())) << "edit " << edit;
  }
}

TEST(DocumentTest, SettingTextIsNoEditButEditsNotify) {
  TEditor editor;
  int changes = 0;
  editor.OnChange = [&changes] { ++changes; };
  editor.Lines().SetTextStr("a\r\nb");
  EXPECT_EQ(changes, 0);
  EXPECT_FALSE(editor.Modified());
  editor.List().UpdateList(0, 1, "x\r\n");
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(editor.Modified());
  const TDrawInfo& info = editor.List().DrawInfo();
  EXPECT_FALSE(info.Valid);  // cleared at the end of the update
}

}  // namespace
}  // namespace nuv
