// The mode table, the user modes and the window's language fountains.
#include "fountain/EditModes.h"

#include "base/FixedText.h"

namespace nuv {

namespace {
NUV_FIXED_TEXT(kCapText, "テキストモード(&T)");
NUV_FIXED_TEXT(kCapAWK, "AWKモード(&A)");
NUV_FIXED_TEXT(kCapCpp, "C/C++モード(&C)");
NUV_FIXED_TEXT(kCapDelphi, "Delphiモード(&D)");
NUV_FIXED_TEXT(kCapHTML, "HTMLモード(&H)");
NUV_FIXED_TEXT(kCapCOBOL, "COBOLモード(&B)");
NUV_FIXED_TEXT(kCapPerl, "Perlモード(&P)");
NUV_FIXED_TEXT(kCapRuby, "Rubyモード(&R)");
NUV_FIXED_TEXT(kCapJava, "JAVAモード(&J)");
NUV_FIXED_TEXT(kBoxText, "テキスト");
NUV_FIXED_TEXT(kMode, "モード");
}  // namespace

const std::vector<TEditMode>& BuiltInEditModes() {
  static const std::vector<TEditMode> modes = {
      {TEditModeKind::Text, "acEMText", "text", kCapText(), kBoxText(), "TEXT.rsv", "\"", -1},
      {TEditModeKind::AWK, "acEMAWK", "awk", kCapAWK(), "AWK", "", "", -1},
      {TEditModeKind::Cpp, "acEMCPP", "cpp", kCapCpp(), "C/C++", "CPP.rsv", "\"", -1},
      {TEditModeKind::Delphi, "acEMDelphi", "delphi", kCapDelphi(), "Delphi", "Delphi.rsv", "'", -1},
      {TEditModeKind::HTML, "acEMHTML", "html", kCapHTML(), "HTML", "", "", -1},
      {TEditModeKind::COBOL, "acEMCOBOL", "cobol", kCapCOBOL(), "COBOL", "", "", -1},
      {TEditModeKind::Perl, "acEMPerl", "perl", kCapPerl(), "Perl", "", "", -1},
      {TEditModeKind::Ruby, "acEMRuby", "ruby", kCapRuby(), "Ruby", "", "", -1},
      {TEditModeKind::Java, "acEMJava", "java", kCapJava(), "JAVA", "", "", -1},
  };
  return modes;
}

std::vector<TEditMode> BuildEditModes(const std::array<TEditModeSlot, kEditModeSlots>& slots) {
  std::vector<TEditMode> modes = BuiltInEditModes();
  for (int i = 0; i < kEditModeSlots; ++i) {
    const TEditModeSlot& slot = slots[static_cast<std::size_t>(i)];
    if (slot.Name.empty()) continue;
    TEditMode m;
    m.Kind = TEditModeKind::User;
    m.Caption = slot.Accelerator.empty() ? slot.Name + kMode() : slot.Name + kMode() + "(&" + slot.Accelerator + ")";
    m.BoxEntry = slot.Name;
    m.ReserveFile = slot.File;
    m.Quotation.assign(1, '"');  // a literal here trips a false -Wrestrict of GCC 12
    m.UserSlot = i;
    modes.push_back(std::move(m));
  }
  return modes;
}

const TEditMode* FindEditMode(const std::string& toolName) {
  for (const TEditMode& m : BuiltInEditModes()) {
    if (m.ToolName == toolName) return &m;
  }
  return nullptr;
}

TFountainSet::TFountainSet() {
  const TFountainColor blue(clBlue, clNone, 0);
  AWK.Reserve().Assign(blue);
  AWK.Constant.Assign(blue);
  AWK.Comment.SetColor(clGreen);
  COBOL.Reserve().Assign(blue);
  COBOL.Comment.SetColor(clGreen);
  COBOL.Sequence.SetColor(clTeal);
  COBOL.Verb.Assign(TFountainColor(clNavy, clNone, fsBold));
  HTML.Mail.Assign(TFountainColor(clBlue, clNone, fsUnderline));
  HTML.Url.Assign(TFountainColor(clBlue, clNone, fsUnderline));
  HTML.Str.SetColor(clPurple);
  HTML.TagAttributeValue.SetColor(clPurple);
  for (TFountainColor* c : {&HTML.TagAttribute, &HTML.TagColor, &HTML.TagElement}) c->SetColor(clBlue);
  Perl.SetHereHtml(true);
}

TFountain* TFountainSet::ForKind(TEditModeKind kind) {
  switch (kind) {
    case TEditModeKind::AWK: return &AWK;
    case TEditModeKind::HTML: return &HTML;
    case TEditModeKind::COBOL: return &COBOL;
    case TEditModeKind::Perl: return &Perl;
    case TEditModeKind::Ruby: return &Ruby;
    case TEditModeKind::Java: return &Java;
    default: return nullptr;
  }
}

TFountain* ApplyEditMode(const TEditMode& mode, TEditorFountain& view, TFountainSet& fountains,
                         const std::string& folder) {
  if (TFountain* language = fountains.ForKind(mode.Kind)) return language;
  view.ChangeList().BeginUpdate();
  view.SetQuotation(mode.Quotation);
  view.SetCommenter("//");
  LoadReserveWordFile(folder + "/" + mode.ReserveFile, view);
  view.ChangeList().EndUpdate();
  return &view;
}

}  // namespace nuv
