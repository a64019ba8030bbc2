// Copies the outline core's switches out of the settings.
#include "config/OutlineSettings.h"

#include "config/NuvConfig.h"

namespace nuv {

TFormatOptions FormatOptionsOf(const TnuvConfig& config) {
  TFormatOptions options;
  options.TextSaveWithData = config.TextSaveWithData;
  options.PirkaCompatible = config.PirkaCompatible;
  options.ShowLabel1 = config.ShowLabel1;
  options.ClearLabel1 = config.ClearLabel1;
  return options;
}

TPageSwitchSettings PageSwitchSettingsOf(const TnuvConfig& config) {
  TPageSwitchSettings settings;
  settings.PirkaCompatible = config.PirkaCompatible;
  settings.AlwaysSave = config.AlwaysSave;
  settings.AskSaveDL = config.AskSaveDL;
  return settings;
}

TDeleteSettings DeleteSettingsOf(const TnuvConfig& config) {
  TDeleteSettings settings;
  settings.UseTrash = config.UseTrash;
  settings.ShowLabel1 = config.ShowLabel1;
  settings.ClearLabel1 = config.ClearLabel1;
  return settings;
}

}  // namespace nuv
