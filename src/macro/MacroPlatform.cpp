// Message box buttons and command-line splitting shared by the platform implementations.
#include "macro/MacroPlatform.h"

namespace nuv {

std::vector<int> MessageBoxButtons(int flags) {
  switch (flags & kMbButtonMask) {
    case kMbOkCancel: return {kIdOk, kIdCancel};
    case kMbAbortRetryIgnore: return {kIdAbort, kIdRetry, kIdIgnore};
    case kMbYesNoCancel: return {kIdYes, kIdNo, kIdCancel};
    case kMbYesNo: return {kIdYes, kIdNo};
    case kMbRetryCancel: return {kIdRetry, kIdCancel};
    default: return {kIdOk};
  }
}

int MessageBoxDefaultResult(int flags) {
  const std::vector<int> buttons = MessageBoxButtons(flags);
  const std::size_t which = static_cast<std::size_t>((flags & kMbDefButtonMask) >> 8);
  return buttons[which < buttons.size() ? which : 0];
}

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
