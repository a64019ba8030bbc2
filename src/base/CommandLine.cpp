// Command-line splitting. Blanks and quotes are below 0x40, so no trail byte
// of a double-byte character is ever taken for one.
#include "base/CommandLine.h"

namespace nuv {

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> args;
  std::string current;
  bool inArg = false;
  bool quoted = false;
  for (std::size_t i = 0; i < commandLine.size(); ++i) {
    const char c = commandLine[i];
    if (c == '"') {
      inArg = true;
      if (quoted && i + 1 < commandLine.size() && commandLine[i + 1] == '"') {
        current.push_back('"');
        ++i;
      } else {
        quoted = !quoted;
      }
    } else if (!quoted && (c == ' ' || c == '\t')) {
      if (inArg) args.push_back(std::move(current));
      current.clear();
      inArg = false;
    } else {
      current.push_back(c);
      inArg = true;
    }
  }
  if (inArg) args.push_back(std::move(current));
  return args;
}

}  // namespace nuv
