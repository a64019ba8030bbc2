// The settings store mapped onto the editor's properties.
#include "editor/view/EditorSettings.h"

#include "editor/Editor.h"
#include "editor/EditorViewOptions.h"
#include "fountain/EditorFountain.h"

namespace nuv {

namespace {

void SetGroup(TFountainColor& color, const TColorGroup& group) {
  color.BeginUpdate();
  color.SetColor(group.Color);
  color.SetBkColor(group.BkColor);
  color.SetStyle(group.Style);
  color.EndUpdate();
}

TColorGroup GroupOf(const TFountainColor& color) { return TColorGroup{color.Color(), color.BkColor(), color.Style()}; }

// The right-margin line is guide line 0.
TVerticalLine FirstLine(const TEditorViewOptions& view) {
  return view.VerticalLines.Items().empty() ? TVerticalLine{} : view.VerticalLines.Items().front();
}

}  // namespace

void ApplyView(const TnuvConfig& c, TEditorSettingsTarget t) {
  TEditorViewOptions& v = t.view;
  v.BeginUpdate();
  v.SetFontName(c.FontFace);
  v.SetFontSize(c.FontSize);
  v.ExMarks.TabMark.SetVisible(c.ShowTab);
  v.Marks.RetMark.SetVisible(c.ShowRet);
  v.Marks.EofMark.SetVisible(c.ShowEOF);
  v.ExMarks.SpaceMark.SetVisible(c.ShowSBSp);
  v.ExMarks.DBSpaceMark.SetVisible(c.ShowDBSp);
  v.Leftbar.SetVisible(c.ShowLineNo);
  v.Leftbar.SetShowNumberMode(c.LineNoMode == 0 ? TEditorShowNumberMode::nmLine : TEditorShowNumberMode::nmRow);
  TVerticalLine margin = FirstLine(v);
  margin.Visible = c.ShowMarginRight;
  margin.Position = c.MarginRightPos;
  v.VerticalLines.SetFirst(margin);
  v.Ruler.SetVisible(c.ShowRuler);
  v.Ruler.SetGaugeRange(c.RulerRange);
  v.Ruler.SetEdge(c.RulerEdge);
  v.Leftbar.SetEdge(c.RulerEdge);
  v.Marks.Underline.SetVisible(c.Underline);
  TEditor& e = t.editor;
  e.Margin().SetTop(c.MarginTop);
  e.Margin().SetLeft(c.MarginLeft);
  e.Margin().SetLine(c.MarginLine);
  e.Margin().SetCharacter(c.MarginChar);
  e.Caret().SetTabSpaceCount(c.TabSpace);
  e.Caret().SetAutoIndent(c.AutoIndent);
  e.Caret().SetTabIndent(c.TabIndent);
  v.Leftbar.SetZeroBase(c.ZeroBase);
  e.SetWordWrap(c.WordWrap);
  TEditorWrapOption& w = e.WrapOption();
  w.BeginUpdate();
  w.SetWrapByte(c.WrapByte);
  w.SetFollowPunctuation(c.FollowPunctuation);
  w.SetFollowRetMark(c.FollowRetMark);
  w.SetLeading(c.Leading);
  w.SetWordBreak(c.WordBreak);
  w.EndUpdate();
  v.EndUpdate();
}

void ApplyColors(const TnuvConfig& c, TEditorSettingsTarget t) {
  TEditorColors& colors = t.fountain.Colors();
  SetGroup(colors.Ank, c.Ank);
  colors.Symbol.BeginUpdate();
  colors.Symbol.SetColor(c.Ank.Color);
  colors.Symbol.SetBkColor(c.Ank.BkColor);
  colors.Symbol.EndUpdate();
  SetGroup(colors.DBCS, c.DBCS);
  SetGroup(colors.Comment, c.Comment);
  SetGroup(colors.Reserve(), c.Keyword);
  SetGroup(colors.Url, c.URL);
  SetGroup(colors.Mail, c.Mail);
  SetGroup(colors.Str, c.Str);
  SetGroup(colors.Int, c.Digit);
  colors.Select.BeginUpdate();
  colors.Select.SetColor(c.SelectColor);
  colors.Select.SetBkColor(c.SelectBkColor);
  colors.Select.EndUpdate();
  TEditorViewOptions& v = t.view;
  v.BeginUpdate();
  v.ExMarks.TabMark.SetColor(c.TabColor);
  v.Marks.RetMark.SetColor(c.RetColor);
  v.Marks.EofMark.SetColor(c.EOFColor);
  v.ExMarks.DBSpaceMark.SetColor(c.DBSpColor);
  v.ExMarks.SpaceMark.SetColor(c.SpColor);
  v.Ruler.SetColor(c.RulerColor);
  v.Ruler.SetBkColor(c.RulerBkColor);
  v.Ruler.SetMarkColor(c.RulerMarkColor);
  v.Leftbar.SetColor(c.LineNoColor);
  v.Leftbar.SetBkColor(c.LineNoBkColor);
  TVerticalLine margin = FirstLine(v);
  margin.Color = c.RightMarginColor;
  v.VerticalLines.SetFirst(margin);
  v.SetColor(c.EditBkColor);
  v.Marks.Underline.SetColor(c.UnderlineColor);
  v.ExMarks.FindMark.SetColor(c.FindMarkColor);
  v.EndUpdate();
}

void ApplyBrackets(const TnuvConfig& c, TEditorFountain& fountain) {
  TFountainBracketCollection& brackets = fountain.Brackets();
  brackets.BeginUpdate();
  brackets.Clear();
  for (const TBracketSlot& slot : c.Brackets)
    if (slot.InUse()) brackets.Add(slot.Str, slot.End, TFountainColor(slot.Color, slot.BkColor, slot.Style));
  brackets.EndUpdate();
}

void ReadColorsBack(TnuvConfig& c, TEditorSettingsTarget t) {
  TEditorColors& colors = t.fountain.Colors();
  c.Ank = GroupOf(colors.Ank);
  c.DBCS = GroupOf(colors.DBCS);
  c.Comment = GroupOf(colors.Comment);
  c.Keyword = GroupOf(colors.Reserve());
  c.URL = GroupOf(colors.Url);
  c.Mail = GroupOf(colors.Mail);
  c.Str = GroupOf(colors.Str);
  c.Digit = GroupOf(colors.Int);
  c.SelectColor = colors.Select.Color();
  c.SelectBkColor = colors.Select.BkColor();
  const TEditorViewOptions& v = t.view;
  c.TabColor = v.ExMarks.TabMark.Color();
  c.RetColor = v.Marks.RetMark.Color();
  c.EOFColor = v.Marks.EofMark.Color();
  c.DBSpColor = v.ExMarks.DBSpaceMark.Color();
  c.SpColor = v.ExMarks.SpaceMark.Color();
  c.RulerColor = v.Ruler.Color();
  c.RulerBkColor = v.Ruler.BkColor();
  c.RulerMarkColor = v.Ruler.MarkColor();
  c.LineNoColor = v.Leftbar.Color();
  c.LineNoBkColor = v.Leftbar.BkColor();
  c.RightMarginColor = FirstLine(v).Color;
  c.EditBkColor = v.Color();
  c.UnderlineColor = v.Marks.Underline.Color();
  c.FindMarkColor = v.ExMarks.FindMark.Color();
}

}  // namespace nuv
