// Message box text formatting.
#include "base/Prompts.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "base/FileIo.h"
#include "base/Sjis.h"

namespace nuv {

void ShowFileError(IPrompts& prompts, const std::string& sjisText) {
  if (const int error = LastFileError())
    prompts.ErrorWithReason(sjisText, FileErrorText(error));
  else
    prompts.Error(sjisText);
}

std::string FormatMessageText(const char* format, ...) {
  va_list args, copy;
  va_start(args, format);
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  if (n < 0) {
    va_end(copy);
    return std::string();
  }
  std::vector<char> buffer(static_cast<std::size_t>(n) + 1);
  std::vsnprintf(buffer.data(), buffer.size(), format, copy);
  va_end(copy);
  // The box text has a buffer of 1024 bytes: keep at most 1023 of them.
  return std::string(CutAtCharBoundary(std::string_view(buffer.data(), static_cast<std::size_t>(n)), 1023));
}

}  // namespace nuv
