// The settings the window reads until the full settings store is wired in:
// the keys it needs, with their defaults, read from and written to nuv.ini.
#pragma once

#include <string>

#include "outline/FormatOptions.h"
#include "outline/PageSwitch.h"

namespace nuv {

class TIniFile;

struct TAppSettings {
  // Action
  bool OpenLastFile = true;
  std::string LastFile;  // native path
  bool ExpandAll = true;
  bool PirkaCompatible = false;
  bool AlwaysSave = false;
  bool NoAskSave = false;
  bool AskSaveDL = false;
  bool TextSave = false;
  bool TextSaveWithData = false;
  bool UseTrash = true;
  bool Backup = false;
  // Label
  bool ShowLabel1 = false;
  bool ClearLabel1 = false;
  // EditView
  bool ZeroBase = false;
  bool WordWrap = true;
  bool WrapRight = true;
  bool ShowLineNo = true;
  int WrapByte = 80;
  // Path
  std::string Data;  // native path of the data folder

  void Load(const TIniFile& ini);
  void Save(TIniFile& ini) const;
  TFormatOptions FormatOptions() const;
  TPageSwitchSettings PageSwitchSettings() const;
};

}  // namespace nuv
