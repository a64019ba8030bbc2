// The settings carried into the editor and back, and fountains that go away
// while an editor still shows them (run under AddressSanitizer too).
#include <gtest/gtest.h>

#include <memory>

#include "editor/Editor.h"
#include "editor/EditorViewOptions.h"
#include "editor/view/EditorSettings.h"
#include "fountain/EditModes.h"
#include "support/TempDir.h"

namespace nuv::test {
namespace {

struct TTarget {
  TEditor editor;
  TEditorViewOptions view;
  TEditorFountain fountain;
  TEditorSettingsTarget Get() { return {editor, view, fountain}; }
};

TEST(EditorSettingsTest, ApplyViewMapsEveryKey) {
  TnuvConfig config("/nonexistent");
  config.ShowLineNo = true;
  config.LineNoMode = 0;
  config.ShowRuler = true;
  config.RulerRange = 9;  // lowered to an even range
  config.RulerEdge = false;
  config.ShowMarginRight = true;
  config.MarginRightPos = 72;
  config.Underline = true;
  config.TabSpace = 4;
  config.ZeroBase = true;
  config.WordWrap = true;
  config.WrapByte = 40;
  config.WordBreak = true;
  config.MarginChar = 3;
  TTarget t;
  ApplyView(config, t.Get());
  EXPECT_TRUE(t.view.Leftbar.Visible());
  EXPECT_EQ(t.view.Leftbar.ShowNumberMode(), TEditorShowNumberMode::nmLine);
  EXPECT_EQ(t.view.Ruler.GaugeRange(), 8);
  EXPECT_FALSE(t.view.Ruler.Edge());
  EXPECT_FALSE(t.view.Leftbar.Edge());
  ASSERT_EQ(t.view.VerticalLines.Items().size(), 1u);
  EXPECT_EQ(t.view.VerticalLines.Items()[0].Position, 72);
  EXPECT_TRUE(t.view.Marks.Underline.Visible());
  EXPECT_EQ(t.editor.Caret().TabSpaceCount(), 4);
  EXPECT_TRUE(t.view.Leftbar.ZeroBase());
  EXPECT_TRUE(t.editor.WordWrap());
  EXPECT_EQ(t.editor.WrapOption().WrapByte(), 40);
  EXPECT_TRUE(t.editor.WrapOption().WordBreak());
  EXPECT_EQ(t.editor.Margin().Character(), 3);
  config.LineNoMode = 1;
  ApplyView(config, t.Get());
  EXPECT_EQ(t.view.Leftbar.ShowNumberMode(), TEditorShowNumberMode::nmRow);
}

TEST(EditorSettingsTest, ColoursGoToTheViewAndComeBackSymbolFollowsAnk) {
  TnuvConfig config("/nonexistent");
  config.Ank = {0x0000FF, 0x00FF00, 1};
  config.Keyword = {0x123456, kColorNone, 4};
  config.SelectColor = 0x111111;
  config.SelectBkColor = 0x222222;
  config.RightMarginColor = 0x333333;
  config.EditBkColor = 0x444444;
  config.FindMarkColor = 0x555555;
  TTarget t;
  t.fountain.Colors().Symbol.SetColor(0x999999);
  ApplyColors(config, t.Get());
  EXPECT_EQ(t.fountain.Colors().Symbol.Color(), 0x0000FF);
  EXPECT_EQ(t.fountain.Colors().Symbol.BkColor(), 0x00FF00);
  EXPECT_EQ(t.fountain.Reserve().Color(), 0x123456);
  EXPECT_EQ(t.fountain.Reserve().Style(), 4);
  EXPECT_EQ(t.view.VerticalLines.Items().at(0).Color, 0x333333);
  EXPECT_EQ(t.view.Color(), 0x444444);
  TnuvConfig back("/nonexistent");
  ReadColorsBack(back, t.Get());
  EXPECT_EQ(back.Ank, config.Ank);
  EXPECT_EQ(back.Keyword, config.Keyword);
  EXPECT_EQ(back.SelectColor, 0x111111);
  EXPECT_EQ(back.SelectBkColor, 0x222222);
  EXPECT_EQ(back.RightMarginColor, 0x333333);
  EXPECT_EQ(back.EditBkColor, 0x444444);
  EXPECT_EQ(back.FindMarkColor, 0x555555);
}

TEST(EditorSettingsTest, BracketSlotsWithBothTextsApplyInOrder) {
  TnuvConfig config("/nonexistent");
  for (TBracketSlot& slot : config.Brackets) slot = TBracketSlot{};
  config.Brackets[0] = {"(", ")", 1, 2, 0};
  config.Brackets[1] = {"[", "", 3, 4, 0};  // no end text: skipped
  config.Brackets[5] = {"<", ">", 5, 6, 4};
  TEditorFountain fountain;
  fountain.Brackets().Add("x", "y", TFountainColor());
  ApplyBrackets(config, fountain);
  ASSERT_EQ(fountain.Brackets().Count(), 2);
  EXPECT_EQ(fountain.Brackets().Item(0).LeftBracket(), "(");
  EXPECT_EQ(fountain.Brackets().Item(1).RightBracket(), ">");
  EXPECT_EQ(fountain.Brackets().Item(1).ItemColor().Style(), 4);
}

TEST(EditorSettingsTest, GeometryWidensTheLineNumberBarPastTenThousand) {
  TEditorViewOptions view;
  view.InitPageEditorDefaults();
  TEditorMargin margin;
  const TFontMetrics font{12, 0, 6};
  const TEditorGeometry four = ComputeGeometry(view, margin, font, 9999, 800, 600);
  const TEditorGeometry five = ComputeGeometry(view, margin, font, 10000, 800, 600);
  EXPECT_EQ(four.LeftbarDigits, 4);
  EXPECT_EQ(five.LeftbarDigits, 5);
  EXPECT_EQ(five.LeftMargin - four.LeftMargin, font.AveCharWidth);
  EXPECT_EQ(ComputeGeometry(view, margin, font, 1'000'000'000, 800, 600).LeftbarDigits, 8);
}

TEST(FountainLifetimeTest, AnEditorOutlivesItsFountainAndAModeSwitch) {
  TTempDir dir;
  dir.Write("CPP.rsv", "Quotation='\r\nint\r\n");
  auto editor = std::make_unique<TEditor>();
  editor->Lines().SetTextStr("my $x = 'a';\r\nint y;\r\n");
  TEditorFountain view;
  {
    auto fountains = std::make_unique<TFountainSet>();
    for (const TEditMode& mode : BuiltInEditModes()) {
      TFountain* f = ApplyEditMode(mode, view, *fountains, dir.Path());
      editor->SetFountain(f);
      editor->KeyPress('z');
    }
    // Perl last but one: set it again, then let the whole set go.
    editor->SetFountain(&fountains->Perl);
    EXPECT_EQ(editor->Fountain(), &fountains->Perl);
  }
  EXPECT_EQ(editor->Fountain(), nullptr);
  editor->KeyPress('q');  // re-tokenizes with the null fountain
  editor.reset();
}

}  // namespace
}  // namespace nuv::test
