// The configurable fountain, the reserved-word files and the edit modes.
#include <gtest/gtest.h>

#include "FountainTestUtil.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

TEST(EditorFountain, ReservedWordFileSettingsLinesOnlyAtTheTopInOrder) {
  test::TTempDir dir;
  TEditorFountain f;
  EXPECT_TRUE(LoadReserveWordFile(dir.Write("a.rsv", "Commenter=;;\r\nQuotation='\r\nbegin\r\nBEGIN\r\n\r\n"), f));
  EXPECT_EQ(f.Commenter(), ";;");
  EXPECT_EQ(f.Quotation(), "");
  EXPECT_EQ(f.ReserveWordList().Words(), (std::vector<std::string>{"", "begin", "Quotation='"}));
  EXPECT_TRUE(LoadReserveWordFile(dir.Write("b.rsv", "Quotation='x\nCommenter=#\rword"), f));
  EXPECT_EQ(f.Quotation(), "'");
  EXPECT_EQ(f.Commenter(), "#");
  EXPECT_TRUE(f.ReserveWordList().Contains("WORD"));
  EXPECT_FALSE(LoadReserveWordFile(dir.File("missing.rsv"), f));
  EXPECT_EQ(f.ReserveWordList().Count(), 0);
}

TEST(EditorFountain, StringsCommentsAndHexPrefix) {
  TEditorFountain f;
  f.InitPageEditorDefaults();
  EXPECT_EQ(DumpTokens(f, "x \"a//b\" c // d", 0), "0 e [b-1 e0 w0 r0 t- p-] Ank@0+1 Quotation@2+6 Ank@9+1 Comment@11+4\n");
  EXPECT_EQ(DumpTokens(f, "0x1f 0XAB 0xg \"a\"\"b\"", 0),
            "0 e [b-1 e0 w0 r0 t- p-] Hex@0+4 Hex@5+4 Hex@10+2 Ank@12+1 Quotation@14+6\n");
  f.SetControlCode(true);
  EXPECT_EQ(DumpTokens(f, "#13#$1F#", 0), "0 e [b-1 e0 w0 r0 t- p-] ControlCode@0+3 ControlCodeHex@3+4 ControlCode@7+1\n");
  EXPECT_EQ(DumpTokens(f, test::Sj("「かぎ」<node:x>"), 0), "0 e [b-1 e0 w0 r0 t- p-] Bracket@0+8 Bracket@8+8\n");
}

TEST(EditorFountain, ColoursByKind) {
  TEditorFountain f;
  f.InitPageEditorDefaults();
  f.Colors().Str.SetColor(clRed);
  f.Colors().Reserve().SetColor(clBlue);
  f.SetReserveWordList(TSortedWordList{"if"});
  std::unique_ptr<TFountainParser> p = f.NewParser();
  p->NewData("\"s\" IF /* c */", TRowAttributeData());
  ASSERT_EQ(p->NextToken(), tokQuotation);
  EXPECT_EQ(p->TokenToFountainColor(), &f.Colors().Str);
  ASSERT_EQ(p->NextToken(), tokAnk);
  EXPECT_EQ(p->TokenToFountainColor(), &f.Reserve());
  ASSERT_EQ(p->NextToken(), tokBracket);
  EXPECT_EQ(p->TokenToFountainColor(), &f.Brackets().Item(0).ItemColor());
  EXPECT_EQ(p->NextToken(), tokEof);
}

TEST(EditModes, NineBuiltInModesThenTheNamedUserModes) {
  const std::vector<TEditMode>& modes = BuiltInEditModes();
  ASSERT_EQ(modes.size(), 9u);
  const char* boxes[] = {"テキスト", "AWK", "C/C++", "Delphi", "HTML", "COBOL", "Perl", "Ruby", "JAVA"};
  const char* actions[] = {"acEMText", "acEMAWK", "acEMCPP", "acEMDelphi", "acEMHTML",
                           "acEMCOBOL", "acEMPerl", "acEMRuby", "acEMJava"};
  for (std::size_t i = 0; i < 9; ++i) {
    EXPECT_EQ(modes[i].BoxEntry, test::Sj(boxes[i]));
    EXPECT_EQ(modes[i].ActionName, actions[i]);
  }
  EXPECT_EQ(modes[7].Caption, test::Sj("Rubyモード(&R)"));
  std::array<TEditModeSlot, kEditModeSlots> slots{};
  slots[2] = {test::Sj("メモ"), "", "memo.rsv"};
  slots[5] = {"SQL", "Q", "sql.rsv"};
  const std::vector<TEditMode> all = BuildEditModes(slots);
  ASSERT_EQ(all.size(), 11u);
  EXPECT_EQ(all[9].Caption, test::Sj("メモモード"));
  EXPECT_EQ(all[9].UserSlot, 2);
  EXPECT_EQ(all[10].Caption, test::Sj("SQLモード(&Q)"));
  EXPECT_EQ(all[10].BoxEntry, "SQL");
}

TEST(EditModes, ViewModesLoadTheirFilesAndLanguageModesLeaveTheViewAlone) {
  test::TTempDir dir;
  dir.Write("CPP.rsv", "int\r\n");
  dir.Write("Delphi.rsv", "Quotation=\"\r\nbegin\r\n");
  TFountainSet set;
  TEditorFountain view;
  view.InitPageEditorDefaults();
  EXPECT_EQ(ApplyEditMode(*FindEditMode("delphi"), view, set, dir.Path()), &view);
  EXPECT_EQ(view.Quotation(), "\"");  // the file's line wins over the mode's quote
  EXPECT_TRUE(view.ReserveWordList().Contains("BEGIN"));
  EXPECT_EQ(ApplyEditMode(*FindEditMode("perl"), view, set, dir.Path()), &set.Perl);
  EXPECT_TRUE(view.ReserveWordList().Contains("begin"));
  EXPECT_EQ(ApplyEditMode(*FindEditMode("text"), view, set, dir.Path()), &view);
  EXPECT_EQ(view.ReserveWordList().Count(), 0);  // no TEXT.rsv there
  EXPECT_EQ(view.Quotation(), "\"");
  EXPECT_EQ(view.Commenter(), "//");
}

}  // namespace
}  // namespace nuv
