// nuvtool tokens: prints each row's stored state and tokens in an edit mode,
// for tests, fuzzing and benchmarks.
#include <cstdio>

#include "base/FileIo.h"
#include "base/ProgramFolder.h"
#include "fountain/EditModes.h"
#include "fountain/TokenDump.h"
#include "tool/NuvTool.h"

namespace nuv::tool {

namespace {

int RunTokens(const std::vector<std::string>& argv) {
  TArgs args;
  if (!ParseArgs(argv, {"--wrap"}, {"--wrap"}, args)) return 2;
  if (args.positional.size() != 2) {
    Fail("tokens needs MODE and FILE");
    return 2;
  }
  const TEditMode* mode = FindEditMode(args.positional[0]);
  if (!mode) {
    Fail("unknown mode " + args.positional[0] + " (text, awk, cpp, delphi, html, cobol, perl, ruby, java)");
    return 2;
  }
  int wrap = 0;
  if (args.Has("--wrap")) {
    const std::string v = args.Value("--wrap");
    char* end = nullptr;
    const long n = std::strtol(v.c_str(), &end, 10);
    if (v.empty() || *end != '\0' || n < 20 || n > 250) {
      Fail("--wrap takes a width from 20 to 250");
      return 2;
    }
    wrap = static_cast<int>(n);
  }
  std::string text;
  if (ReadWholeFile(args.positional[1], text) != TReadResult::Ok) return FailFile("cannot read " + args.positional[1]);
  // The reserved-word files are beside the program, or bundled.
  std::string folder = ProgramFolder();
  if (!mode->ReserveFile.empty() && !FileExists(folder + "/" + mode->ReserveFile) && !ShareFolder().empty()) {
    folder = ShareFolder();
  }
  TFountainSet fountains;
  TEditorFountain view;
  view.InitPageEditorDefaults();
  TFountain* fountain = ApplyEditMode(*mode, view, fountains, folder);
  const std::string dump = DumpTokens(*fountain, text, wrap);
  std::fwrite(dump.data(), 1, dump.size(), stdout);
  return 0;
}

}  // namespace

NUVTOOL_COMMAND(tokens, "tokens", "MODE FILE [--wrap N]", RunTokens);

}  // namespace nuv::tool
