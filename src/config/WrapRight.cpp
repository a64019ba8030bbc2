// The window-edge wrap width.
#include "config/WrapRight.h"

#include <algorithm>

#include "config/ConfigKeys.h"

namespace nuv {

std::optional<int32_t> WrapRightWidth(const TWrapRightGeometry& g) {
  // 64-bit sums: no window is that wide, but a broken metric must not overflow.
  const int64_t divisor = int64_t{g.charWidth} + g.marginChar;
  if (divisor <= 0) return std::nullopt;
  const int64_t leftbar =
      g.lineNumbersShown ? int64_t{g.charWidth} * g.leftbarColumns + g.leftbarLeftMargin + g.leftbarRightMargin : 0;
  const int64_t room = int64_t{g.editorWidth} - g.marginLeft - g.scrollBarWidth - leftbar - 8;
  return static_cast<int32_t>(std::clamp<int64_t>(room / divisor, kWrapByteMin, kWrapByteMax));
}

}  // namespace nuv
