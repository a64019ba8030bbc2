// Reading the window's settings keys.
#include "app/AppSettings.h"

#include "base/Codec.h"
#include "base/IniFile.h"

namespace nuv {

void TAppSettings::Load(const TIniFile& ini) {
  OpenLastFile = ini.ReadBool("Action", "OpenLastFile", OpenLastFile);
  LastFile = Cp932ToUtf8(ini.ReadString("Action", "LastFile", ""));
  ExpandAll = ini.ReadBool("Action", "ExpandAll", ExpandAll);
  PirkaCompatible = ini.ReadBool("Action", "PirkaCompatible", PirkaCompatible);
  AlwaysSave = ini.ReadBool("Action", "AlwaysSave", AlwaysSave);
  NoAskSave = ini.ReadBool("Action", "NoAskSave", NoAskSave);
  AskSaveDL = ini.ReadBool("Action", "AskSaveDL", AskSaveDL);
  TextSave = ini.ReadBool("Action", "TextSave", TextSave);
  TextSaveWithData = ini.ReadBool("Action", "TextSaveWithData", TextSaveWithData);
  UseTrash = ini.ReadBool("Action", "UseTrash", UseTrash);
  Backup = ini.ReadBool("Action", "Backup", Backup);
  ShowLabel1 = ini.ReadBool("Label", "ShowLabel1", ShowLabel1);
  ClearLabel1 = ini.ReadBool("Label", "ClearLabel1", ClearLabel1);
  ZeroBase = ini.ReadBool("EditView", "ZeroBase", ZeroBase);
  WordWrap = ini.ReadBool("EditView", "WordWrap", WordWrap);
  WrapRight = ini.ReadBool("EditView", "WrapRight", WrapRight);
  ShowLineNo = ini.ReadBool("EditView", "ShowLineNo", ShowLineNo);
  WrapByte = ini.ReadInteger("EditView", "WrapByte", WrapByte);
  if (WrapByte < 20 || WrapByte > 250) WrapByte = 80;
  Data = Cp932ToUtf8(ini.ReadString("Path", "Data", ""));
}

void TAppSettings::Save(TIniFile& ini) const {
  ini.WriteBool("Action", "OpenLastFile", OpenLastFile);
  ini.WriteString("Action", "LastFile", Utf8ToCp932(LastFile).value_or(std::string()));
  ini.WriteBool("Action", "PirkaCompatible", PirkaCompatible);
  ini.WriteBool("EditView", "ShowLineNo", ShowLineNo);
  ini.WriteInteger("EditView", "WrapByte", WrapByte);
}

TFormatOptions TAppSettings::FormatOptions() const {
  TFormatOptions o;
  o.TextSaveWithData = TextSaveWithData;
  o.PirkaCompatible = PirkaCompatible;
  o.ShowLabel1 = ShowLabel1;
  o.ClearLabel1 = ClearLabel1;
  return o;
}

TPageSwitchSettings TAppSettings::PageSwitchSettings() const {
  TPageSwitchSettings s;
  s.PirkaCompatible = PirkaCompatible;
  s.AlwaysSave = AlwaysSave;
  s.AskSaveDL = AskSaveDL;
  return s;
}

}  // namespace nuv
