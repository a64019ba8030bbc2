// nuvtool config: loads a settings file and prints every key as the settings
// store sees it (after defaults and checks), one "Section.Key=value" a line.
#include <cstdio>
#include <filesystem>

#include "base/Codec.h"
#include "base/FileIo.h"
#include "config/NuvConfig.h"
#include "tool/NuvTool.h"

namespace nuv::tool {

namespace {

int RunConfig(const std::vector<std::string>& argv) {
  TArgs args;
  if (!ParseArgs(argv, {}, {}, args)) return 2;
  if (args.positional.size() != 1) {
    Fail("config needs FILE");
    return 2;
  }
  // An absolute path, so that a file called nuv.ini in the working folder is
  // read and not the program folder's.
  std::error_code ec;
  const std::string file = std::filesystem::absolute(args.positional[0], ec).string();
  if (ec || !FileExists(file)) return Fail("cannot read " + args.positional[0] + ": no such file");
  TnuvConfig config;
  if (!config.Load(file)) return Fail("cannot read " + args.positional[0]);
  for (const TConfigEntry& e : config.Entries())
    std::printf("%s.%s=%s\n", e.section.c_str(), e.key.c_str(), Cp932ToUtf8(e.value).c_str());
  return 0;
}

}  // namespace

NUVTOOL_COMMAND(config, "config", "FILE", RunConfig);

}  // namespace nuv::tool
