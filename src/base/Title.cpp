// The title rule.
#include "base/Title.h"

#include "base/Sjis.h"

namespace nuv {

std::string DeriveTitle(std::string_view text) {
  return std::string(CutAtCharBoundary(TrimControl(CleanTitle(text)), kMaxTitleBytes));
}

std::string CleanTitle(std::string_view text) {
  const std::size_t end = text.find_first_of(std::string_view("\r\n\0", 3));
  return std::string(text.substr(0, end));
}

}  // namespace nuv
