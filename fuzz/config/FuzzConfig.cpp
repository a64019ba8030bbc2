// Fuzzes the settings store on top of the ini engine: any file loads into
// TnuvConfig with every value checked, saves into the same file, and the
// saved file loads back to the same settings. (One round trip per input: each
// lookup of the ini engine scans the file, so a load costs keys x lines.)
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/IniFile.h"
#include "config/ConfigKeys.h"
#include "config/NuvConfig.h"

namespace {

using namespace nuv;

void Check(bool ok) {
  if (!ok) std::abort();
}

// What a save and a load make of the bracket slots: only complete slots are
// written, and without a "<node@" slot 8 none of them is read back.
TnuvConfig AsReadBack(TnuvConfig config) {
  static const TnuvConfig defaults("/nonexistent");
  const bool kept = config.Brackets[7].InUse() && config.Brackets[7].Str == kBracketsMarker;
  for (std::size_t i = 0; i < config.Brackets.size(); ++i)
    if (!kept || !config.Brackets[i].InUse()) config.Brackets[i] = defaults.Brackets[i];
  return config;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TIniFile ini;
  ini.LoadFromBytes(bytes);
  TnuvConfig first("/nonexistent");
  first.ReadFrom(ini);

  Check(first.Tools.size() <= static_cast<std::size_t>(kMaxTools));
  Check(first.WrapByte >= kWrapByteMin && first.WrapByte <= kWrapByteMax);
  Check(first.TabSpace >= 2 && first.TabSpace <= 8 && first.TabSpace % 2 == 0);
  Check(first.RulerRange == 8 || first.RulerRange == 10);
  Check(first.ExecLinkMode >= 0 && first.ExecLinkMode <= 2);
  Check(IsValidColor(first.Ank.Color) && IsValidColor(first.TreeBkColor) && IsValidColor(first.Brackets[3].BkColor));
  TnuvConfig validated = first;
  validated.Validate();
  Check(validated == first);

  // Values read from a file never hold a line break, so every one is written.
  Check(first.WriteTo(ini));
  TIniFile saved;
  saved.LoadFromBytes(ini.ToBytes());
  TnuvConfig second("/nonexistent");
  second.ReadFrom(saved);
  Check(second == AsReadBack(first));
  return 0;
}
