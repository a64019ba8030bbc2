// The extended editor's search: options, character classes and whole words,
// the 250-byte limit, empty matches, trail bytes that look like ASCII, find
// next and previous, replace and replace all with their undo, and find marks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditorTestUtil.h"
#include "editor/EditorEx.h"
#include "editor/HeadlessPageEditor.h"
#include "regex/AwkStr.h"
#include "regex/RegExpError.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Sj;

constexpr TExSearchOptions kCase = SearchOption(soMatchCase);
constexpr TExSearchOptions kRegexp = SearchOption(soRegexp);
constexpr TExSearchOptions kFuzzy = SearchOption(soFuzzy);
constexpr TExSearchOptions kWord = SearchOption(soWholeWord);

TEST(SearchTest, OptionsAreNormalised) {
  const std::pair<TExSearchOptions, TExSearchOptions> cases[] = {
      {0, 0},
      {kCase | kRegexp, kCase},
      {kFuzzy, 0},
      {kRegexp | kFuzzy, kRegexp | kFuzzy},
      {kCase | kFuzzy | kWord, kCase | kWord},
      {kRegexp | kWord, kRegexp | kWord},
      {kCase | kRegexp | kFuzzy | kWord, kCase | kWord},
  };
  for (const auto& [in, out] : cases) {
    EXPECT_EQ(TEditorEx::NormalizeSearchOptions(in), out) << in;
    TEditorEx editor;
    editor.SetExSearchOptions(in);
    EXPECT_EQ(editor.ExSearchOptions(), out);
  }
}

TEST(SearchTest, CharKindTable) {
  struct TCase {
    std::string text;
    int kind;
  };
  const TCase cases[] = {
      {"\t", 0}, {" ", 0}, {",", 0}, {".", 0}, {"/", 0}, {":", 0}, {"@", 0}, {"[", 0}, {"`", 0}, {"{", 0}, {"~", 0},
      {"_", 0}, {"-", 1}, {"a", 1}, {"Z", 1}, {"0", 1}, {"\x01", 1}, {"\x7F", 1},
      {"\xA4", 0}, {"\xA1", 0}, {"\xA5", 0}, {"\xA0", 0}, {"\x80", 0}, {"\xFD", 0}, {std::string(1, '\0'), 0},
      {"\xB1", 2}, {"\xA6", 2}, {"\xDF", 2}, {"\xA2", 2}, {"\xA3", 2},
      {Sj("０"), 3}, {Sj("Ａ"), 3}, {Sj("ｚ"), 3},
      {Sj("ア"), 4}, {Sj("ヶ"), 4}, {Sj("ヽ"), 4},
      {Sj("あ"), 5}, {Sj("ん"), 5}, {Sj("ゝ"), 5},
      {Sj("亜"), 6}, {Sj("漢"), 6}, {Sj("々"), 6}, {"\xEA\xA4", 6},
      {Sj("　"), 0}, {Sj("、"), 0}, {Sj("ー"), 0}, {Sj("＼"), 0}, {Sj("▽"), 0}, {Sj("※"), 0}, {Sj("α"), 0},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(CharKind(c.text, 1), c.kind) << ::testing::PrintToString(c.text);
    // A trail byte is taken with its lead byte.
    if (c.text.size() == 2) {
      EXPECT_EQ(CharKind(c.text, 2), c.kind) << ::testing::PrintToString(c.text);
    }
  }
  EXPECT_EQ(CharKind("ab", 0), 0);
  EXPECT_EQ(CharKind("ab", 3), 0);
  // Every one of the 92 listed full-width symbols is class 0.
  const std::string symbols = Sj(
      "　、。，．・：；？！゛゜´｀¨＾￣＿〇ー―‐／＼～∥｜…‥‘’“”（）〔〕［］｛｝〈〉《》「」『』【】＋－±×÷＝≠＜＞≦≧∞∴"
      "♂♀°′″℃￥＄￠￡％＃＆＊＠§☆★○●◎◇◆□■△▲▽");
  ASSERT_EQ(symbols.size(), 184u);
  for (std::size_t i = 0; i < symbols.size(); i += 2) EXPECT_EQ(CharKind(symbols, static_cast<int>(i) + 1), 0) << i;
}

TEST(SearchTest, WholeWords) {
  struct TCase {
    std::string text, word;
    bool whole;
  };
  const TCase cases[] = {
      {"a cat.", "cat", true},
      {"concatenate", "cat", false},
      {"cat", "cat", true},
      {"cats", "cat", false},
      {"re-cat", "cat", false},  // the hyphen-minus belongs to words
      {Sj("これは漢字です"), Sj("漢字"), true},
      {Sj("これは漢字です"), Sj("漢"), false},
      {Sj("カタカナ語"), Sj("カタカナ"), true},
      {Sj("　word、"), "word", true},
  };
  for (const TCase& c : cases) {
    const std::size_t at = c.text.find(c.word);
    EXPECT_EQ(IsWholeWord(c.text, static_cast<int>(at) + 1, static_cast<int>(c.word.size())), c.whole) << c.word;
    TEditorEx editor;
    editor.SetFindString(c.word);
    editor.SetExSearchOptions(kWord);
    int len = 0;
    EXPECT_EQ(editor.SearchPos(c.text, len) > 0, c.whole) << c.word;
  }
  EXPECT_FALSE(IsWholeWord("cat", 0, 3));
  EXPECT_FALSE(IsWholeWord("cat", 4, 1));
  // The second occurrence is the whole word.
  TEditorEx editor;
  editor.SetFindString("cat");
  editor.SetExSearchOptions(kWord);
  int len = 0;
  EXPECT_EQ(editor.SearchPos("cats cat", len), 6);
  EXPECT_EQ(editor.SearchRPos("cat cats", len), 1);
}

TEST(SearchTest, SearchPosTable) {
  struct TCase {
    std::string pattern;
    TExSearchOptions options;
    std::string text;
    int pos, len;
  };
  const TCase cases[] = {
      {"abc", 0, "xxABCabc", 3, 3},
      {"abc", kCase, "xxABCabc", 6, 3},
      {"ABC", 0, "xxabc", 3, 3},
      // A trail byte is never lowered nor matched alone: ア is 83 41.
      {"a", 0, Sj("ア"), 0, 0},
      {"A", kCase, Sj("ア"), 0, 0},
      // Trail bytes 5C and 7C are not a backslash or a bar (表 95 5C, ポ 83 7C).
      {"\\", 0, Sj("表"), 0, 0},
      {"\\", 0, Sj("表") + "\\", 3, 1},
      {"\\\\", kRegexp, Sj("表") + "\\", 3, 1},
      {"|", kCase, Sj("ポ") + "|", 3, 1},
      {"\\|", kRegexp, Sj("ポ"), 0, 0},
      // A literal that ends in a lead byte never takes half a character.
      {"\x95", kCase, Sj("表"), 0, 0},
      {"b+", kRegexp, "abbbc", 2, 3},
      {"B+", kRegexp, "abbbc", 0, 0},  // regular expressions match case
      {"", 0, "abc", 0, 0},
      {"x?", kRegexp, "abc", 1, 0},  // an empty match is reported
      {"^c", kRegexp, "abc", 0, 0},
      {std::string(250, 'a'), 0, std::string(300, 'a'), 1, 250},
      {std::string(251, 'a'), 0, std::string(300, 'a'), 0, 0},
      {"a{251}", kRegexp, std::string(251, 'a'), 0, 0},
      {"a+", kRegexp, std::string(251, 'a') + "b" + "aa", 253, 2},  // the long match is passed over
  };
  for (const TCase& c : cases) {
    TEditorEx editor;
    editor.SetFindString(c.pattern);
    editor.SetExSearchOptions(c.options);
    int len = -1;
    EXPECT_EQ(editor.SearchPos(c.text, len), c.pos) << ::testing::PrintToString(c.pattern) << " in "
                                                    << ::testing::PrintToString(c.text);
    EXPECT_EQ(len, c.len) << ::testing::PrintToString(c.pattern);
  }
  TEditorEx editor;
  editor.SetFindString("ab");
  int len = 0;
  EXPECT_EQ(editor.SearchRPos("ab ab abx", len), 7);
  EXPECT_EQ(len, 2);
  editor.SetFindString("a*");
  editor.SetExSearchOptions(kRegexp);
  EXPECT_EQ(editor.SearchRPos("baab", len), 5);  // the empty match at the end
  EXPECT_EQ(len, 0);
}

TEST(SearchTest, MatcherStartOffsetSeesTheTextBefore) {
  TAWKStr matcher;
  int pos = 0, len = 0;
  matcher.SetRegExp("^a");
  EXPECT_EQ(matcher.Match("ba", 1, pos, len), 0);
  EXPECT_EQ(matcher.Match("b\na", 2, pos, len), 3);
  matcher.SetRegExp("a+");
  EXPECT_EQ(matcher.Match("aaxaa", 2, pos, len), 4);
  EXPECT_EQ(len, 2);
  EXPECT_EQ(matcher.Match("aaxaa", 5, pos, len), 0);
  matcher.SetRegExp("x*");
  EXPECT_EQ(matcher.Match("ab", 2, pos, len), 3);  // an empty match at the end
  EXPECT_EQ(len, 0);
  // The text ends at the first zero byte at or after the start.
  matcher.SetRegExp("b");
  EXPECT_EQ(matcher.Match(std::string("a\0b", 3), 0, pos, len), 0);
  EXPECT_EQ(matcher.Match(std::string("a\0b", 3), 2, pos, len), 3);
}

// Rows of a fresh editor: "one two one\r\nthree one\r\n" and so on.
std::string Text3() { return "one two one\r\nthree\r\nfour one\r\n"; }

TEST(SearchTest, FindNextAndPrev) {
  TEditorEx editor;
  editor.Lines().SetTextStr(Text3());
  editor.SetFindString("one");
  std::vector<std::int64_t> starts;
  while (editor.FindNext()) starts.push_back(editor.SelStart());
  EXPECT_EQ(starts, (std::vector<std::int64_t>{0, 8, 25}));
  EXPECT_EQ(editor.HitSelLength(), 0);
  starts.clear();
  editor.SetRowCol(3, 0);
  while (editor.FindPrev()) starts.push_back(editor.SelStart());
  EXPECT_EQ(starts, (std::vector<std::int64_t>{25, 8, 0}));
  // An empty pattern finds nothing.
  editor.SetFindString("");
  EXPECT_FALSE(editor.FindNext());
  EXPECT_FALSE(editor.FindPrev());
  EXPECT_FALSE(editor.Find());
  // Find searches the whole text, so a pattern may span a line break.
  editor.SetFindString("one\\r\\nth");
  editor.SetExSearchOptions(kRegexp);
  editor.SetSelStart(0);
  ASSERT_TRUE(editor.Find());
  EXPECT_EQ(editor.SelStart(), 8);
  EXPECT_EQ(editor.SelText(), "one\r\nth");
  EXPECT_FALSE(editor.Find());
  // A bad pattern throws the engine's error and changes nothing.
  editor.SetFindString("a(");
  editor.SetSelStart(4);
  EXPECT_THROW(editor.FindNext(), ERegExpParser);
  EXPECT_EQ(editor.SelStart(), 4);
}

TEST(SearchTest, EmptyMatchesNeverHang) {
  for (const char* pattern : {"a*", "^", "x?", "$", "b*$"}) {
    TEditorEx editor;
    editor.SetUndoListMax(100);
    editor.Lines().SetTextStr("aab\r\n\r\nba\r\n");
    editor.SetFindString(pattern);
    editor.SetExSearchOptions(kRegexp | kWord);
    int found = 0;
    while (editor.FindNext() && found < 100) ++found;
    EXPECT_LT(found, 100) << pattern;
    while (editor.FindPrev() && found < 200) ++found;
    EXPECT_LT(found, 200) << pattern;
    for (int r = 0; r < editor.GetListCount(); ++r) EXPECT_LE(editor.SearchLine(r), TEditorEx::kMaxRowSegments);
    editor.SetExSearchOptions(kRegexp);
    editor.ReplaceAll("-", false);
  }
  // A megabyte of one byte: every empty or rejected match moves on by a
  // character, each search reading only what lies ahead of it.
  TEditorEx big;
  big.Lines().SetTextStr(std::string(1u << 20, 'a'));
  big.SetFindString("x?");
  big.SetExSearchOptions(kRegexp | kWord);
  EXPECT_FALSE(big.FindNext());
  big.SetFindString("a");
  EXPECT_FALSE(big.FindNext());
  big.SetExSearchOptions(kRegexp);
  int len = 0;
  EXPECT_EQ(big.SearchRPos(std::string(100000, 'a'), len), 100000);
  EXPECT_EQ(big.ReplaceAll("", false), 1 << 20);
  EXPECT_EQ(big.GetTextLen(), 0);
  // Replace all puts the replacement at every empty match too.
  TEditorEx editor;
  editor.Lines().SetTextStr("ab\r\ncd\r\n");
  editor.SetFindString("^");
  editor.SetExSearchOptions(kRegexp);
  EXPECT_EQ(editor.ReplaceAll("> ", false), 2);
  EXPECT_EQ(editor.Lines().GetTextStr(), "> ab\r\n> cd\r\n");
  editor.SetFindString("x*");
  EXPECT_EQ(editor.ReplaceAll("-", false), 10);
  EXPECT_EQ(editor.Lines().GetTextStr(), "->- -a-b-\r\n->- -c-d-\r\n");
}

TEST(SearchTest, ReplaceAndReplaceAllAreOneUndoStep) {
  TEditorEx editor;
  editor.SetUndoListMax(100);
  editor.Lines().SetTextStr(Text3());
  editor.SetFindString("ONE");
  // With "\r\n" expanded the replacement breaks lines; a backslash that is a
  // trail byte (表 95 5C) starts no escape.
  const std::string with = "1\\R\\n" + Sj("表") + "r\\n";
  EXPECT_EQ(editor.ReplaceAll(with, true), 3);
  const std::string expanded = "1\r\n" + Sj("表") + "r\\n";
  EXPECT_EQ(editor.Lines().GetTextStr(), expanded + " two " + expanded + "\r\nthree\r\nfour " + expanded + "\r\n");
  EXPECT_TRUE(editor.Modified());
  ASSERT_TRUE(editor.CanUndo());
  editor.Undo();
  EXPECT_EQ(editor.Lines().GetTextStr(), Text3());
  EXPECT_FALSE(editor.CanUndo());
  // Replace takes the hit shown first, then the next one each call.
  editor.SetSelStart(0);
  ASSERT_TRUE(editor.FindNext());
  EXPECT_TRUE(editor.Replace("1", false));
  EXPECT_EQ(editor.Lines().GetTextStr(), "1 two one\r\nthree\r\nfour one\r\n");
  EXPECT_TRUE(editor.Replace("2", false));
  EXPECT_EQ(editor.Lines().GetTextStr(), "1 two 2\r\nthree\r\nfour one\r\n");
  EXPECT_TRUE(editor.Replace("", false));
  EXPECT_EQ(editor.Lines().GetTextStr(), "1 two 2\r\nthree\r\nfour \r\n");
  EXPECT_FALSE(editor.Replace("3", false));
  editor.Undo();
  EXPECT_EQ(editor.Lines().GetTextStr(), "1 two 2\r\nthree\r\nfour one\r\n");
  // A pattern across lines replaces over the whole text.
  editor.SetFindString("2\\r\\nth");
  editor.SetExSearchOptions(kRegexp);
  EXPECT_EQ(editor.ReplaceAll("2+TH", false), 1);
  EXPECT_EQ(editor.Lines().GetTextStr(), "1 two 2+THree\r\nfour one\r\n");
  editor.SetReadOnly(true);
  editor.SetFindString("four");
  EXPECT_EQ(editor.ReplaceAll("x", false), 0);
}

TEST(SearchTest, FindMarksOfWrappedRows) {
  TEditorEx editor;
  test::Apply({"w20", true, 20, false, false, false, false, 4}, editor);
  // Row 0 is 20 columns; row 1 starts with a tab (4 columns), then XYZW.
  editor.Lines().SetTextStr("abcdefghijklmnopXYZW\tXYZW\r\nXYZW");
  editor.SetFindString("xyzw");
  ASSERT_EQ(editor.GetListCount(), 3);
  ASSERT_EQ(editor.ListStr(1), "\tXYZW");
  EXPECT_EQ(editor.SearchLine(0), 1);
  EXPECT_EQ(editor.FindSegments(), (std::vector<TFindSegment>{{16, 4}}));
  EXPECT_EQ(editor.SearchLine(1), 1);
  EXPECT_EQ(editor.FindSegments(), (std::vector<TFindSegment>{{4, 4}}));
  EXPECT_EQ(editor.SearchLine(2), 1);
  // A match across a row break is marked on both rows.
  editor.Lines().SetTextStr("abcdefghijklmnopqrXYZW");
  ASSERT_EQ(editor.ListStr(1), "ZW");
  EXPECT_EQ(editor.SearchLine(0), 1);
  EXPECT_EQ(editor.FindSegments(), (std::vector<TFindSegment>{{18, 2}}));
  EXPECT_EQ(editor.SearchLine(1), 1);
  EXPECT_EQ(editor.FindSegments(), (std::vector<TFindSegment>{{0, 2}}));
  // A long line is searched a window of rows at a time: hits across every
  // row break, met in either direction and across window edges, are each
  // marked in full.
  std::string line;
  for (int i = 0; i < 10000; ++i) line += "xyzw";
  editor.Lines().SetTextStr(line);
  editor.SetFindString("WX");
  ASSERT_GT(editor.GetListCount(), 3 * TEditorEx::kWindowRows);
  for (int direction : {1, -1}) {
    int columns = 0;
    for (int i = 0, n = editor.GetListCount(); i < n; ++i) {
      editor.SearchLine(direction > 0 ? i : n - 1 - i);
      for (const TFindSegment& segment : editor.FindSegments()) columns += segment.Length;
    }
    EXPECT_EQ(columns, 9999 * 2) << direction;
  }
  // A bad pattern marks nothing.
  editor.SetFindString("(");
  editor.SetExSearchOptions(kRegexp);
  EXPECT_EQ(editor.SearchLine(0), 0);
}

TEST(SearchTest, BlankMarksLieWhereTheCharactersAre) {
  TEditorEx editor;
  // 　 is 81 40; in 83 81 40 the 81 is a trail byte, so no 81 40 is there.
  editor.Lines().SetTextStr("a b\t" + Sj("ャ　") + "\tc\x83\x81@ ");
  const TEditorEx::TBlankMarks marks = editor.BlankMarks(0);
  EXPECT_EQ(marks.Spaces, (std::vector<int>{1, 20}));
  EXPECT_EQ(marks.Tabs, (std::vector<int>{3, 12}));
  EXPECT_EQ(marks.DBSpaces, (std::vector<int>{10}));
}

TEST(SearchTest, VerticalLines) {
  TVerticalLines lines;
  int repaints = 0;
  lines.OnChange = [&] { ++repaints; };
  lines.Add(80, 0xC0C0C0);
  lines.Add(-5);
  EXPECT_EQ(lines.Items(1).Position, 0);
  EXPECT_EQ(lines.VisibleXs(8, 19, 0), (std::vector<int>{19 + 640, 19}));
  // Scrolled right past column 80 the line is not drawn.
  EXPECT_EQ(lines.VisibleXs(8, 19, 81 * 8), (std::vector<int>{}));
  lines.Hide();
  EXPECT_TRUE(lines.VisibleXs(8, 19, 0).empty());
  EXPECT_EQ(repaints, 3);
}

TEST(SearchTest, HeadlessEditorRunsTheSameSearch) {
  THeadlessPageEditor editor;
  editor.SetText("alpha beta\r\nbeta gamma\r\n");
  editor.SetFindString("BETA");
  editor.SetSearchOptions(0);
  ASSERT_TRUE(editor.FindNext());
  EXPECT_EQ(editor.SelStart(), 6);
  EXPECT_EQ(editor.SelLength(), 4);
  ASSERT_TRUE(editor.FindNext());
  EXPECT_EQ(editor.SelStart(), 12);
  EXPECT_EQ(editor.ReplaceAll("B", false), 2);
  EXPECT_EQ(editor.Text(), "alpha B\r\nB gamma\r\n");
  editor.SetSelection(0, 5);
  editor.SetBoxMode(true);
  EXPECT_TRUE(editor.BoxMode());
  editor.SetBoxMode(false);
  editor.SetSelection(0, 5);
  editor.CopyToClipboard();
  EXPECT_EQ(editor.ClipboardText(), "alpha");
  editor.SetSelStart(0);
  EXPECT_EQ(editor.WordFromCaret(), "alpha");
}

}  // namespace
}  // namespace nuv
