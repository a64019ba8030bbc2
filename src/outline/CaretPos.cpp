// Caret clamping.
#include "outline/CaretPos.h"

#include "base/Sjis.h"

namespace nuv {

int ClampCaretPos(std::string_view text, int64_t pos) {
  if (pos <= 0) return 0;
  if (static_cast<uint64_t>(pos) >= text.size()) return static_cast<int>(text.size());
  auto at = static_cast<std::size_t>(pos);
  at = CharStart(text, at);
  if (at > 0 && text[at] == '\n' && text[at - 1] == '\r') --at;
  return static_cast<int>(at);
}

}  // namespace nuv
