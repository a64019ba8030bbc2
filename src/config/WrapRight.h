// The wrap width that makes rows end at the editor window's right edge, for
// the setting WrapRight (the width goes to the editor, never to WrapByte).
#pragma once

#include <cstdint>
#include <optional>

namespace nuv {

// Pixel sizes of the editor at the moment of a resize.
struct TWrapRightGeometry {
  int32_t editorWidth = 0;
  int32_t marginLeft = 0;      // Margin.Left
  int32_t scrollBarWidth = 0;  // the style's scroll-bar thickness
  int32_t charWidth = 0;       // the font's average character width
  int32_t marginChar = 0;      // Margin.Character
  bool lineNumbersShown = false;
  int32_t leftbarColumns = 0;  // Leftbar.Column
  int32_t leftbarLeftMargin = 0;
  int32_t leftbarRightMargin = 0;
};

// (width - left margin - scroll bar - line-number bar - 8) / (character width
// + character margin), within the editor's range 20..250; nullopt, so that
// nothing is set, when the divisor is 0 or less.
std::optional<int32_t> WrapRightWidth(const TWrapRightGeometry& g);

}  // namespace nuv
