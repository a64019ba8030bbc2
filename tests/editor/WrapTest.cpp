// Row breaks: the wrap edge cases (hanging punctuation, pushed-out opening
// brackets, word breaking, tabs at the wrap edge), the column codes and the
// column cursor they rest on.
#include <gtest/gtest.h>

#include <string>

#include "EditorTestUtil.h"
#include "editor/ColumnAttributes.h"
#include "editor/LineWrapper.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Sj;

struct TWrapCase {
  const char* name;
  int wrapByte;
  bool followRetMark, followPunctuation, leading, wordBreak;
  std::string line;
  std::string rows;  // dump of the rows
};

std::string A(int n, char c = 'a') { return std::string(static_cast<std::size_t>(n), c); }
std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

std::string Wrap(const TWrapCase& c) {
  TEditorWrapOption option;
  option.SetWrapByte(c.wrapByte);
  option.SetFollowRetMark(c.followRetMark);
  option.SetFollowPunctuation(c.followPunctuation);
  option.SetLeading(c.leading);
  option.SetWordBreak(c.wordBreak);
  TLineWrapper wrapper(option, TColumnRules{});
  TEditorStringList list;
  wrapper.WrapLine(c.line, list);
  EXPECT_EQ(wrapper.WrapCount(c.line), list.GetCount()) << c.name;
  return test::DumpRows(list);
}

TEST(WrapTest, RowBreakCases) {
  const std::string kanji = Sj("漢"), maru = Sj("。"), open = Sj("「"), close = Sj("」"), bar = Sj("ー");
  const TWrapCase cases[] = {
      {"exactly W letters: the line break gets a row", 80, false, false, false, false, A(80), A(80) + "|w\n|c\n"},
      {"exactly W letters with FollowRetMark", 80, true, false, false, false, A(80), A(80) + "|c\n"},
      {"shorter than W", 80, false, false, false, false, A(79), A(79) + "|c\n"},
      {"empty line", 80, false, false, false, false, "", "|c\n"},
      {"double-byte across the edge goes whole", 80, false, false, false, false, A(79) + kanji,
       A(79) + "|w\n" + kanji + "|c\n"},
      {"full-width stop hangs", 80, false, true, false, false, A(80) + maru + "b", A(80) + maru + "|w\nb|c\n"},
      {"full-width stop stays without FollowPunctuation", 80, false, false, false, false, A(80) + maru + "b",
       A(80) + "|w\n" + maru + "b|c\n"},
      {"ASCII then full-width stop hang to W+3", 80, false, true, false, false, A(80) + "." + maru + "b",
       A(80) + "." + maru + "|w\nb|c\n"},
      {"opening bracket at the edge moves down", 80, false, false, true, false, A(78) + open + "bb",
       A(78) + "|w\n" + open + "bb|c\n"},
      {"closing mark after the edge pulls the break back", 80, false, false, true, false, A(79) + close + "b",
       A(78) + "|w\na" + close + "b|c\n"},
      {"closing marks stop at (W div 5) * 4", 80, false, false, true, false, A(60) + Repeat(bar, 12) + "b",
       A(60) + Repeat(bar, 2) + "|w\n" + Repeat(bar, 10) + "b|c\n"},
      {"word break after the space", 80, false, false, false, true, A(70) + " " + A(20, 'b'),
       A(70) + " |w\n" + A(20, 'b') + "|c\n"},
      {"one long word breaks at W div 3", 80, false, false, false, true, A(100), A(26) + "|w\n" + A(74) + "|c\n"},
      {"word break ends after a double-byte character", 20, false, false, false, true, A(10) + kanji + A(15, 'b'),
       A(10) + kanji + "|w\n" + A(15, 'b') + "|c\n"},
      {"several rows", 20, false, false, false, false, A(45), A(20) + "|w\n" + A(20) + "|w\n" + A(5) + "|c\n"},
      {"lone lead byte at the end is one column", 20, false, false, false, false, A(19) + "\x82",
       A(19) + "\x82|w\n|c\n"},
  };
  for (const TWrapCase& c : cases) EXPECT_EQ(Wrap(c), c.rows) << c.name;
}

TEST(WrapTest, WrapByteIsClampedAndDefaultsAreShiftJis) {
  TEditorWrapOption option;
  int changes = 0;
  option.OnChange = [&changes](TNotifyPersistent&) { ++changes; };
  option.SetWrapByte(10);
  EXPECT_EQ(option.WrapByte(), 20);
  option.SetWrapByte(300);
  EXPECT_EQ(option.WrapByte(), 250);
  option.SetWrapByte(250);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(option.FollowStr().size(), 56u);
  EXPECT_EQ(option.LeadStr().size(), 14u);
  EXPECT_EQ(option.PunctuationStr().size(), 12u);
  EXPECT_EQ(option.FollowStr(), Sj("、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』!),.:;?]}｡｣､･ｰﾞﾟ"));
  EXPECT_EQ(option.LeadStr(), Sj("（［｛「『([{｢"));
  EXPECT_EQ(option.PunctuationStr(), Sj("、。，．,.｡､"));
  TEditorWrapOption other;
  other.SetWordBreak(true);
  other.SetWrapByte(40);
  changes = 0;
  option.Assign(other);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(option.WordBreak());
  option.Assign(other);
  EXPECT_EQ(changes, 1);
}

TEST(WrapTest, ColumnCodes) {
  TColumnRules rules;
  std::string codes;
  StrToAttributes("a b\t" + Sj("漢") + "\xB1", rules, codes);
  EXPECT_EQ(codes, "1212" "3333" "45" "1");
  codes.clear();
  StrToAttributes("a b\t", rules, codes);
  EXPECT_EQ(codes, "12123333");
  // With W = 20 and tabs of 8, a tab at column 17 ends at the wrap edge.
  rules.WordWrap = true;
  rules.WrapByte = 20;
  StrToAttributes(A(17) + "\tb", rules, codes);
  EXPECT_EQ(codes.size(), 21u);
  EXPECT_EQ(codes.substr(17), "2331");
  EXPECT_EQ(ExpandTabLength(A(17) + "\t", rules), 20);
  EXPECT_EQ(ExpandTab(A(17) + "\t", rules), A(17) + "   ");
  // ャャ: the second 83 is a trail byte, the third a lead byte.
  rules.WordWrap = false;
  StrToAttributes("\x83\x83\x83\x83", rules, codes);
  EXPECT_EQ(codes, "4545");
  // Without word wrap the codes stop at 1000 columns but finish a double-byte character.
  StrToAttributes(A(999) + Sj("漢漢"), rules, codes);
  EXPECT_EQ(codes.size(), 1001u);
}

TEST(WrapTest, CursorPriorUndoesNextAcrossTabs) {
  TColumnRules rules;
  const std::string s = "a\tb" + Sj("漢");
  std::string codes;
  StrToAttributes(s, rules, codes);
  TEditorAttributeArray a(s, codes);
  std::vector<int> seen;
  while (a.Attribute() != kColEnd) {
    seen.push_back(a.StrIndex());
    a.Next();
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 2, 2, 2, 2, 2, 2, 3, 4, 5}));
  for (int i = static_cast<int>(seen.size()); i >= 1; --i) {
    a.SetPosition(i);
    EXPECT_EQ(a.StrIndex(), seen[static_cast<std::size_t>(i - 1)]) << i;
  }
  a.SetPosition(5);
  EXPECT_EQ(a.PositionString(), "\t");
  a.SetPosition(10);
  EXPECT_EQ(a.PositionString(), Sj("漢"));
  a.SetPosition(9);
  EXPECT_EQ(a.PositionString(), "b");
  EXPECT_EQ(a.NextPositionString(), Sj("漢"));
}

TEST(WrapTest, TextSplitsAtEveryLineBreak) {
  TEditorWrapOption option;
  TLineWrapper wrapper(option, TColumnRules{});
  TEditorStringList list;
  WrapText("a\rb\nc\r\n\r\nd\r\n", false, wrapper, list);
  EXPECT_EQ(test::DumpRows(list), "a|c\nb|c\nc|c\n|c\nd|c\n");
  list.DeleteRange(0, list.GetCount());
  WrapText("", true, wrapper, list);
  EXPECT_EQ(test::DumpRows(list), "|c\n");
}

}  // namespace
}  // namespace nuv
